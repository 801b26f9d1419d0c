// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

namespace kelvor {

// The spread over the runs at every frequency of one quantity.
struct Envelope {
    std::vector<long double> lowest;
    std::vector<long double> highest;
    std::vector<long double> low5;   // 5 % of the runs lie below
    std::vector<long double> high95; // 95 % of the runs lie below
};

// `values` holds `runs` rows of `points` values, one row per run. The points are shared out
// among `workers` threads; the result does not depend on their number.
Envelope EnvelopeOf(const std::vector<long double>& values, int runs, int points, int workers);

// The p-quantile (0..1) of the values, interpolated linearly between order statistics, so that
// equal values give exactly that value. Reorders `values`.
long double Quantile(std::vector<long double>& values, long double p);

// Mean, standard deviation (n - 1), lowest and highest of the runs in which a quantity exists.
struct Spread {
    std::optional<long double> nominal;
    int found = 0; // runs that have the quantity
    long double mean = 0;
    long double sigma = 0;
    long double lowest = 0;
    long double highest = 0;
};

Spread SpreadOf(std::optional<long double> nominal,
                const std::vector<std::optional<long double>>& runs);

// Counts of values in `bins` equal bins from lowest to highest (the highest value falls in the
// last bin); one bin holds them all when they are equal.
struct Histogram {
    long double lowest = 0;
    long double highest = 0;
    std::vector<int> counts;
};

Histogram HistogramOf(const std::vector<long double>& values, int bins);

} // namespace kelvor
