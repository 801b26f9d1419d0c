// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/tolerance_statistics.h"

#include "solver/parallel_jobs.h"
#include "tolerance/monte_carlo.h"

#include <atomic>
#include <cmath>
#include <gtest/gtest.h>
#include <stdexcept>

namespace kelvor {
namespace {

TEST(ToleranceStatistics, QuantilesSpreadsAndHistograms) {
    struct Case {
        std::vector<long double> values;
        long double p, quantile;
    } cases[] = {{{5, 1, 3, 2, 4}, 0.5L, 3},
                 {{5, 1, 3, 2, 4}, 0, 1},
                 {{5, 1, 3, 2, 4}, 1, 5},
                 {{10, 20}, 0.05L, 10.5L},
                 {{7}, 0.95L, 7}};
    for (Case& c : cases) {
        EXPECT_DOUBLE_EQ(static_cast<double>(Quantile(c.values, c.p)),
                         static_cast<double>(c.quantile));
    }

    const Spread spread = SpreadOf(2, {1, std::nullopt, 3, 5});
    EXPECT_EQ(spread.found, 3);
    EXPECT_EQ(spread.mean, 3);
    EXPECT_EQ(spread.sigma, 2);
    EXPECT_EQ(spread.lowest, 1);
    EXPECT_EQ(spread.highest, 5);
    EXPECT_EQ(SpreadOf(std::nullopt, {std::nullopt}).found, 0);

    const Histogram histogram = HistogramOf({0, 0.5L, 1, 9.99L, 10}, 10);
    EXPECT_EQ(histogram.counts, (std::vector<int>{2, 1, 0, 0, 0, 0, 0, 0, 0, 2}));
    EXPECT_EQ(HistogramOf({4, 4, 4}, 10).counts, std::vector<int>{3});
}

TEST(ToleranceStatistics, RunPhaseAlignedWithinHalfATurnOfTheNominal) {
    // The nominal starts at -179 degrees unwrapped; a run that starts just across the wrap.
    std::vector<long double> aligned(3);
    AlignPhase({179, -178, -170}, -179, aligned.data());
    EXPECT_EQ(aligned, (std::vector<long double>{-181, -178, -170}));
    AlignPhase({-10, -20, -30}, 710, aligned.data());
    EXPECT_EQ(aligned, (std::vector<long double>{710, 700, 690}));
}

TEST(ParallelJobs, LowestFailureRethrownAndStopHonoured) {
    for (int workers : {1, 2, 4}) {
        std::vector<int> done(50, 0);
        const auto job = [&](int number, int) {
            if (number == 17 || number == 31) {
                throw std::runtime_error(std::to_string(number));
            }
            done[static_cast<std::size_t>(number)] = 1;
        };
        try {
            RunNumberedJobs(50, workers, job, {});
            ADD_FAILURE() << "no failure rethrown";
        } catch (const std::runtime_error& failure) {
            EXPECT_STREQ(failure.what(), "17") << workers;
        }
        for (int number = 0; number < 17; ++number) {
            EXPECT_EQ(done[static_cast<std::size_t>(number)], 1) << number;
        }

        // A stop is honoured between jobs; on one worker no job starts after it.
        std::atomic<int> started = 0;
        EXPECT_FALSE(RunNumberedJobs(
            50, workers, [&](int, int) { ++started; }, [](int count) { return count < 10; }));
        if (workers == 1) {
            EXPECT_EQ(started.load(), 10);
        }
        EXPECT_TRUE(RunNumberedJobs(50, workers, [](int, int) {}, {}));
    }
}

} // namespace
} // namespace kelvor
