// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/state/dialogs.h"

namespace kelvor::app {

// The real dialogs, printers and desktop.
class DesktopDialogs : public Dialogs {
public:
    std::optional<QString> ChooseDatafile(QWidget* owner, const QString& folder,
                                          const QString& name) override;
    std::optional<QString> ChooseBitmapFile(QWidget* owner, const QString& proposedPath) override;
    std::optional<QString> ChooseFileToRead(QWidget* owner, const FileKind& kind,
                                            const QString& folder) override;
    std::optional<QString> ChooseFileToWrite(QWidget* owner, const FileKind& kind,
                                             const QString& suggestedPath) override;
    QColor ChooseColour(QWidget* owner, const QColor& current) override;
    std::optional<int> ChooseExample(QWidget* owner,
                                     const std::vector<ExampleEntry>& examples) override;
    std::optional<SpiceNodeRoles> ChooseSpiceNodes(QWidget* owner,
                                                   const std::vector<std::string>& nodes,
                                                   const SpiceNodeRoles& proposed) override;
    void ShowLongText(QWidget* owner, const QString& title, const QString& text) override;
    std::optional<StepRequest> ChooseStep(QWidget* owner,
                                          const std::vector<SteppableLine>& lines) override;
    std::optional<std::pair<QString, QString>> AskFrequencyRange(QWidget* owner,
                                                                 const QString& caption,
                                                                 const QString& start,
                                                                 const QString& end) override;
    bool PrinterInstalled() override;
    bool SetUpPrinter(QPrinter& printer, QWidget* owner) override;
    std::optional<QString> ChoosePdfFile(QWidget* owner, const QString& suggestedFile) override;
    void OpenDocument(const std::filesystem::path& path) override;
    void Beep() override;
    std::optional<QString> AskProgramName(QWidget* owner, const QString& proposed) override;
    bool StartProgram(const QString& program, const QStringList& arguments,
                      const QString& folder) override;
    bool ProgramInstalled(const QString& program) override;
};

} // namespace kelvor::app
