// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bode/bode_grid.h"
#include "noise/noise_generators.h"
#include "noise/noise_settings.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelvor {

enum class NoiseWeighting { None, A };

// One noise analysis: the densities at a list of frequencies and the totals over a band.
struct NoiseRequest {
    std::vector<long double> frequencies;
    FrequencyRange band;
    NoiseWeighting weighting = NoiseWeighting::None;
    // The Datafile line of the resistor that stands for the source: gives the noise figure.
    std::optional<int> sourceLine;
    // The output level (V rms) the signal-to-noise ratio is taken against.
    std::optional<long double> referenceLevel;
    int threads = 0; // 0: one per core
    // Points are added between the frequencies until no density a plot draws strays from the
    // straight line between neighbours (see RefinedNoisePoints).
    bool refine = false;
};

struct NoiseDensityPoint {
    long double frequency = 0;
    long double gainDb = 0;
    long double output = 0;          // V/rtHz at the output
    long double input = 0;           // V/rtHz: the output density over |gain|
    std::vector<long double> powers; // each generator's share at the output, V^2/Hz
};

struct NoiseContributor {
    std::size_t generator = 0;
    long double power = 0; // V^2 at the output over the band (weighted when asked)
    long double share = 0; // of the band total, 0..1
};

struct BandNoise {
    long double outputRms = 0;            // V rms at the output
    long double inputRms = 0;             // V rms referred to the input
    std::vector<NoiseContributor> ranked; // largest share first
    std::optional<long double> signalToNoiseDb;
    std::optional<long double> noiseFigureDb;
};

struct NoiseAnalysis {
    std::vector<NoiseGenerator> generators;
    std::vector<NoiseDensityPoint> points; // one per requested frequency
    BandNoise band;
    bool complete = false; // false when the progress report stopped it
    // Refinement stopped at kMostAddedPoints before every interval was straight.
    bool pointLimitReached = false;
};

// Called on the calling thread with the work done so far and the most expected (it can grow
// while the band integral refines); returning false stops the analysis.
using AnalysisProgress = std::function<bool(int done, int expected)>;

// Runs the whole analysis on all cores (or request.threads). Throws KelvorError for settings
// that cannot be used (a source line that is no resistor, a temperature below absolute zero)
// and ComputationFault for a floating-point fault, naming the frequency.
NoiseAnalysis RunNoiseAnalysis(const LoadedCircuit& circuit, const std::vector<int>& sourceLines,
                               const NoiseSettings& settings, const NoiseRequest& request,
                               const AnalysisProgress& progress = {});

// Each generator's share of the output noise power at one point, 0..1.
std::vector<long double> SharesAt(const NoiseDensityPoint& point);

// The band totals, SNR, noise figure and the ranked contributors, one per line.
std::string NoiseSummaryText(const NoiseAnalysis& analysis);

} // namespace kelvor
