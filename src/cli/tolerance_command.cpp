// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/bode_grid.h"
#include "cli/commands.h"
#include "tolerance/tolerance_file.h"
#include "tolerance/tolerance_report.h"

#include <charconv>
#include <ostream>

namespace kelvor::cli {

const char* const kToleranceHelp =
    "usage: kelvor-cli tolerance FILE.dat --from F --to F [--ppd N] [--runs N] [--seed S]\n"
    "                            [--tol R=1%,C=5%,...] [--distribution uniform|gaussian]\n"
    "                            [--csv]\n"
    "\n"
    "Monte Carlo tolerance analysis on all cores: every run draws each component value\n"
    "within its tolerance and solves the circuit at log-spaced frequencies. Prints per\n"
    "frequency the nominal gain and phase, their min, max, 5 % and 95 % over the runs and\n"
    "the linearised worst case, then the spread of the peak and of the -3 dB points, and\n"
    "the yield when FILE.tol gives a gain mask. Tolerances, distribution, runs, seed and\n"
    "mask come from FILE.tol beside the Datafile when it exists (the Bode analyser's\n"
    "Tolerances panel writes it), else from the defaults: R 1 %, C 5 %, L 5 %, M and T 2 %,\n"
    "B, F, V and A 10 %, 500 uniform runs, seed 1. The options override them.\n"
    "  --from F --to F  the range: start above 0, end above start and at most 30\n"
    "                   decades above it (10, 2.5k, 1M)\n"
    "  --ppd N          points per decade, 1 to 2000 (default 100)\n"
    "  --runs N         Monte Carlo runs, 1 to 10000\n"
    "  --seed S         the seed of the draws, 0 to 18446744073709551615; the same seed\n"
    "                   gives the same results on any number of cores\n"
    "  --tol LIST       tolerances of component kinds: R, C, L, M, T, B, F, V, A\n"
    "  --distribution   uniform within +-tol, or gaussian with tol = 3 sigma, clipped\n"
    "  --csv            the per-frequency table as comma-separated values on standard\n"
    "                   output, full precision; the spreads and yield go to standard error\n";

namespace {

// The options that change the settings of FILE.tol, taken before the Datafile is known.
struct SettingOptions {
    // Declares the options into this object, which therefore stays where it is.
    explicit SettingOptions(CommandLine& line) {
        line.Value("--runs", runs);
        line.Value("--seed", seed);
        line.Value("--tol", tolerances);
        line.Value("--distribution", distribution);
    }
    SettingOptions(const SettingOptions&) = delete;
    SettingOptions& operator=(const SettingOptions&) = delete;

    void ApplyTo(ToleranceSettings& settings) const {
        if (runs) {
            settings.runs = IntegerOption("--runs", *runs);
            if (const auto problem = ToleranceRunsProblem(settings.runs, "--runs")) {
                throw UsageError{*problem};
            }
        }
        if (seed) {
            const auto end = seed->data() + seed->size();
            const auto result = std::from_chars(seed->data(), end, settings.seed);
            if (result.ec != std::errc() || result.ptr != end) {
                throw UsageError{"--seed must be a whole number from 0 to 18446744073709551615"};
            }
        }
        if (tolerances) {
            if (const auto wrong = ApplyKindTolerances(*tolerances, settings)) {
                throw UsageError{"--tol: " + *wrong};
            }
        }
        if (distribution) {
            const auto chosen = ParseDistribution(*distribution);
            if (!chosen) {
                throw UsageError{"--distribution is uniform or gaussian"};
            }
            settings.distribution = *chosen;
        }
    }

    std::optional<std::string> runs, seed, tolerances, distribution;
};

} // namespace

int RunToleranceCommand(CommandLine& line, CommandStreams streams) {
    bool csv = false;
    std::optional<std::string> from, to, perDecade;
    line.Flag("--csv", csv);
    line.Value("--from", from);
    line.Value("--to", to);
    line.Value("--ppd", perDecade);
    const SettingOptions options(line);
    const std::vector<std::string> positional = line.Parse();
    if (positional.size() != 1) {
        throw UsageError{"tolerance takes exactly one Datafile"};
    }
    const FrequencyRange range = RangeFromArguments(from, to);
    const int32_t pointsPerDecade = PointsPerDecadeFromArgument(perDecade);
    const ToleranceFileReading file = ReadToleranceFile(ToleranceFilePath(positional[0]));
    if (!file.problem.empty()) {
        streams.err << "warning: " << ForTerminal(file.problem) << '\n';
    }
    ToleranceSettings settings = file.settings;
    options.ApplyTo(settings);

    const std::optional<ParsedDatafile> datafile = LoadGoodDatafile(positional[0], streams);
    if (!datafile) {
        return kExitDatafileErrors;
    }
    const ToleranceRun run =
        RunToleranceAnalysis(datafile->loaded.circuit, datafile->loaded.componentLines, settings,
                             LogFrequencyGrid(range, pointsPerDecade));
    const ToleranceAnalysis& analysis = run.analysis;

    std::ostream& summary = csv ? streams.err : streams.out;
    summary << "Tolerance analysis of " << datafile->name << ": " << settings.runs << ' '
            << DistributionName(settings.distribution) << " runs, seed " << settings.seed << ", "
            << analysis.toleranced << " values vary\n";
    streams.out << (csv ? ToleranceCsvText(analysis) : ToleranceTableText(analysis));
    for (const MarkerSpread& marker : analysis.markers) {
        summary << marker.name << ": " << SpreadText(marker, settings.runs) << '\n';
    }
    if (analysis.mask.checked) {
        summary << "Mask yield: " << YieldText(analysis.mask, settings.runs) << '\n';
    }
    return kExitOk;
}

} // namespace kelvor::cli
