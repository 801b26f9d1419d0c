// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/frequency_scale.h"
#include "analysis/scale_proposal.h"

#include "support/recording_messages.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

TEST(ScaleProposal, SpanRoundsUpToAPermittedValueAndTopLiesAboveTheMaximum) {
    struct Case {
        int32_t minDb, maxDb, span, top;
    };
    const Case cases[] = {
        {-47, 3, 50, 10},   // exactly in the list; a span above 40 steps the top by 10
        {-20, -7, 15, 0},   // 13 rounds up to 15; the division truncates toward zero
        {-400, 0, 300, 10}, // limited to 300
        {3, 5, 10, 10},     // limited to 10: 5 is never proposed
        {-50000, -49990, 10, -49985},
        {-60, -19, 45, 0},         // 41 rounds up to 45; -19 div 10 is -1
        {-2147483647, 0, 300, 10}, // no 32-bit overflow in the difference
    };
    for (const Case& c : cases) {
        const ScaleProposal proposal = ProposeScale(c.minDb, c.maxDb);
        EXPECT_EQ(proposal.GraphScale, c.span) << c.minDb << " " << c.maxDb;
        EXPECT_EQ(proposal.GraphTop, c.top) << c.minDb << " " << c.maxDb;
    }
}

TEST(ScaleProposal, ScaleListMembership) {
    EXPECT_EQ(ScaleListIndex(5), 0);
    EXPECT_EQ(ScaleListIndex(300), 29);
    EXPECT_FALSE(ScaleListIndex(33).has_value());
    EXPECT_FALSE(ScaleListIndex(85).has_value());
}

TEST(ScaleProposal, RangeBoxTexts) {
    testing::RecordingMessages messages;
    EXPECT_EQ(FreqRangeBoxText(SetupFrequencyScale(8, 0, 0), messages), "   100 - 1kHz");
    EXPECT_EQ(FreqRangeBoxText(SetupFrequencyScale(39, 0, 0), messages), "  300k - 300MHz");
    EXPECT_EQ(FreqRangeBoxText(SetupFrequencyScale(48, 0, 0), messages), "    1.0 - 1MHz");
    EXPECT_EQ(FreqRangeBoxText(SetupFrequencyScale(0, 250, 360), messages), "   250 - 360");
    EXPECT_EQ(FreqRangeBoxText(SetupFrequencyScale(0, 1500, 2e6L), messages), "   1.50k - 2.00M");
    EXPECT_TRUE(RangeText(0).empty());
    EXPECT_TRUE(RangeText(53).empty());
    EXPECT_TRUE(messages.entries.empty());
}

} // namespace
} // namespace kelvor
