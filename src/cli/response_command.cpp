#include "analysis/response_table.h"
#include "cli/commands.h"

#include <ostream>

namespace kelvor::cli {

const char* const kResponseHelp =
    "usage: kelvor-cli response FILE.dat FREQ... [--extended]\n"
    "\n"
    "Gain (dB), phase (degrees), Zin and Zout (ohms) at each frequency, one row per\n"
    "frequency as the response window's table shows them. Frequencies use the\n"
    "engineering syntax: 1k, 2.5M, 200u.\n"
    "  --extended   14 significant digits instead of the normal form\n";

int RunResponseCommand(Arguments arguments, CommandStreams streams) {
    const bool extended = arguments.Flag("--extended");
    const std::vector<std::string> positional = arguments.Positional();
    if (positional.size() < 2) {
        throw UsageError{"response needs a Datafile and at least one frequency"};
    }
    std::vector<long double> frequencies;
    for (std::size_t i = 1; i < positional.size(); ++i) {
        frequencies.push_back(ParseFrequencyArgument(positional[i]));
    }
    LoadedCircuit circuit;
    if (!LoadGoodCircuit(positional[0], circuit, streams)) {
        return kExitDatafileErrors;
    }
    StreamMessages messages(streams.err);
    ResponseSolver solver;
    ResponsePoint point;
    // The table heading without the blank lines around it in the window.
    const std::string heading = kResponseTableHeading;
    streams.out << heading.substr(2, heading.find("\r\n", 2) - 2) << '\n';
    for (std::size_t i = 0; i < frequencies.size(); ++i) {
        solver.ComputeResponse(circuit, frequencies[i], ResponseForm::Display, point, messages);
        const ResponseBoxes boxes = FormatResponseBoxes(point, extended, messages);
        streams.out << FormatResponseRow(positional[i + 1], boxes, extended) << '\n';
    }
    return kExitOk;
}

} // namespace kelvor::cli
