// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/state/spice_node_roles.h"
#include "examples/example_catalogue.h"
#include "stepping/stepped_circuits.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QPrinter;
class QWidget;

namespace kelvor::app {

// What a file dialog asks for: its caption, its filter ("Datafiles (*.dat)") and the suffix a
// name typed without one gets.
struct FileKind {
    QString caption;
    QString filter;
    QString suffix;
};

// Every standard dialog and every hand-over to another program goes through here, beside the
// message interface, so that tests answer them without a modal dialog or a desktop.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The Datafile to open, or a new name to create one; nullopt when cancelled.
    virtual std::optional<QString> ChooseDatafile(QWidget* owner, const QString& folder,
                                                  const QString& name) = 0;
    // The bitmap file that Save As writes; the caller asks its own overwrite question.
    virtual std::optional<QString> ChooseBitmapFile(QWidget* owner,
                                                    const QString& proposedPath) = 0;
    // A file to read, starting in the folder; nullopt when cancelled.
    virtual std::optional<QString> ChooseFileToRead(QWidget* owner, const FileKind& kind,
                                                    const QString& folder) = 0;
    // A file to write; the caller asks its own question before replacing one.
    virtual std::optional<QString> ChooseFileToWrite(QWidget* owner, const FileKind& kind,
                                                     const QString& suggestedPath) = 0;
    // Returns the colour the dialog holds when it closes: current when the user cancels.
    virtual QColor ChooseColour(QWidget* owner, const QColor& current) = 0;

    // File / Open Example: the index of the chosen example; nullopt when cancelled.
    virtual std::optional<int> ChooseExample(QWidget* owner,
                                             const std::vector<ExampleEntry>& examples) = 0;
    // The input, output and common node of a netlist being imported, starting from the
    // proposed ones; nullopt when cancelled.
    virtual std::optional<SpiceNodeRoles> ChooseSpiceNodes(QWidget* owner,
                                                           const std::vector<std::string>& nodes,
                                                           const SpiceNodeRoles& proposed) = 0;
    // A text too long for a message box, read in a window of its own.
    virtual void ShowLongText(QWidget* owner, const QString& title, const QString& text) = 0;
    // A start and an end frequency as typed, the boxes holding the proposed ones at first;
    // nullopt when cancelled.
    virtual std::optional<std::pair<QString, QString>> AskFrequencyRange(QWidget* owner,
                                                                         const QString& caption,
                                                                         const QString& start,
                                                                         const QString& end) = 0;
    // The analyser's Step...: which value of which line, and its values; nullopt when cancelled.
    virtual std::optional<StepRequest> ChooseStep(QWidget* owner,
                                                  const std::vector<SteppableLine>& lines) = 0;

    // Whether jobs can go to an installed printer; otherwise every job goes to a PDF file.
    virtual bool PrinterInstalled() = 0;
    // The printer setup of an installed printer; false when cancelled.
    virtual bool SetUpPrinter(QPrinter& printer, QWidget* owner) = 0;
    // The PDF file a job goes to (suggestedFile is a full path); nullopt when cancelled.
    virtual std::optional<QString> ChoosePdfFile(QWidget* owner, const QString& suggestedFile) = 0;

    // Hands a document to the desktop's viewer; a desktop that cannot open it says so itself.
    virtual void OpenDocument(const std::filesystem::path& path) = 0;
    virtual void Beep() = 0;

    // The input box of "New &Shell", holding the proposed text; nullopt when cancelled.
    virtual std::optional<QString> AskProgramName(QWidget* owner, const QString& proposed) = 0;
    // Starts a program in the folder and returns at once; false when it cannot be started.
    virtual bool StartProgram(const QString& program, const QStringList& arguments,
                              const QString& folder) = 0;
    // Whether a program of that name is on the search path.
    virtual bool ProgramInstalled(const QString& program) = 0;
};

} // namespace kelvor::app
