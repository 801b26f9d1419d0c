// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/response_table.h"
#include "cli/commands.h"
#include "text/words.h"

#include <algorithm>
#include <array>
#include <ostream>

namespace kelvor::cli {

const char* const kResponseHelp =
    "usage: kelvor-cli response FILE.dat FREQ... [--extended] [--csv]\n"
    "\n"
    "Gain (dB), phase (degrees), Zin and Zout (ohms) at each frequency, one row per\n"
    "frequency as the response window's table shows them. Frequencies use the\n"
    "engineering syntax: 1k, 2.5M, 200u.\n"
    "  --extended   14 significant digits instead of the normal form\n"
    "  --csv        comma-separated columns\n";

namespace {

// The table's column widths, the frequency first. A column whose text fills its width still
// gets two spaces before it, so that the 21-character numbers of the extended form never run
// together.
constexpr std::array<int, 5> kNormalWidths = {12, 16, 18, 19, 19};
constexpr std::array<int, 5> kExtendedWidths = {13, 24, 21, 21, 21};
constexpr std::size_t kLeastSeparation = 2;

std::string TableRow(const std::array<std::string, 5>& fields, bool extended) {
    const std::array<int, 5>& widths = extended ? kExtendedWidths : kNormalWidths;
    std::string row = RightAlign(fields[0], widths[0]);
    for (std::size_t i = 1; i < fields.size(); ++i) {
        const std::size_t width = static_cast<std::size_t>(widths[i]);
        row +=
            std::string(std::max(kLeastSeparation, width - std::min(width, fields[i].size())), ' ');
        row += fields[i];
    }
    return row;
}

std::string CsvRow(const std::array<std::string, 5>& fields) {
    std::string row = fields[0];
    for (std::size_t i = 1; i < fields.size(); ++i) {
        row += ',' + fields[i];
    }
    return row;
}

} // namespace

int RunResponseCommand(CommandLine& line, CommandStreams streams) {
    bool extended = false, csv = false;
    line.Flag("--extended", extended);
    line.Flag("--csv", csv);
    const std::vector<std::string> positional = line.Parse();
    if (positional.size() < 2) {
        throw UsageError{"response needs a Datafile and at least one frequency"};
    }
    std::vector<long double> frequencies;
    for (std::size_t i = 1; i < positional.size(); ++i) {
        frequencies.push_back(ParseFrequencyArgument(positional[i]));
    }
    const std::optional<ParsedDatafile> datafile = LoadGoodDatafile(positional[0], streams);
    if (!datafile) {
        return kExitDatafileErrors;
    }
    StreamMessages messages(streams.err);
    ResponseSolver solver;
    ResponsePoint point;
    if (csv) {
        streams.out << "frequency_hz,gain_db,phase_deg,zin_ohms,zout_ohms\n";
    } else {
        // The table heading without the blank lines around it in the window.
        const std::string heading = kResponseTableHeading;
        streams.out << heading.substr(2, heading.find("\r\n", 2) - 2) << '\n';
    }
    for (std::size_t i = 0; i < frequencies.size(); ++i) {
        solver.ComputeResponse(datafile->loaded.circuit, frequencies[i], ResponseForm::Display,
                               point, messages);
        const ResponseBoxes boxes = FormatResponseBoxes(point, extended, messages);
        const std::array<std::string, 5> fields = {TrimSpaces(positional[i + 1]),
                                                   TrimSpaces(boxes.gain), TrimSpaces(boxes.phase),
                                                   TrimSpaces(boxes.zin), TrimSpaces(boxes.zout)};
        streams.out << (csv ? CsvRow(fields) : TableRow(fields, extended)) << '\n';
    }
    return kExitOk;
}

} // namespace kelvor::cli
