// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeresp/graph_gain.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

TEST(GraphGain, KeepingTheDefaultUsesItUnrounded) {
    const GraphGainChoice kept = ChooseGraphGain(6, 6.02L, 40);
    EXPECT_EQ(kept.graphGain, 6);
    EXPECT_EQ(kept.plotGain, 6.02L);
    EXPECT_FALSE(kept.outOfLimits);

    const GraphGainChoice other = ChooseGraphGain(7, 6.02L, 40);
    EXPECT_EQ(other.plotGain, 7);
}

TEST(GraphGain, LimitedAroundTheDefaultBySpread) {
    EXPECT_EQ(ChooseGraphGain(106, 6.02L, 40).graphGain, 46); // square wave: +/- 40
    EXPECT_EQ(ChooseGraphGain(-100, 6.02L, 40).graphGain, -34);
    EXPECT_EQ(ChooseGraphGain(66, 6.02L, 50).graphGain, 56); // pulse: +/- 50
    EXPECT_EQ(ChooseGraphGain(66, 6.02L, 50).plotGain, 56);
    // Halves of the default round to even.
    EXPECT_EQ(RoundedDefaultGain(2.5L), 2);
    EXPECT_EQ(RoundedDefaultGain(3.5L), 4);
    EXPECT_EQ(RoundedDefaultGain(-2.5L), -2);
}

TEST(GraphGain, ZeroGainCircuitWarnsWithTheLimitedValueThenDrawsAt3000) {
    const GraphGainChoice choice = ChooseGraphGain(5000, 5000.0L, 40);
    EXPECT_TRUE(choice.outOfLimits);
    EXPECT_EQ(choice.warnedGain, 5000);
    EXPECT_EQ(choice.graphGain, 3000);
    EXPECT_EQ(choice.plotGain, 3000);
    EXPECT_EQ(GainLimitsWarning(5000),
              "Gain out of limits 5000 dB  \r\n\r\nResults may not be valid.\r\n");

    EXPECT_FALSE(ChooseGraphGain(1000, 1000.0L, 40).outOfLimits);
    EXPECT_TRUE(ChooseGraphGain(-1001, -1000.0L, 40).outOfLimits);
    EXPECT_EQ(ChooseGraphGain(-1001, -1000.0L, 40).graphGain, -1001);
}

TEST(GraphGain, ScaleOfTheTrace) {
    EXPECT_NEAR(static_cast<double>(PlotScale(0, 1.77L)), 1.77, 1e-15);
    EXPECT_NEAR(static_cast<double>(PlotScale(20, 0.885L)), 8.85, 1e-14);
}

} // namespace
} // namespace kelvor
