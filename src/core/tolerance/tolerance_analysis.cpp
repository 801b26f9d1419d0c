// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/tolerance_analysis.h"

#include "kelvor_error.h"
#include "messages.h"
#include "solver/component_models.h"

namespace kelvor {
namespace {

void CheckAnalysable(const LoadedCircuit& circuit, const ToleranceSettings& settings) {
    for (std::size_t index = 1; index < circuit.records.size(); ++index) {
        if (!IsComponentKind(circuit.records[index].kind)) {
            throw KelvorError("The tolerance analysis needs a Datafile without errors.");
        }
    }
    if (settings.runs < 1 || settings.runs > kMostToleranceRuns) {
        throw KelvorError("The number of runs must lie from 1 to " +
                          std::to_string(kMostToleranceRuns) + ".");
    }
}

// Every solve counts, the worst case's among them: it moves each toleranced value in turn, so
// its solves grow with the components, and each of them sets every value and stamps every
// record again.
void CheckSize(const ToleranceCircuit& varied, const ToleranceSettings& settings,
               std::size_t points) {
    const long long worstCase = WorstCaseSolvesPerPoint(varied);
    const long long solves = static_cast<long long>(points) * (1 + settings.runs + worstCase);
    const auto components = static_cast<long long>(varied.nominal.records.size()) - 1;
    const auto perSolve = components + static_cast<long long>(varied.values.size());
    if (solves > kMostToleranceSolves || solves * perSolve > kMostToleranceWork) {
        throw KelvorError("This tolerance analysis is too large: " + std::to_string(points) +
                          " frequencies x (the nominal, " + std::to_string(settings.runs) +
                          " runs and " + std::to_string(worstCase) + " worst-case solves) make " +
                          std::to_string(solves) + " solves of " + std::to_string(components) +
                          " components; lower the runs, the points per decade or the "
                          "toleranced components.");
    }
}

// The nominal's markers are the analyser's: the same curve, refined with the same solver.
std::vector<MarkerSpread> MarkerSpreads(const LoadedCircuit& circuit, const BodeCurve& nominal,
                                        const RunCurves& runs) {
    ResponseSolver solver;
    QuietMessages quiet;
    const MarkerPlaces middle =
        FindMarkerPlaces(nominal.frequency, nominal.gain.data(), [&](long double frequency) {
            ResponsePoint point;
            solver.ComputeResponse(circuit, frequency, ResponseForm::Display, point, quiet);
            return point.Gain;
        });
    // A run without a peak has no peak gain or frequency either.
    const auto peakGain = [](const MarkerPlaces& places) {
        return places.HasPeak() ? std::optional(places.peakGain) : std::nullopt;
    };
    const auto peakFrequency = [](const MarkerPlaces& places) {
        return places.HasPeak() ? std::optional(places.peakFrequency) : std::nullopt;
    };
    const auto lower = [](const MarkerPlaces& places) { return places.lowerHalfPower; };
    const auto upper = [](const MarkerPlaces& places) { return places.upperHalfPower; };
    const auto spread = [&](const char* name, const char* unit, auto field) {
        std::vector<std::optional<long double>> values;
        for (const MarkerPlaces& places : runs.markers) {
            values.push_back(field(places));
        }
        return MarkerSpread{name, unit, SpreadOf(field(middle), values)};
    };
    return {spread("Peak gain", "dB", peakGain), spread("Peak frequency", "Hz", peakFrequency),
            spread("\u22123 dB low", "Hz", lower), spread("\u22123 dB high", "Hz", upper)};
}

MaskOutcome CheckMask(const GainMask& mask, const BodeCurve& nominal, const RunCurves& runs) {
    MaskOutcome outcome;
    if (mask.empty()) {
        return outcome;
    }
    outcome.checked = true;
    outcome.nominalInside = InsideMask(mask, nominal.frequency, nominal.gain.data());
    for (int run = 0; run < runs.runs; ++run) {
        if (!InsideMask(mask, nominal.frequency, runs.Gain(run))) {
            outcome.failingRuns.push_back(run);
        }
    }
    outcome.yield =
        static_cast<long double>(runs.runs - static_cast<int>(outcome.failingRuns.size())) /
        runs.runs;
    return outcome;
}

} // namespace

ToleranceRun RunToleranceAnalysis(const LoadedCircuit& circuit,
                                  const std::vector<std::string>& componentLines,
                                  const ToleranceSettings& settings,
                                  std::vector<long double> frequencies,
                                  const ToleranceProgress& progress, int threads) {
    CheckAnalysable(circuit, settings);
    const ToleranceCircuit varied{circuit, TolerancedValues(circuit, componentLines, settings)};
    CheckSize(varied, settings, frequencies.size());
    int points = static_cast<int>(frequencies.size());
    const int workers = WorkerCount(threads, std::max(settings.runs, points));
    const int perPoint = WorstCaseSolvesPerPoint(varied);
    // Until the nominal curve has its points, the grid stands for them.
    int total = points + settings.runs * points + points * perPoint;

    ToleranceRun run;
    ToleranceAnalysis& analysis = run.analysis;
    analysis.toleranced = static_cast<int>(varied.values.size());
    // Each stage reports its own count; `before` is what the stages before it solved.
    int before = 0;
    const auto stage = [&](int solvesPerStep) -> JobProgress {
        if (!progress) {
            return {};
        }
        return [&, solvesPerStep](int steps) {
            return progress(before + steps * solvesPerStep, total);
        };
    };

    ResponseSolver solver;
    QuietMessages silent;
    BodeRun nominal =
        ComputeBodeCurve(circuit, std::move(frequencies), solver, silent, stage(1), workers);
    if (!nominal.complete) {
        return run;
    }
    analysis.nominal = std::move(nominal.curve);
    before = points;
    // The runs share the nominal's points, which adapt to where its response bends.
    points = static_cast<int>(analysis.nominal.size());
    CheckSize(varied, settings, analysis.nominal.size());
    total = before + settings.runs * points + points * perPoint;
    const long double firstPhase = points > 0 ? analysis.nominal.unwrappedPhase.front() : 0;
    if (!SolveMonteCarloRuns(varied, settings, analysis.nominal.frequency, firstPhase,
                             analysis.runs, stage(points), workers)) {
        return run;
    }
    before += settings.runs * points;
    if (!SolveWorstCase(varied, analysis.nominal, analysis.worstCase, stage(1), workers)) {
        return run;
    }
    analysis.gain = EnvelopeOf(analysis.runs.gain, settings.runs, points, workers);
    analysis.phase = EnvelopeOf(analysis.runs.phase, settings.runs, points, workers);
    if (points > 0) {
        analysis.markers = MarkerSpreads(circuit, analysis.nominal, analysis.runs);
    }
    analysis.mask = CheckMask(settings.mask, analysis.nominal, analysis.runs);
    run.complete = true;
    return run;
}

} // namespace kelvor
