// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/sweep.h"

#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "solver/response.h"
#include "support/circuit_builder.h"
#include "support/recording_messages.h"

#include "kelvor_error.h"

#include <cstring>
#include <gtest/gtest.h>

namespace kelvor {
namespace {

LoadedCircuit SampleCircuit() {
    CircuitState state;
    ParseOutcome outcome = ParseDatafileText(SampleDatafileText("7 Dec 2026"), state, "7 Dec 2026");
    EXPECT_TRUE(outcome.ok) << outcome.report;
    return MakeLoadedCircuit(std::move(outcome.records), state);
}

class SweepTest : public ::testing::Test {
protected:
    ResponseSolver solver;
    testing::RecordingMessages messages;
};

TEST_F(SweepTest, EveryColumnHoldsTheGainAtItsFrequency) {
    const LoadedCircuit circuit = SampleCircuit();
    const FrequencyScale scale = SetupFrequencyScale(8, 0, 0);
    const SweepResult sweep = RunSweep(scale, circuit, solver, messages);
    ASSERT_TRUE(sweep.completed);
    ResponsePoint point;
    for (int column : {23, 44, 300, 620, 642}) {
        solver.ComputeResponse(circuit, ColumnFrequency(scale, column), ResponseForm::Display,
                               point, messages);
        EXPECT_EQ(sweep.GainAt(column), point.Gain) << column;
    }
    int32_t lowest = 2147483647, highest = -2147483647;
    for (int column = kFirstSweepColumn; column <= kLastSweepColumn; ++column) {
        lowest = std::min(lowest, static_cast<int32_t>(std::lrint(sweep.GainAt(column))));
        highest = std::max(highest, static_cast<int32_t>(std::lrint(sweep.GainAt(column))));
    }
    EXPECT_EQ(sweep.SweepMinDb, lowest);
    EXPECT_EQ(sweep.SweepMaxDb, highest);
    EXPECT_LT(sweep.SweepMinDb, -30); // the high-pass filter is far down at 93 Hz
    EXPECT_TRUE(sweep.UserFreqLabels.empty());
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(SweepTest, ResetAbandonsTheSweepBetweenColumns) {
    const LoadedCircuit circuit = SampleCircuit();
    int lastColumn = 0;
    const SweepResult sweep =
        RunSweep(SetupFrequencyScale(8, 0, 0), circuit, solver, messages, [&](int column) {
            lastColumn = column;
            return column < 300;
        });
    EXPECT_FALSE(sweep.completed);
    EXPECT_EQ(lastColumn, 300);
    EXPECT_NE(sweep.GainAt(300), 0);
    EXPECT_EQ(sweep.GainAt(301), 0);
    EXPECT_EQ(sweep.SweepMinDb, static_cast<int32_t>(std::lrint(sweep.GainAt(23))));
}

TEST_F(SweepTest, ZeroOutputDrivesTheMinimumDown) {
    // Nothing reaches the output node.
    const auto open = testing::CircuitBuilder(1, 2, 3).Add('R', {1, 3}, {50}).WithNoNodes(3);
    const SweepResult sweep =
        RunSweep(SetupFrequencyScale(0, 250, 360), open.circuit(), solver, messages);
    EXPECT_EQ(sweep.SweepMinDb, -50000);
    EXPECT_EQ(sweep.SweepMaxDb, -50000);
    EXPECT_EQ(sweep.UserFreqLabels.substr(0, 7), " 250   ");
}

// One sweep on the given number of threads: its result, the columns reported in order and the
// fault it ended with.
struct ThreadedSweep {
    SweepResult result;
    std::vector<int> reported;
    std::string fault;
};

ThreadedSweep Sweep(const LoadedCircuit& circuit, int threads, int resetAfter = 0) {
    ResponseSolver solver;
    testing::RecordingMessages messages;
    ThreadedSweep sweep;
    try {
        sweep.result = RunSweep(
            SetupFrequencyScale(8, 0, 0), circuit, solver, messages,
            [&](int column) {
                sweep.reported.push_back(column);
                return column != resetAfter;
            },
            threads);
    } catch (const KelvorError& error) {
        sweep.fault = error.what();
    }
    return sweep;
}

// Shared out over threads, the sweep gives every bit of the one-thread sweep and reports the
// columns in order, also when it is reset or ends with a fault part way.
TEST(SweepThreads, EveryThreadCountGivesTheOneThreadSweep) {
    // The squared magnitude of W * C overflows from about 320 Hz on: the columns above fault.
    const auto overflowing = testing::CircuitBuilder(1, 2, 3)
                                 .Add('R', {1, 2}, {1000})
                                 .Add('C', {2, 3}, {5.4e2462L})
                                 .circuit();
    const struct {
        const char* what;
        LoadedCircuit circuit;
        int resetAfter;
    } cases[] = {
        {"whole", SampleCircuit(), 0}, {"reset", SampleCircuit(), 400}, {"fault", overflowing, 0}};
    for (const auto& c : cases) {
        const ThreadedSweep one = Sweep(c.circuit, 1, c.resetAfter);
        ASSERT_FALSE(one.reported.empty()) << c.what;
        for (int threads : {2, 3}) {
            SCOPED_TRACE(std::string(c.what) + " on " + std::to_string(threads) + " threads");
            const ThreadedSweep many = Sweep(c.circuit, threads, c.resetAfter);
            EXPECT_EQ(many.fault, one.fault);
            EXPECT_EQ(many.reported, one.reported);
            EXPECT_EQ(many.result.completed, one.result.completed);
            EXPECT_EQ(many.result.SweepMinDb, one.result.SweepMinDb);
            EXPECT_EQ(many.result.SweepMaxDb, one.result.SweepMaxDb);
            for (int index = 0; index < kSweepColumns; ++index) {
                ASSERT_EQ(
                    std::memcmp(&many.result.SweepGain[index], &one.result.SweepGain[index], 10), 0)
                    << "column " << index + kFirstSweepColumn;
            }
        }
        for (std::size_t index = 0; index < one.reported.size(); ++index) {
            ASSERT_EQ(one.reported[index], kFirstSweepColumn + static_cast<int>(index));
        }
    }
    EXPECT_EQ(Sweep(cases[1].circuit, 2, 400).reported.back(), 400);
    const ThreadedSweep faulted = Sweep(overflowing, 2);
    EXPECT_NE(faulted.fault.find("overflow"), std::string::npos);
    EXPECT_GT(faulted.reported.size(), 100u);
}

TEST(SweepThreads, MessagesOfTheSolvesComeBetweenTheirColumnsInOrder) {
    const auto circuit = testing::CircuitBuilder(1, 2, 3)
                             .Add('R', {1, 2}, {1000})
                             .Add('X', {1, 2}, {5})
                             .Add('R', {2, 3}, {1000})
                             .circuit();
    ResponseSolver solver;
    testing::RecordingMessages messages;
    int misplaced = 0;
    const SweepResult sweep = RunSweep(
        SetupFrequencyScale(8, 0, 0), circuit, solver, messages,
        [&](int column) {
            misplaced += static_cast<int>(messages.entries.size()) != column - 22;
            return true;
        },
        2);
    EXPECT_TRUE(sweep.completed);
    EXPECT_EQ(misplaced, 0);
    EXPECT_EQ(messages.entries.size(), static_cast<std::size_t>(kSweepColumns));
}

} // namespace
} // namespace kelvor
