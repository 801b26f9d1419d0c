// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/interchange/file_interchange.h"

#include "analysis/frequency_scale.h"
#include "app/common/file_paths.h"
#include "app/common/qt_text.h"
#include "app/common/replace_question.h"
#include "app/state/app_state.h"
#include "app/state/dialogs.h"
#include "bode/analyser_range_file.h"
#include "bode/bode_grid.h"
#include "bode/significant_format.h"
#include "circuit/datafile_reader.h"
#include "circuit/datafile_text.h"
#include "files/file_io.h"
#include "interchange/spice_export.h"
#include "interchange/spice_fidelity.h"
#include "interchange/spice_import.h"
#include "kelvor_error.h"
#include "solver/loaded_datafile.h"
#include "text/eng_value.h"
#include "text/short_eng_text.h"

#include <QFileInfo>
#include <algorithm>

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

void ShowRefusal(AppState& state, QWidget* owner, const SpiceImportRefused& problems) {
    state.dialogs.ShowLongText(owner, "   Import SPICE Netlist", ShownText(problems.what()));
}

// Enough lines for a message box; the rest is counted.
constexpr std::size_t kMostNotesShown = 20;

// What the Datafile leaves out or changes and how far its response lies from the deck's, for
// the user to confirm before anything is written.
std::string ImportSummary(const SpiceImport& imported, const SpiceFidelity& fidelity) {
    std::string text = "\r\n   The Datafile is ready to be written.   \r\n";
    for (std::size_t i = 0; i < imported.notes.size() && i < kMostNotesShown; ++i) {
        text += "\r\n   " + imported.notes[i];
    }
    if (imported.notes.size() > kMostNotesShown) {
        text +=
            "\r\n   and " + std::to_string(imported.notes.size() - kMostNotesShown) + " more notes";
    }
    text += "\r\n\r\n   " + FidelityLine(fidelity);
    if (FidelityWarns(fidelity)) {
        text += "\r\n   Warning: " + std::string(kFidelityWarning) + ".";
    }
    return text + "\r\n";
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
        // The analyser opens the example at the range its index gives.
        if (example.viewFrom > 0 && example.viewTo > example.viewFrom) {
            WriteAnalyserRange(target, {ShortEngText(example.viewFrom),
                                        ShortEngText(example.viewTo), kDefaultPointsPerDecade});
        }
        open(PathToQt(example.fileName));
    } catch (const KelvorError& error) {
        state.messages.ShowError(error.what());
    }
}

void ExportSpiceNetlistCommand(AppState& state, QWidget* owner) {
    try {
        const LoadedDatafile datafile = LoadDatafile(state.DatafilePath(), state.shell.TodayText);
        if (!datafile.ok) {
            state.messages.ShowWarning(kDatafileErrorsWarning);
            return;
        }
        // The range the analyser keeps for this Datafile is proposed, else the amplitude
        // graph's.
        SpiceExportOptions options = SweepOfTheAmplitudeGraph(state.settings);
        AnalyserRange proposed{ShortEngText(options.acFrom), ShortEngText(options.acTo), 0};
        if (const auto kept = ReadAnalyserRange(state.DatafilePath())) {
            proposed = *kept;
        }
        const auto typed = state.dialogs.AskFrequencyRange(
            owner, "Export SPICE Netlist: the .ac range", ToQt(proposed.start), ToQt(proposed.end));
        if (!typed) {
            return;
        }
        const FrequencyRangeReading reading = ReadFrequencyRange(
            FromQt(typed->first), FromQt(typed->second), "Start (Hz)", "End (Hz)");
        if (!reading.range) {
            state.messages.ShowError(reading.problem);
            return;
        }
        options.acFrom = reading.range->start;
        options.acTo = reading.range->end;
        const std::string netlist =
            WriteSpiceNetlist(state.shell.DatafileName, datafile.bytes, options);
        const std::filesystem::path suggested = state.DatafilePath().replace_extension(".cir");
        const std::optional<QString> target =
            state.dialogs.ChooseFileToWrite(owner, kNetlistToWrite, PathToQt(suggested));
        if (!target || !MayReplaceFile(state.messages, PathFromQt(*target))) {
            return;
        }
        WriteFileAtomically(PathFromQt(*target), netlist);
        const bool transformer =
            std::any_of(datafile.circuit.records.begin(), datafile.circuit.records.end(),
                        [](const ComponentRecord& record) { return record.kind == 'T'; });
        if (transformer) {
            state.messages.ShowInfo(
                "The transformers' coupling depends on frequency; the netlist holds it as at " +
                FormatSignificant(CouplingFrequency(options), 5, "Hz") +
                ", the middle of the range, and is exact there alone.");
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
        // The nodes as the deck spells them; the import reads names without regard to case.
        std::vector<std::string> nodes = CircuitNodeNames(deck);
        for (std::string& node : nodes) {
            node = SpelledInDeck(deck, node);
        }
        if (nodes.size() < 3) {
            state.messages.ShowWarning("\r\n   " + deckPath.filename().string() +
                                       " has fewer than 3 nodes to import.   ");
            return;
        }
        SpiceImportOptions options{"", "", "", deckPath.filename().string(), state.shell.TodayText};
        ProposedSpiceNodes proposed = ProposeSpiceNodes(deck);
        for (std::string* node : {&proposed.input, &proposed.output, &proposed.common}) {
            *node = SpelledInDeck(deck, *node);
        }
        // A deck that no choice of nodes can import is refused before the question.
        options.inputNode = proposed.input.empty() ? nodes[0] : proposed.input;
        options.outputNode = proposed.output.empty() ? nodes[1] : proposed.output;
        options.commonNode = proposed.common.empty() ? nodes[2] : proposed.common;
        try {
            ImportSpiceDeck(deck, options);
        } catch (const SpiceImportRefused& problems) {
            if (!problems.RolesOnly()) {
                ShowRefusal(state, owner, problems);
                return;
            }
        }
        const std::optional<SpiceNodeRoles> roles = state.dialogs.ChooseSpiceNodes(
            owner, nodes, {proposed.input, proposed.output, proposed.common});
        if (!roles) {
            return;
        }
        options.inputNode = roles->input;
        options.outputNode = roles->output;
        options.commonNode = roles->common;
        SpiceImport imported;
        try {
            imported = ImportSpiceDeck(deck, options);
        } catch (const SpiceImportRefused& problems) {
            ShowRefusal(state, owner, problems);
            return;
        }
        const SpiceFidelity fidelity = MeasureFidelity(imported, FidelityRange(deck, {}));
        if (state.messages.Ask(ImportSummary(imported, fidelity), QuestionButtons::OkCancel) !=
            Answer::Yes) {
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
        WriteFileAtomically(path, imported.datafile);
        open(name);
    } catch (const KelvorError& error) {
        state.messages.ShowError(error.what());
    }
}

} // namespace kelvor::app
