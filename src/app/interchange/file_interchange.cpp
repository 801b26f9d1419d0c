#include "app/interchange/file_interchange.h"

#include "analysis/frequency_scale.h"
#include "app/common/file_paths.h"
#include "app/common/qt_text.h"
#include "app/interchange/example_chooser_window.h"
#include "app/shell/app_state.h"
#include "circuit/datafile_reader.h"
#include "files/file_io.h"
#include "interchange/spice_export.h"
#include "interchange/spice_import.h"
#include "kelvor_error.h"
#include "text/eng_value.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace kelvor::app {
namespace {

// File / Open keeps longer names only cut, and finds no file under a cut name.
constexpr int kLongestDatafileName = 28;

std::filesystem::path PathOf(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString QtPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray(path.c_str()));
}

std::optional<QString> SaveDialog(QWidget* owner, const QString& title, const QString& filter,
                                  const QString& suffix, const QString& suggested) {
    QFileDialog dialog(owner, title, suggested, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

void ShowProblemsWindow(QWidget* owner, const QString& problems) {
    QDialog window(owner);
    window.setWindowTitle("   Import SPICE Netlist");
    auto* layout = new QVBoxLayout(&window);
    auto* text = new QPlainTextEdit(problems, &window);
    text->setReadOnly(true);
    text->setMinimumSize(640, 300);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &window);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    layout->addWidget(buttons);
    window.exec();
}

// The range of the amplitude graph as the settings keep it; the default range when those
// values do not make one.
SpiceExportOptions SweepOfTheAmplitudeGraph(const Settings& settings) {
    SpiceExportOptions options;
    bool ok = true;
    const long double start = ParseEngValue(settings.FSStr, ok);
    const long double end = ParseEngValue(settings.FFStr, ok);
    const bool userRangeOk = ok && start > 0 && end > start;
    if ((settings.FCode >= 1 && settings.FCode <= kHighestFCode) ||
        (settings.FCode == 0 && userRangeOk)) {
        const FrequencyScale scale = SetupFrequencyScale(settings.FCode, start, end);
        options.acFrom = ColumnFrequency(scale, kFirstSweepColumn);
        options.acTo = ColumnFrequency(scale, kLastSweepColumn);
    }
    return options;
}

bool MayReplace(AppState& state, const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return true;
    }
    return state.messages.Ask("\r\n   " + path.filename().string() +
                                  " already exists.   \r\n\r\n   Replace it?   ",
                              QuestionButtons::YesNo) == Answer::Yes;
}

} // namespace

