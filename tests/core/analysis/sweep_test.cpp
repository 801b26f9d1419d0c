#include "analysis/sweep.h"

#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "solver/response.h"
#include "support/circuit_builder.h"
#include "support/recording_messages.h"

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

} // namespace
} // namespace kelvor
