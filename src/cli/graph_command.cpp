// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/scale_proposal.h"
#include "analysis/sweep.h"
#include "cli/commands.h"
#include "cli/picture_output.h"
#include "kelvor_error.h"
#include "plot/headless_widgets.h"
#include "render/amplitude_graph.h"
#include "text/date_text.h"
#include "text/eng_value.h"

#include <QString>
#include <algorithm>
#include <ostream>

namespace kelvor::cli {

const char* const kGraphHelp =
    "usage: kelvor-cli graph FILE.dat (--fcode N | --from F --to F) [--span DB] [--top DB]\n"
    "                        [--grid] [--bold] [--colour RGB] --out FILE.bmp|.png\n"
    "\n"
    "Sweeps the 620 graph columns and draws the amplitude graph pixel for pixel as\n"
    "the graph window shows it, then saves the picture (703 by 531 pixels) and\n"
    "prints the dB span and top of scale it used.\n"
    "  --fcode N        one of the fixed ranges 1 to 52 (8 is 100 Hz - 1 kHz)\n"
    "  --from F --to F  a range of your own, start above 0 and end above start\n"
    "  --span DB        dB span of the graph's height: 5 10 15 ... 150 175 ... 300\n"
    "                   (default: the span proposed for the sweep)\n"
    "  --top DB         dB value at the top of the graph, -500 to 500\n"
    "                   (default: the top proposed for the sweep)\n"
    "  --grid           dotted grid lines\n"
    "  --bold           bold curve and text\n"
    "  --colour RGB     the curve's colour, 24 bits with red in the low byte:\n"
    "                   255 red, 65280 green, 16711680 or $FF0000 blue (default 0)\n"
    "  --out FILE       a Windows bitmap (.bmp) or a PNG file (.png)\n";

namespace {

constexpr int32_t kTopLimit = 500;
constexpr int32_t kHighestColour = 0xFFFFFF;

} // namespace

int RunGraphCommand(CommandLine& line, CommandStreams streams) {
    bool grid = false, bold = false;
    std::optional<std::string> spanText, topText, colourText, out;
    line.Flag("--grid", grid);
    line.Flag("--bold", bold);
    line.Value("--span", spanText);
    line.Value("--top", topText);
    line.Value("--colour", colourText);
    line.Value("--out", out);
    const ScaleOptions scaleOptions(line);
    const std::vector<std::string> positional = line.Parse();
    const FrequencyScale scale = scaleOptions.Scale();
    if (positional.size() != 1) {
        throw UsageError{"graph takes exactly one Datafile"};
    }
    const PictureOutput output = PictureOutputFromArgument(out);

    std::optional<int32_t> span;
    if (spanText) {
        span = IntegerOption("--span", *spanText);
        if (!ScaleListIndex(*span)) {
            throw UsageError{"--span must be one of 5 10 15 20 25 30 35 40 45 50 55 60 65 70 75 "
                             "80 90 100 110 120 125 130 140 150 175 200 225 250 275 300"};
        }
    }
    std::optional<int32_t> top;
    if (topText) {
        top = IntegerOptionWithin("--top", *topText, -kTopLimit, kTopLimit);
    }
    int32_t colour = 0;
    if (colourText) {
        colour = IntegerOption("--colour", *colourText);
        if (colour < 0 || colour > kHighestColour) {
            throw UsageError{"--colour must lie from 0 to 16777215 ($FFFFFF)"};
        }
    }

    const std::optional<ParsedDatafile> datafile = LoadGoodDatafile(positional[0], streams);
    if (!datafile) {
        return kExitDatafileErrors;
    }
    StreamMessages messages(streams.err);
    ResponseSolver solver;
    const SweepResult sweep = RunSweep(scale, datafile->loaded.circuit, solver, messages);

    // As the graph parameter window proposes for a new circuit, limited as it limits a top.
    const ScaleProposal proposal = ProposeScale(sweep.SweepMinDb, sweep.SweepMaxDb);
    render::AmplitudeGraphInput input;
    input.FCode = scale.FCode;
    input.SweepGain = sweep.SweepGain;
    input.UserFreqLabels = sweep.UserFreqLabels;
    input.GraphScale = span.value_or(proposal.GraphScale);
    input.GraphTop = top.value_or(std::clamp(proposal.GraphTop, -kTopLimit, kTopLimit));
    input.Bold = bold;
    input.GridLinesPending = grid;
    input.PenColour = colour;
    input.DatafileName = datafile->name;
    input.RevisionNumber = datafile->loaded.state.RevisionNumber;
    input.TodayText = TodayText();

    plot::EnsureWidgetApplication();
    QImage picture = render::BlankAmplitudePicture();
    render::DrawAmplitudeGraph(picture, input);
    SavePicture(picture, output);
    streams.out << "span_db " << input.GraphScale << '\n' << "top_db " << input.GraphTop << '\n';
    return kExitOk;
}

} // namespace kelvor::cli
