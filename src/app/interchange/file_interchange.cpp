// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/interchange/file_interchange.h"

#include "analysis/frequency_scale.h"
#include "app/common/file_paths.h"
#include "app/common/qt_text.h"
#include "app/common/replace_question.h"
#include "app/shell/app_state.h"
#include "app/shell/dialogs.h"
#include "circuit/datafile_reader.h"
#include "circuit/datafile_text.h"
#include "files/file_io.h"
#include "interchange/spice_export.h"
#include "interchange/spice_import.h"
#include "kelvor_error.h"
#include "text/eng_value.h"

#include <QFileInfo>

namespace kelvor::app {
namespace {

const FileKind kNetlistToWrite{"Export SPICE Netlist", "SPICE netlists (*.cir *.net *.sp)", "cir"};
const FileKind kNetlistToRead{"Import SPICE Netlist",
                              "SPICE netlists (*.cir *.net *.sp *.spi *.ckt);;All files (*)", ""};
const FileKind kImportedDatafile{"Save the Imported Datafile", "Datafiles (*.dat)", "dat"};

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

} // namespace

void OpenExampleCommand(AppState& state, QWidget* owner, const OpenDatafile& open) {
    try {
        const std::filesystem::path folder = FindExamplesFolder();
        if (folder.empty()) {
            state.messages.ShowError("\r\n   The example Datafiles are not installed.   ");
            return;
        }
        const std::vector<ExampleEntry> examples = ReadExampleCatalogue(folder);
        const std::optional<int> chosen = state.dialogs.ChooseExample(owner, examples);
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
            if (!MayReplaceFile(state.messages, target)) {
                return;
            }
            CopyExample(folder, example, state.workingFolder);
        }
        open(PathToQt(example.fileName));
    } catch (const KelvorError& error) {
        state.messages.ShowError(error.what());
    }
}

void ExportSpiceNetlistCommand(AppState& state, QWidget* owner) {
    try {
        const std::string datafile = ReadWholeFile(state.DatafilePath());
        CircuitState parsed;
        if (!ParseDatafileText(datafile, parsed, state.shell.TodayText).ok) {
            state.messages.ShowWarning(kDatafileErrorsWarning);
            return;
        }
        const std::string netlist = WriteSpiceNetlist(state.shell.DatafileName, datafile,
                                                      SweepOfTheAmplitudeGraph(state.settings));
        const std::filesystem::path suggested = state.DatafilePath().replace_extension(".cir");
        const std::optional<QString> target =
            state.dialogs.ChooseFileToWrite(owner, kNetlistToWrite, PathToQt(suggested));
        if (target && MayReplaceFile(state.messages, PathFromQt(*target))) {
            WriteFileAtomically(PathFromQt(*target), netlist);
        }
    } catch (const KelvorError& error) {
        state.messages.ShowError(error.what());
    }
}

void ImportSpiceNetlistCommand(AppState& state, QWidget* owner, const OpenDatafile& open) {
    try {
        const std::optional<QString> source =
            state.dialogs.ChooseFileToRead(owner, kNetlistToRead, PathToQt(state.workingFolder));
        if (!source) {
            return;
        }
        const std::filesystem::path deckPath = PathFromQt(*source);
        const SpiceDeck deck = ReadSpiceDeck(ReadWholeFile(deckPath));
        const std::vector<std::string> nodes = CircuitNodeNames(deck);
        if (nodes.size() < 3) {
            state.messages.ShowWarning("\r\n   " + deckPath.filename().string() +
                                       " has fewer than 3 nodes to import.   ");
            return;
        }
        const std::optional<SpiceNodeRoles> roles = state.dialogs.ChooseSpiceNodes(owner, nodes);
        if (!roles) {
            return;
        }
        SpiceImportOptions options{roles->input, roles->output, roles->common,
                                   deckPath.filename().string(), state.shell.TodayText};
        std::string datafile;
        try {
            datafile = ImportSpiceDeck(deck, options);
        } catch (const KelvorError& problems) {
            state.dialogs.ShowLongText(owner, "   Import SPICE Netlist",
                                       ShownText(problems.what()));
            return;
        }
        // A Datafile lives in the working folder, named without a folder, as File / Open has it.
        std::string suggested = deckPath.stem().string() + ".DAT";
        const std::optional<QString> target = state.dialogs.ChooseFileToWrite(
            owner, kImportedDatafile, PathToQt(state.File(suggested)));
        if (!target) {
            return;
        }
        QString name = QFileInfo(*target).fileName().replace(' ', '_');
        // File / Open keeps longer names only cut, and finds no file under a cut name.
        if (PathFromQt(name).string().size() > kLongestDatafileName) {
            state.messages.ShowWarning(kDatafileNameTooLong);
            return;
        }
        const std::filesystem::path path = state.workingFolder / PathFromQt(name);
        if (!MayReplaceFile(state.messages, path)) {
            return;
        }
        WriteFileAtomically(path, datafile);
        open(name);
    } catch (const KelvorError& error) {
        state.messages.ShowError(error.what());
    }
}

} // namespace kelvor::app
