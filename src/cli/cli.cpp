// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"

#include "cli/commands.h"
#include "kelvor_error.h"

#include <exception>
#include <new>
#include <ostream>

namespace kelvor::cli {
namespace {

const char* const kToolHelp =
    "usage: kelvor-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "KELVOR2007 circuit simulator, for scripting and checking. Only setup, graph, square,\n"
    "pulse, bode and schematic write files.\n"
    "\n"
    "commands:\n"
    "  check FILE.dat [--list]                      parse and report errors\n"
    "  response FILE.dat FREQ... [--extended]       gain, phase, Zin, Zout\n"
    "  sweep FILE.dat (--fcode N | --from F --to F)\n"
    "                                               amplitude sweep of 620 columns\n"
    "  graph FILE.dat (--fcode N | --from F --to F) --out FILE.bmp\n"
    "                                               the amplitude graph as a picture\n"
    "  square FILE.dat --freq F --resolution R --out FILE.bmp\n"
    "                                               the square-wave response as a picture\n"
    "  pulse FILE.dat --width W --expansion X --out FILE.bmp\n"
    "                                               the pulse response as a picture\n"
    "  bode FILE.dat --from F --to F [--ppd N] [--csv] [--out FILE.png|.pdf|.svg]\n"
    "                                               gain, phase, group delay, Zin, Zout, markers\n"
    "  tolerance FILE.dat --from F --to F [--runs N] [--tol R=1%,C=5%,...] [--csv]\n"
    "                                               Monte Carlo spread, worst case, mask yield\n"
    "  spice FILE.dat [--ac-from F --ac-to F --ppd N] [--at F]\n"
    "                                               the circuit as a SPICE netlist\n"
    "  import DECK.cir --in NODE --out NODE [--common NODE] [--range F1 F2]\n"
    "         [--max-deviation DB]                  a SPICE netlist as a Datafile\n"
    "  schematic FILE.dat --out FILE.svg|.pdf|.png [--json FILE.json] [--nodes]\n"
    "                                               the circuit drawn as a schematic\n"
    "  setup [--examples]                           first-run files (and the examples) here\n"
    "\n"
    "Run kelvor-cli COMMAND --help for the options of a command, kelvor-cli --version for\n"
    "the release. An option's value follows it (--from 10) or an equals sign (--from=10);\n"
    "after -- every argument is a file name, even one that starts with -.\n"
    "\n"
    "Exit status: 0 ok, 1 Datafile with errors, 2 usage or file error, 3 computation fault\n"
    "(division by zero or overflow in the circuit's models), 4 out of memory.\n"
    "\n"
    "Examples:\n"
    "  kelvor-cli setup --examples                  the sample and the examples, here\n"
    "  kelvor-cli response SKLOWPAS.DAT 100 1k 10k  the response at three frequencies\n"
    "  kelvor-cli bode SKLOWPAS.DAT --from 10 --to 100k --out bode.svg\n"
    "                                               the Bode plots as a picture\n";

struct Command {
    const char* name;
    int (*run)(CommandLine&, CommandStreams);
    const char* const* help;
};

constexpr Command kCommands[] = {
    {"check", RunCheckCommand, &kCheckHelp},
    {"response", RunResponseCommand, &kResponseHelp},
    {"sweep", RunSweepCommand, &kSweepHelp},
    {"setup", RunSetupCommand, &kSetupHelp},
    {"graph", RunGraphCommand, &kGraphHelp},
    {"square", RunSquareCommand, &kSquareHelp},
    {"pulse", RunPulseCommand, &kPulseHelp},
    {"bode", RunBodeCommand, &kBodeHelp},
    {"spice", RunSpiceCommand, &kSpiceHelp},
    {"import", RunImportCommand, &kImportHelp},
    {"tolerance", RunToleranceCommand, &kToleranceHelp},
    {"noise", RunNoiseCommand, &kNoiseHelp},
    {"sensitivity", RunSensitivityCommand, &kSensitivityHelp},
    {"schematic", RunSchematicCommand, &kSchematicHelp},
};

void PrintVersion(std::ostream& out) {
    out << "kelvor-cli (KELVOR2007) " << KELVOR_RELEASE_VERSION << '\n'
        << "Licence GPL-3.0-or-later: this is free software; there is NO WARRANTY.\n";
}

} // namespace

int RunCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.empty()) {
        err << kToolHelp;
        return kExitUsage;
    }
    if (arguments[0] == "--help" || arguments[0] == "-h" || arguments[0] == "help") {
        out << kToolHelp;
        return kExitOk;
    }
    if (arguments[0] == "--version") {
        PrintVersion(out);
        return kExitOk;
    }
    for (const Command& command : kCommands) {
        if (arguments[0] != command.name) {
            continue;
        }
        std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
        if (HasOption(rest, "--help") || HasOption(rest, "-h")) {
            out << *command.help;
            return kExitOk;
        }
        if (HasOption(rest, "--version")) {
            PrintVersion(out);
            return kExitOk;
        }
        try {
            CommandLine line(std::move(rest));
            return command.run(line, {out, err});
        } catch (const UsageError& error) {
            err << "kelvor-cli " << command.name << ": " << error.what() << "\n\n" << *command.help;
            return kExitUsage;
        } catch (const ComputationFault& error) {
            err << "kelvor-cli " << command.name << ": " << error.what() << '\n';
            return kExitComputationFault;
        } catch (const KelvorError& error) {
            err << "kelvor-cli " << command.name << ": " << error.what() << '\n';
            return kExitUsage;
        } catch (const std::bad_alloc&) {
            err << "kelvor-cli " << command.name << ": out of memory\n";
            return kExitOutOfMemory;
        } catch (const std::exception& error) {
            // Whatever else goes wrong ends the command with a message, never an abort.
            err << "kelvor-cli " << command.name << ": " << error.what() << '\n';
            return kExitUsage;
        }
    }
    err << "kelvor-cli: unknown command " << arguments[0] << "\n\n" << kToolHelp;
    return kExitUsage;
}

} // namespace kelvor::cli
