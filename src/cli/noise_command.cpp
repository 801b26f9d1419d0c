// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/bode_grid.h"
#include "cli/commands.h"
#include "noise/noise_analysis.h"
#include "noise/noise_csv.h"
#include "noise/noise_settings.h"
#include "text/eng_value.h"

#include <cstdint>

#include <ostream>

namespace kelvor::cli {

const char* const kNoiseHelp =
    "usage: kelvor-cli noise FILE.dat --from F --to F [--ppd N] [--temp C] [--band F1 F2]\n"
    "                        [--weighting a] [--source-line N] [--reference V] [--csv]\n"
    "\n"
    "Noise analysis on all cores: the output noise density, the input-referred density\n"
    "(output over |gain|) and every generator's share at log-spaced frequencies, and the\n"
    "totals over a band. Resistors, coil resistances and coupled coils make thermal noise\n"
    "4kT Re(Y); a transistor (B) base and collector shot noise; a FET (F) channel noise\n"
    "4kT (2/3) Gm; a valve (V) the noise of a grid resistance 2.5/Gm; an op-amp (A) an\n"
    "input voltage noise en at its + input and a current noise in at each input. The\n"
    "op-amps' en and in (default 10 nV/rtHz and 1 pA/rtHz) and the temperature come\n"
    "from FILE.noi beside the Datafile when it exists.\n"
    "  --from F --to F  the range of the densities (10, 2.5k, 1M)\n"
    "  --ppd N          points per decade, 1 to 2000 (default 100)\n"
    "  --temp C         the temperature in degrees Celsius (default 27)\n"
    "  --band F1 F2     the band of the totals (default the range)\n"
    "  --weighting a    A-weight the band totals (IEC 61672)\n"
    "  --source-line N  the Datafile line of the resistor standing for the source:\n"
    "                   prints the noise figure\n"
    "  --reference V    the output level in V rms: prints the signal-to-noise ratio\n"
    "  --csv            the densities as comma-separated values on standard output,\n"
    "                   full precision; the totals and contributors go to standard error\n";

int RunNoiseCommand(CommandLine& line, CommandStreams streams) {
    bool csv = false;
    std::optional<std::string> from, to, perDecade, temperature, weighting, sourceLine, reference;
    std::optional<std::vector<std::string>> bandTexts;
    line.Flag("--csv", csv);
    line.Value("--from", from);
    line.Value("--to", to);
    line.Value("--ppd", perDecade);
    line.Value("--temp", temperature);
    line.Values("--band", 2, bandTexts);
    line.Value("--weighting", weighting);
    line.Value("--source-line", sourceLine);
    line.Value("--reference", reference);
    const std::vector<std::string> positional = line.Parse();
    if (positional.size() != 1) {
        throw UsageError{"noise takes exactly one Datafile"};
    }
    NoiseRequest request;
    const FrequencyRange range = RangeFromArguments(from, to);
    request.frequencies = LogFrequencyGrid(range, PointsPerDecadeFromArgument(perDecade));
    request.band = bandTexts ? RangeFromArguments((*bandTexts)[0], (*bandTexts)[1]) : range;
    if (weighting) {
        if (*weighting != "a" && *weighting != "A") {
            throw UsageError{"--weighting takes a (the A-weighting curve)"};
        }
        request.weighting = NoiseWeighting::A;
    }
    if (sourceLine) {
        request.sourceLine = IntegerOptionWithin("--source-line", *sourceLine, 1, INT32_MAX);
    }
    if (reference) {
        const long double level = ParseFrequencyArgument(*reference);
        if (!(level > 0)) {
            throw UsageError{"--reference takes an output level above 0 V rms"};
        }
        request.referenceLevel = level;
    }
    const NoiseFileReading file = ReadNoiseFile(NoiseFilePath(positional[0]));
    if (!file.problem.empty()) {
        streams.err << "warning: " << ForTerminal(file.problem) << '\n';
    }
    NoiseSettings settings = file.settings;
    if (temperature) {
        bool ok = true;
        settings.temperatureCelsius = ParseEngValue(*temperature, ok);
        if (!ok || !(settings.temperatureCelsius > -kZeroCelsiusInKelvin)) {
            throw UsageError{"--temp takes degrees Celsius above -273.15"};
        }
    }

    const std::optional<ParsedDatafile> datafile = LoadGoodDatafile(positional[0], streams);
    if (!datafile) {
        return kExitDatafileErrors;
    }
    const NoiseAnalysis analysis =
        RunNoiseAnalysis(datafile->loaded.circuit, datafile->loaded.sourceLines, settings, request);
    std::ostream& summary = csv ? streams.err : streams.out;
    if (csv) {
        streams.out << NoiseCsvText(analysis);
    }
    summary << NoiseSummaryText(analysis);
    return kExitOk;
}

} // namespace kelvor::cli
