// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/commands.h"
#include "cli/picture_output.h"
#include "kelvor_error.h"
#include "plot/headless_widgets.h"
#include "render/time_response_graph.h"
#include "text/date_text.h"
#include "text/eng_value.h"
#include "timeresp/graph_gain.h"
#include "timeresp/harmonic_solve.h"
#include "timeresp/time_response_kinds.h"

#include <functional>
#include <ostream>

namespace kelvor::cli {

const char* const kSquareHelp =
    "usage: kelvor-cli square FILE.dat --freq F --resolution low|medium|high [--gain DB]\n"
    "                         [--bold] [--no-original] [--box black|grey|none] --out FILE\n"
    "\n"
    "Solves the circuit at the odd harmonics of a square wave (1024, 4096 or 16384 of\n"
    "them), synthesises the output and draws it pixel for pixel as the graph window\n"
    "shows it (643 by 485 pixels). Prints the default graph gain and the gain used.\n"
    "  --freq F         the square wave's frequency, e.g. 3k (above 0)\n"
    "  --resolution R   low, medium or high\n"
    "  --gain DB        graph gain, an integer; limited to the default +/- 40 dB\n"
    "                   (default: the default graph gain)\n"
    "  --bold           bold trace and text\n"
    "  --no-original    leave out the ideal input waveform\n"
    "  --box COLOUR     the frame: black, grey (default) or none\n"
    "  --out FILE       a Windows bitmap (.bmp) or a PNG file (.png)\n";

const char* const kPulseHelp =
    "usage: kelvor-cli pulse FILE.dat --width W --expansion 1|3|10 [--gain DB]\n"
    "                        [--bold] [--no-original] [--box black|grey|none] --out FILE\n"
    "\n"
    "Solves the circuit at zero frequency and every harmonic of a train of pulses\n"
    "repeating every 100 widths (2048, 8192 or 32768 harmonics), synthesises the output\n"
    "and draws it as the graph window shows it. Prints the default graph gain and the\n"
    "gain used.\n"
    "  --width W        the pulse width in seconds, e.g. 200u (above 0)\n"
    "  --expansion X    the time expansion: 1, 3 or 10\n"
    "  --gain DB        graph gain, an integer; limited to the default +/- 50 dB\n"
    "                   (default: the default graph gain)\n"
    "  --bold           bold trace and text\n"
    "  --no-original    leave out the ideal input pulse\n"
    "  --box COLOUR     the frame: black, grey (default) or none\n"
    "  --out FILE       a Windows bitmap (.bmp) or a PNG file (.png)\n";

namespace {

// What makes the square-wave and pulse commands different.
struct TimeResponseCommand {
    const char* name;
    const char* valueOption;  // the frequency or the width
    const char* choiceOption; // the resolution or the expansion
    TimeResponseKind kind;
    int32_t spread;
    std::function<int32_t(const std::string& choice)> groupsOf; // 0: not a choice
    const char* choiceError;
    // The fundamental from the value typed; the value is above 0.
    std::function<long double(long double value)> fundamentalOf;
    const char* valueError;
    void (*draw)(QImage&, const render::TimeResponsePlotInput&, const HarmonicTable&,
                 const render::PlotPause&);
};

int32_t BoxColour(const std::string& text) {
    if (text == "black") {
        return 0;
    }
    if (text == "grey" || text == "gray") {
        return 12632256;
    }
    if (text == "none") {
        return 16777215;
    }
    throw UsageError{"--box must be black, grey or none"};
}

int RunTimeResponse(const TimeResponseCommand& command, CommandLine& line, CommandStreams streams) {
    render::TimeResponsePlotInput input;
    bool noOriginal = false;
    std::optional<std::string> valueText, choiceText, gainText, boxText, out;
    line.Flag("--bold", input.Bold);
    line.Flag("--no-original", noOriginal);
    line.Value(command.valueOption, valueText);
    line.Value(command.choiceOption, choiceText);
    line.Value("--gain", gainText);
    line.Value("--box", boxText);
    line.Value("--out", out);
    const std::vector<std::string> positional = line.Parse();
    input.ShowOriginal = !noOriginal;
    if (positional.size() != 1) {
        throw UsageError{std::string(command.name) + " takes exactly one Datafile"};
    }
    const PictureOutput output = PictureOutputFromArgument(out);
    if (!valueText) {
        throw UsageError{std::string(command.valueOption) + " is needed"};
    }
    const int32_t groups = choiceText ? command.groupsOf(*choiceText) : 0;
    if (groups == 0) {
        throw UsageError{command.choiceError};
    }
    bool ok = true;
    const long double value = ParseEngValue(*valueText, ok);
    if (!ok || !(value > 0) ||
        !IsComputableFundamental(command.kind, groups, command.fundamentalOf(value))) {
        throw UsageError{command.valueError};
    }
    std::optional<int32_t> asked;
    if (gainText) {
        asked = IntegerOption("--gain", *gainText);
    }
    input.GraphBoxColour = boxText ? BoxColour(*boxText) : 12632256;

    const std::optional<ParsedDatafile> datafile = LoadGoodDatafile(positional[0], streams);
    if (!datafile) {
        return kExitDatafileErrors;
    }
    StreamMessages messages(streams.err);
    ResponseSolver solver;
    const HarmonicTable table = ComputeHarmonics(datafile->loaded.circuit, command.kind, groups,
                                                 command.fundamentalOf(value), solver, messages);

    const long double defaultGain = DefaultGraphGain(table);
    const GraphGainChoice choice = ChooseGraphGain(asked.value_or(RoundedDefaultGain(defaultGain)),
                                                   defaultGain, command.spread);
    if (choice.outOfLimits) {
        messages.ShowWarning(GainLimitsWarning(choice.warnedGain));
    }
    input.GraphGain = choice.graphGain;
    input.PlotGain = choice.plotGain;
    input.ValueText = *valueText;
    input.DatafileName = datafile->name;
    input.RevisionNumber = datafile->loaded.state.RevisionNumber;
    input.TodayText = TodayText();

    plot::EnsureWidgetApplication();
    QImage picture = render::BlankTimeResponsePicture();
    command.draw(picture, input, table, {});
    SavePicture(picture, output);
    streams.out << "default_gain_db " << RoundedDefaultGain(defaultGain) << '\n'
                << "gain_db " << choice.graphGain << '\n';
    return kExitOk;
}

const TimeResponseCommand kSquare{
    "square",
    "--freq",
    "--resolution",
    TimeResponseKind::SquareWave,
    kSquareWaveGainSpread,
    [](const std::string& choice) -> int32_t {
        return choice == "low" ? 4 : choice == "medium" ? 16 : choice == "high" ? 64 : 0;
    },
    "--resolution must be low, medium or high",
    [](long double frequency) { return frequency; },
    "--freq must be a frequency above 0, such as 3k, whose harmonics are finite numbers",
    render::DrawSquareWaveGraph,
};

const TimeResponseCommand kPulse{
    "pulse",
    "--width",
    "--expansion",
    TimeResponseKind::Pulse,
    kPulseGainSpread,
    [](const std::string& choice) -> int32_t {
        return choice == "1" ? 8 : choice == "3" ? 32 : choice == "10" ? 128 : 0;
    },
    "--expansion must be 1, 3 or 10",
    // The pulses repeat every 100 widths.
    [](long double width) { return kPulseDutyConstant / width; },
    "--width must be a pulse width above 0, such as 200u, whose harmonics are finite numbers",
    render::DrawPulseGraph,
};

} // namespace

int RunSquareCommand(CommandLine& line, CommandStreams streams) {
    return RunTimeResponse(kSquare, line, streams);
}

int RunPulseCommand(CommandLine& line, CommandStreams streams) {
    return RunTimeResponse(kPulse, line, streams);
}

} // namespace kelvor::cli
