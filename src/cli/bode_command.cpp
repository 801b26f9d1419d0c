// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/bode_csv.h"
#include "bode/bode_grid.h"
#include "bode/bode_markers.h"
#include "circuit/datafile_reader.h"
#include "cli/commands.h"
#include "kelvor_error.h"
#include "plot/bode_plot.h"
#include "plot/headless_widgets.h"
#include "plot/plot_export.h"
#include "stepping/stepped_circuits.h"
#include "text/date_text.h"

#include <QFile>
#include <ostream>

namespace kelvor::cli {

const char* const kBodeHelp =
    "usage: kelvor-cli bode FILE.dat --from F --to F [--ppd N] [--csv]\n"
    "                       [--step LINE[.K]=LIST]\n"
    "                       [--out FILE.png|.pdf|.svg] [--size WxH] [--scale S]\n"
    "\n"
    "Computes gain, phase, group delay, Zin and Zout at log-spaced frequencies on all\n"
    "cores, adding points wherever straight lines between them would stray from the\n"
    "response by more than 0.01 dB or 0.1 degrees, and prints the markers, one per\n"
    "line: the gain peak, the -3 dB (half-power) points, bandwidth, centre frequency\n"
    "and Q, and the 0 dB crossing with its phase. A largest gain at an end of the\n"
    "range that still rises beyond it is no peak, and the lines say so.\n"
    "  --from F --to F  the range: start above 0, end above start and at most 30\n"
    "                   decades above it (10, 2.5k, 1M)\n"
    "  --ppd N          the least points per decade, 1 to 2000 (default 100)\n"
    "  --csv            every point as comma-separated values on standard output,\n"
    "                   full precision, with a header row; the markers go to\n"
    "                   standard error\n"
    "  --step LINE[.K]=LIST\n"
    "                   one curve per value of the K-th value (default the first) of\n"
    "                   the component on Datafile line LINE, each named by its value;\n"
    "                   LIST is 1k,2.2k,4.7k or a range 1k..10k/5 (evenly spaced),\n"
    "                   1k..10k/log5 (evenly in log) or 1k..10k/E12 (or /E24), at most\n"
    "                   25 values; with --csv one column group per value\n"
    "  --out FILE       the stacked plots as PNG, or as vector graphics in PDF or SVG\n"
    "  --size WxH       the picture's size in pixels (default 1000x800)\n"
    "  --scale S        PNG pixels per picture pixel, 1 to 4 (default 1)\n";

namespace {

constexpr QSize kDefaultPictureSize(1000, 800);
constexpr int kLargestPictureSide = 10000;
constexpr int kLargestScale = 4;
// A picture of 32-bit pixels needs four bytes each, drawn once and encoded once more: 256 MB.
constexpr long long kMostPicturePixels = 64'000'000;

QSize PictureSize(const std::optional<std::string>& text) {
    if (!text) {
        return kDefaultPictureSize;
    }
    const auto cross = text->find('x');
    if (cross == std::string::npos) {
        throw UsageError{"--size takes WIDTHxHEIGHT, for example 1200x900"};
    }
    const int32_t width = IntegerOption("--size", text->substr(0, cross));
    const int32_t height = IntegerOption("--size", text->substr(cross + 1));
    if (width < 1 || height < 1 || width > kLargestPictureSide || height > kLargestPictureSide) {
        throw UsageError{"--size must lie from 1x1 to 10000x10000"};
    }
    return {width, height};
}

} // namespace

int RunBodeCommand(CommandLine& line, CommandStreams streams) {
    bool csv = false;
    std::optional<std::string> from, to, perDecadeText, out, sizeText, scaleText, stepText;
    line.Flag("--csv", csv);
    line.Value("--from", from);
    line.Value("--to", to);
    line.Value("--ppd", perDecadeText);
    line.Value("--out", out);
    line.Value("--size", sizeText);
    line.Value("--scale", scaleText);
    line.Value("--step", stepText);
    const std::vector<std::string> positional = line.Parse();
    const QSize size = PictureSize(sizeText);
    if (positional.size() != 1) {
        throw UsageError{"bode takes exactly one Datafile"};
    }
    const FrequencyRange range = RangeFromArguments(from, to);
    const int32_t perDecade = PointsPerDecadeFromArgument(perDecadeText);
    const int32_t scale =
        scaleText ? IntegerOptionWithin("--scale", *scaleText, 1, kLargestScale) : 1;
    const long long pixels = static_cast<long long>(size.width()) * size.height() * scale * scale;
    if (pixels > kMostPicturePixels) {
        throw UsageError{"--size " + std::to_string(size.width()) + "x" +
                         std::to_string(size.height()) + " at --scale " + std::to_string(scale) +
                         " makes " + std::to_string(pixels / 1'000'000) +
                         " million pixels; a picture may have 64 million"};
    }
    std::optional<plot::PictureKind> kind;
    if (out) {
        kind = plot::PictureKindOf(QFile::decodeName(out->c_str()));
        if (!kind) {
            throw UsageError{"--out takes a .png, .pdf or .svg file"};
        }
    }

    std::optional<StepRequest> step;
    if (stepText) {
        try {
            step = ParseStepRequest(*stepText);
        } catch (const KelvorError& error) {
            throw UsageError{std::string("--step: ") + error.what()};
        }
    }

    const std::optional<ParsedDatafile> datafile = LoadGoodDatafile(positional[0], streams);
    if (!datafile) {
        return kExitDatafileErrors;
    }
    const ParsedDatafile& parsed = *datafile;
    std::vector<SteppedCircuit> circuits;
    if (step) {
        circuits = SteppedCircuits(ReadDatafileBytes(positional[0]), step->target, step->values,
                                   TodayText());
    } else {
        circuits.push_back({parsed.loaded.state.CircuitTitle.empty()
                                ? parsed.name
                                : parsed.loaded.state.CircuitTitle,
                            datafile->loaded.circuit});
    }
    StreamMessages messages(streams.err);
    ResponseSolver solver;
    std::vector<BodeCurve> curves;
    std::vector<std::vector<BodeMarker>> markers;
    for (const SteppedCircuit& circuit : circuits) {
        BodeRun run = ComputeBodeRange(circuit.circuit, range, perDecade, solver, messages);
        markers.push_back(FindMarkers(run.curve, circuit.circuit, solver));
        curves.push_back(std::move(run.curve));
        if (run.pointLimitReached) {
            streams.err << "warning: " << PointLimitWarning() << '\n';
        }
    }

    std::ostream& markerStream = csv ? streams.err : streams.out;
    if (csv) {
        std::vector<NamedCurve> named;
        for (std::size_t index = 0; index < circuits.size(); ++index) {
            named.push_back({circuits[index].name, &curves[index]});
        }
        streams.out << BodeCsvText(named, {parsed.name, TodayText(), range, perDecade, {}});
    }
    for (std::size_t index = 0; index < circuits.size(); ++index) {
        if (step) {
            markerStream << (index == 0 ? "" : "\n") << circuits[index].name << '\n';
        }
        for (const BodeMarker& marker : markers[index]) {
            markerStream << marker.name << ": " << marker.text << '\n';
        }
    }
    if (out) {
        plot::EnsureWidgetApplication();
        plot::BodePlot picture;
        picture.resize(size);
        std::vector<plot::PlotTrace> traces;
        for (std::size_t index = 0; index < circuits.size(); ++index) {
            traces.push_back(
                {QString::fromStdString(circuits[index].name), std::move(curves[index]), true});
        }
        picture.setTraces(std::move(traces));
        // Marker lines of one curve only: several curves' lines would not say whose they are.
        picture.setMarkers(plot::PlaceableMarkers(markers.front()));
        plot::SavePlot(picture, QFile::decodeName(out->c_str()), *kind, size, scale);
    }
    return kExitOk;
}

} // namespace kelvor::cli