InterchangeDialogs RealInterchangeDialogs() {
    InterchangeDialogs dialogs;
    dialogs.chooseExample = [](QWidget* owner, const std::vector<ExampleEntry>& examples) {
        TFormExamples window(examples, owner);
        window.exec();
        return window.Chosen();
    };
    dialogs.chooseNetlistToSave = [](QWidget* owner, const QString& suggested) {
        return SaveDialog(owner, "Export SPICE Netlist", "SPICE netlists (*.cir *.net *.sp)", "cir",
                          suggested);
    };
    dialogs.chooseNetlistToOpen = [](QWidget* owner,
                                     const QString& folder) -> std::optional<QString> {
        const QString path = QFileDialog::getOpenFileName(
            owner, "Import SPICE Netlist", folder,
            "SPICE netlists (*.cir *.net *.sp *.spi *.ckt);;All files (*)");
        return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
    };
    dialogs.chooseNodes =
        [](QWidget* owner, const std::vector<std::string>& nodes) -> std::optional<SpiceNodeRoles> {
        TFormSpiceNodes window(nodes, owner);
        if (window.exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        return window.Roles();
    };
    // The replace question comes from the command, once, for every way of choosing.
    dialogs.chooseDatafileToSave = [](QWidget* owner, const QString& suggested) {
        QFileDialog dialog(owner, "Save the Imported Datafile", suggested, "Datafiles (*.dat)");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDefaultSuffix("dat");
        dialog.selectFile(suggested);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? std::optional<QString>(dialog.selectedFiles().front())
                   : std::nullopt;
    };
    dialogs.showImportProblems = ShowProblemsWindow;
    return dialogs;
}

void OpenExampleCommand(AppState& state, QWidget* owner, const InterchangeDialogs& dialogs,
                        const OpenDatafile& open) {
    try {
        const std::filesystem::path folder = FindExamplesFolder();
        if (folder.empty()) {
            state.messages.ShowError("\r\n   The example Datafiles are not installed.   ");
            return;
        }
        const std::vector<ExampleEntry> examples = ReadExampleCatalogue(folder);
        const std::optional<int> chosen = dialogs.chooseExample(owner, examples);
        if (!chosen) {
            return;
        }
        const ExampleEntry& example = examples.at(static_cast<std::size_t>(*chosen));
        const std::filesystem::path target = state.File(example.fileName);
        // A copy made before, unchanged, is simply opened again.
        std::error_code error;
        const bool copiedBefore = std::filesystem::is_regular_file(target, error) &&
                                  ReadWholeFile(target) == ReadWholeFile(folder / example.fileName);
        if (!copiedBefore) {
            if (!MayReplace(state, target)) {
                return;
            }
            CopyExample(folder, example, state.workingFolder);
        }
        open(PathToQt(example.fileName));
    } catch (const KelvorError& error) {
        state.messages.ShowError(error.what());
    }
}

void ExportSpiceNetlistCommand(AppState& state, QWidget* owner, const InterchangeDialogs& dialogs) {
    try {
        const std::string datafile = ReadWholeFile(state.DatafilePath());
        CircuitState parsed;
        if (!ParseDatafileText(datafile, parsed, state.shell.TodayText).ok) {
            state.messages.ShowWarning("\r\nCannot Run  -  Error in Datafile  ");
            return;
        }
        const std::string netlist = WriteSpiceNetlist(state.shell.DatafileName, datafile,
                                                      SweepOfTheAmplitudeGraph(state.settings));
        const std::filesystem::path suggested = state.DatafilePath().replace_extension(".cir");
        const std::optional<QString> target = dialogs.chooseNetlistToSave(owner, QtPath(suggested));
        if (target) {
            WriteFileAtomically(PathOf(*target), netlist);
        }
    } catch (const KelvorError& error) {
        state.messages.ShowError(error.what());
    }
}

void ImportSpiceNetlistCommand(AppState& state, QWidget* owner, const InterchangeDialogs& dialogs,
                               const OpenDatafile& open) {
    try {
        const std::optional<QString> source =
            dialogs.chooseNetlistToOpen(owner, QtPath(state.workingFolder));
        if (!source) {
            return;
        }
        const std::filesystem::path deckPath = PathOf(*source);
        const SpiceDeck deck = ReadSpiceDeck(ReadWholeFile(deckPath));
        const std::vector<std::string> nodes = CircuitNodeNames(deck);
        if (nodes.size() < 3) {
            state.messages.ShowWarning("\r\n   " + deckPath.filename().string() +
                                       " has fewer than 3 nodes to import.   ");
            return;
        }
        const std::optional<SpiceNodeRoles> roles = dialogs.chooseNodes(owner, nodes);
        if (!roles) {
            return;
        }
        SpiceImportOptions options{roles->input, roles->output, roles->common,
                                   deckPath.filename().string(), state.shell.TodayText};
        std::string datafile;
        try {
            datafile = ImportSpiceDeck(deck, options);
        } catch (const KelvorError& problems) {
            dialogs.showImportProblems(owner, ShownText(problems.what()));
            return;
        }
        // A Datafile lives in the working folder, named without a folder, as File / Open has it.
        std::string suggested = deckPath.stem().string() + ".DAT";
        const std::optional<QString> target =
            dialogs.chooseDatafileToSave(owner, QtPath(state.File(suggested)));
        if (!target) {
            return;
        }
        QString name = QFileInfo(*target).fileName().replace(' ', '_');
        if (name.size() > kLongestDatafileName) {
            state.messages.ShowWarning("\r\n   Filename too long - 24 chars max.    ");
            return;
        }
        const std::filesystem::path path = state.workingFolder / PathOf(name);
        if (!MayReplace(state, path)) {
            return;
        }
        WriteFileAtomically(path, datafile);
        open(name);
    } catch (const KelvorError& error) {
        state.messages.ShowError(error.what());
    }
}

} // namespace kelvor::app
