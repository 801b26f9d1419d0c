// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/frequency_scale.h"
#include "analysis/scale_proposal.h"
#include "analysis/sweep.h"
#include "cli/commands.h"
#include "text/eng_value.h"

#include <cstdio>
#include <ostream>

namespace kelvor::cli {

const char* const kSweepHelp =
    "usage: kelvor-cli sweep FILE.dat (--fcode N | --from F --to F) [--csv] [--all]\n"
    "\n"
    "Sweeps the 620 graph columns of a frequency scale and prints each column's\n"
    "frequency and gain in dB, then the rounded minimum and maximum and the\n"
    "proposed dB span and top of scale.\n"
    "  --fcode N        one of the fixed ranges 1 to 52 (8 is 100 Hz - 1 kHz)\n"
    "  --from F --to F  a range of your own, start above 0 and end above start, every\n"
    "                   column's frequency within the extended number range\n"
    "  --csv            comma-separated columns\n"
    "  --all            add phase, Zin and Zout to every column\n";

ScaleOptions::ScaleOptions(CommandLine& line) {
    line.Value("--fcode", fcode);
    line.Value("--from", from);
    line.Value("--to", to);
}

FrequencyScale ScaleOptions::Scale() const {
    if (fcode && !from && !to) {
        bool ok = true;
        const int32_t code = ParseIntField(*fcode, ok);
        if (!ok || code < 1 || code > kHighestFCode) {
            throw UsageError{"--fcode must be a range number from 1 to 52"};
        }
        return SetupFrequencyScale(code, 0, 0);
    }
    if (!fcode && from && to) {
        bool ok = true;
        const long double start = ParseEngValue(*from, ok);
        const long double end = ParseEngValue(*to, ok);
        if (!ok || !IsSweepableUserRange(start, end)) {
            throw UsageError{" Invalid Frequencies    "};
        }
        return SetupFrequencyScale(0, start, end);
    }
    throw UsageError{"give either --fcode N or both --from F and --to F"};
}

namespace {

std::string Number(const char* format, long double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

int RunSweepCommand(CommandLine& line, CommandStreams streams) {
    bool csv = false, all = false;
    line.Flag("--csv", csv);
    line.Flag("--all", all);
    const ScaleOptions scaleOptions(line);
    const std::vector<std::string> positional = line.Parse();
    const FrequencyScale scale = scaleOptions.Scale();
    if (positional.size() != 1) {
        throw UsageError{"sweep takes exactly one Datafile"};
    }
    const std::optional<ParsedDatafile> datafile = LoadGoodDatafile(positional[0], streams);
    if (!datafile) {
        return kExitDatafileErrors;
    }
    StreamMessages messages(streams.err);
    ResponseSolver solver;
    std::vector<ResponsePoint> points;
    ResponsePoint point;
    const SweepResult sweep =
        RunSweep(scale, datafile->loaded.circuit, solver, messages, [&](int column) {
            if (all) {
                // The sweep itself keeps only the gain; the other three come from the same point.
                solver.ComputeResponse(datafile->loaded.circuit, ColumnFrequency(scale, column),
                                       ResponseForm::Display, point, messages);
                points.push_back(point);
            }
            return true;
        });

    const char* separator = csv ? "," : "  ";
    streams.out << (csv ? "column,frequency_hz,gain_db" : "column  frequency_hz  gain_db");
    if (all) {
        streams.out << (csv ? ",phase_deg,zin_ohms,zout_ohms" : "  phase_deg  zin_ohms  zout_ohms");
    }
    streams.out << '\n';
    for (int column = kFirstSweepColumn; column <= kLastSweepColumn; ++column) {
        const int index = column - kFirstSweepColumn;
        streams.out << column << separator << Number("%.10Lg", sweep.Frequency[index]) << separator
                    << Number("%.6Lf", sweep.SweepGain[index]);
        if (all) {
            const ResponsePoint& p = points[index];
            streams.out << separator << Number("%.6Lf", p.Phase) << separator
                        << Number("%.6Lg", p.Zin) << separator << Number("%.6Lg", p.Zout);
        }
        streams.out << '\n';
    }
    const ScaleProposal proposal = ProposeScale(sweep.SweepMinDb, sweep.SweepMaxDb);
    const std::string prefix = csv ? "# " : "";
    streams.out << prefix << "minimum_db " << sweep.SweepMinDb << '\n'
                << prefix << "maximum_db " << sweep.SweepMaxDb << '\n'
                << prefix << "proposed_span_db " << proposal.GraphScale << '\n'
                << prefix << "proposed_top_db " << proposal.GraphTop << '\n';
    return kExitOk;
}

} // namespace kelvor::cli
