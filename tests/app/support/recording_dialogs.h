// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/state/dialogs.h"

#include <QList>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelvor::testing {

// Answers every dialog with what the test set beforehand, records what each one offered, and
// never prints on paper: jobs always go to a PDF file.
class RecordingDialogs : public app::Dialogs {
public:
    // The answers; an empty one is the user cancelling.
    std::optional<QString> datafile;
    std::optional<QString> bitmapFile;
    std::optional<QColor> colour;
    std::optional<QString> pdfFile;
    bool printerSetupAccepted = true;
    // Runs while the PDF question is open, as events would.
    std::function<void()> whilePdfAsked;

    // What was asked.
    QStringList offeredBitmapPaths;
    QStringList suggestedPdfFiles;
    QList<QColor> offeredColours;
    int datafileQuestions = 0;
    QStringList offeredDatafiles; // the folder and proposed name of each File/Open
    int printerSetups = 0;
    int beeps = 0;
    std::vector<std::filesystem::path> openedDocuments;

    // The files chosen to read and to write, the example picked, the node roles picked.
    std::optional<QString> fileToRead;
    std::optional<QString> fileToWrite;
    std::optional<int> example;
    std::optional<app::SpiceNodeRoles> nodeRoles;
    // What the file dialogs were for (captions) and the paths they suggested to write.
    QStringList fileCaptions;
    QStringList suggestedWritePaths;
    std::vector<std::string> offeredExampleFiles;
    std::vector<std::string> offeredNodes;
    app::SpiceNodeRoles proposedNodes;
    QString longText;
    // The step chosen in Step...; the lines it offered.
    std::optional<StepRequest> step;
    std::vector<SteppableLine> offeredStepLines;
    // The range typed into a range question (none: cancelled), and the ranges proposed.
    std::optional<std::pair<QString, QString>> frequencyRange;
    QStringList proposedRanges;

    // The program name typed into the New Shell box; the proposals it showed.
    std::optional<QString> programName;
    QStringList proposedProgramNames;
    // Which programs are installed and whether starting one works; the programs started.
    QStringList installedPrograms;
    bool programsStart = true;
    struct StartedProgram {
        QString program;
        QStringList arguments;
        QString folder;
    };
    std::vector<StartedProgram> startedPrograms;

    std::optional<QString> ChooseDatafile(QWidget*, const QString& folder,
                                          const QString& name) override {
        ++datafileQuestions;
        offeredDatafiles << folder + '/' + name;
        return datafile;
    }
    std::optional<QString> ChooseBitmapFile(QWidget*, const QString& proposedPath) override {
        offeredBitmapPaths << proposedPath;
        return bitmapFile;
    }
    std::optional<QString> ChooseFileToRead(QWidget*, const app::FileKind& kind,
                                            const QString&) override {
        fileCaptions << kind.caption;
        return fileToRead;
    }
    std::optional<QString> ChooseFileToWrite(QWidget*, const app::FileKind& kind,
                                             const QString& suggestedPath) override {
        fileCaptions << kind.caption;
        suggestedWritePaths << suggestedPath;
        return fileToWrite;
    }
    std::optional<int> ChooseExample(QWidget*, const std::vector<ExampleEntry>& examples) override {
        for (const ExampleEntry& entry : examples) {
            offeredExampleFiles.push_back(entry.fileName);
        }
        return example;
    }
    std::optional<app::SpiceNodeRoles>
    ChooseSpiceNodes(QWidget*, const std::vector<std::string>& nodes,
                     const app::SpiceNodeRoles& proposed) override {
        offeredNodes = nodes;
        proposedNodes = proposed;
        return nodeRoles;
    }
    void ShowLongText(QWidget*, const QString&, const QString& text) override { longText = text; }
    std::optional<std::pair<QString, QString>>
    AskFrequencyRange(QWidget*, const QString&, const QString& start, const QString& end) override {
        proposedRanges << start + " to " + end;
        return frequencyRange;
    }
    std::optional<StepRequest> ChooseStep(QWidget*,
                                          const std::vector<SteppableLine>& lines) override {
        offeredStepLines = lines;
        return step;
    }
    QColor ChooseColour(QWidget*, const QColor& current) override {
        offeredColours << current;
        return colour.value_or(current);
    }
    bool PrinterInstalled() override { return false; }
    bool SetUpPrinter(QPrinter&, QWidget*) override {
        ++printerSetups;
        return printerSetupAccepted;
    }
    std::optional<QString> ChoosePdfFile(QWidget*, const QString& suggestedFile) override {
        suggestedPdfFiles << suggestedFile;
        if (whilePdfAsked) {
            whilePdfAsked();
        }
        return pdfFile;
    }
    void OpenDocument(const std::filesystem::path& path) override {
        openedDocuments.push_back(path);
    }
    void Beep() override { ++beeps; }
    std::optional<QString> AskProgramName(QWidget*, const QString& proposed) override {
        proposedProgramNames << proposed;
        return programName;
    }
    bool StartProgram(const QString& program, const QStringList& arguments,
                      const QString& folder) override {
        startedPrograms.push_back({program, arguments, folder});
        return programsStart;
    }
    bool ProgramInstalled(const QString& program) override {
        return installedPrograms.contains(program);
    }
};

} // namespace kelvor::testing
