// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/tolerance_statistics.h"

#include "solver/parallel_jobs.h"

#include <algorithm>
#include <cmath>

namespace kelvor {
namespace {

constexpr int kPointsPerRun = 16;

} // namespace

long double Quantile(std::vector<long double>& values, long double p) {
    const long double position = p * static_cast<long double>(values.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(position));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(below),
                     values.end());
    const long double low = values[below];
    if (below + 1 >= values.size()) {
        return low;
    }
    const long double high =
        *std::min_element(values.begin() + static_cast<std::ptrdiff_t>(below) + 1, values.end());
    return low + (position - static_cast<long double>(below)) * (high - low);
}

Envelope EnvelopeOf(const std::vector<long double>& values, int runs, int points, int workers) {
    Envelope envelope;
    const auto size = static_cast<std::size_t>(points);
    envelope.lowest.resize(size);
    envelope.highest.resize(size);
    envelope.low5.resize(size);
    envelope.high95.resize(size);
    // On a small circuit the runs solve in about the time the quantiles take, so the points
    // are shared out too; each writes only its own place.
    std::vector<std::vector<long double>> columns(static_cast<std::size_t>(workers),
                                                  std::vector<long double>(runs));
    RunNumberedJobs(
        points, workers,
        [&](int point, int worker) {
            std::vector<long double>& column = columns[static_cast<std::size_t>(worker)];
            for (int run = 0; run < runs; ++run) {
                column[static_cast<std::size_t>(run)] =
                    values[static_cast<std::size_t>(run) * size + static_cast<std::size_t>(point)];
            }
            const auto [lowest, highest] = std::minmax_element(column.begin(), column.end());
            const auto at = static_cast<std::size_t>(point);
            envelope.lowest[at] = *lowest;
            envelope.highest[at] = *highest;
            envelope.low5[at] = Quantile(column, 0.05L);
            envelope.high95[at] = Quantile(column, 0.95L);
        },
        {}, kPointsPerRun);
    return envelope;
}

Spread SpreadOf(std::optional<long double> nominal,
                const std::vector<std::optional<long double>>& runs) {
    Spread spread;
    spread.nominal = nominal;
    // Sums are taken about the first value found, so that equal values give their own value
    // as the mean and a deviation of exactly 0.
    long double origin = 0;
    long double sum = 0;
    for (const auto& value : runs) {
        if (!value) {
            continue;
        }
        if (spread.found == 0) {
            origin = spread.lowest = spread.highest = *value;
        }
        spread.lowest = std::min(spread.lowest, *value);
        spread.highest = std::max(spread.highest, *value);
        sum += *value - origin;
        ++spread.found;
    }
    if (spread.found == 0) {
        return spread;
    }
    const long double offset = sum / spread.found;
    spread.mean = origin + offset;
    long double squares = 0;
    for (const auto& value : runs) {
        if (value) {
            const long double deviation = (*value - origin) - offset;
            squares += deviation * deviation;
        }
    }
    spread.sigma = spread.found > 1 ? std::sqrt(squares / (spread.found - 1)) : 0;
    return spread;
}

Histogram HistogramOf(const std::vector<long double>& values, int bins) {
    Histogram histogram;
    if (values.empty() || bins < 1) {
        return histogram;
    }
    const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
    histogram.lowest = *lowest;
    histogram.highest = *highest;
    const long double width = (histogram.highest - histogram.lowest) / bins;
    histogram.counts.assign(static_cast<std::size_t>(width > 0 ? bins : 1), 0);
    for (long double value : values) {
        std::size_t bin = 0;
        if (width > 0) {
            bin = std::min(static_cast<std::size_t>((value - histogram.lowest) / width),
                           histogram.counts.size() - 1);
        }
        ++histogram.counts[bin];
    }
    return histogram;
}

} // namespace kelvor
