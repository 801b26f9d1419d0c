// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bode/bode_grid.h"

#include <functional>
#include <vector>

namespace kelvor {

// A vector of spectral densities at one frequency, computed by the worker given (0 for the
// calling thread) into `values`.
using BandIntegrand =
    std::function<void(int worker, long double frequency, std::vector<long double>& values)>;

// Called with the evaluations made so far and the most expected; false stops the integration.
using IntegrationProgress = std::function<bool(int done, int expected)>;

struct BandIntegral {
    std::vector<long double> values; // the integral of each component over the band
    bool complete = false;
};

inline constexpr long double kBandRelativeTolerance = 1e-7L;

// The integral over the band of each of `components` densities, in log frequency by adaptive
// Gauss-Kronrod (7, 15) on intervals of at most a tenth of a decade, each split until the
// first `controlled` components meet the relative tolerance: a resonance narrower than the
// starting intervals is found by the splitting, not skipped. Intervals are evaluated on
// `workers` threads, each result depends only on its interval, and the sums are taken in
// frequency order, so the result does not depend on the number of threads.
BandIntegral IntegrateOverBand(const FrequencyRange& band, int components, int controlled,
                               const BandIntegrand& integrand, int workers,
                               const IntegrationProgress& progress = {});

} // namespace kelvor
