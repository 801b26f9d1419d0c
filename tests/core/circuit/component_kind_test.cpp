// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/component_kind.h"

#include "text/eng_value.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace kelvor {
namespace {

// The reader, the tolerance draws and the listing index a kind's values by slot and by
// position: both must number the values 0, 1, 2... without a gap or a repeat, and the slots
// must be in order, as the draws walk them.
TEST(ComponentKind, EveryKindNumbersItsValuesWithoutGaps) {
    for (const ComponentKind& kind : ComponentKinds()) {
        SCOPED_TRACE(std::string(1, kind.letter));
        EXPECT_EQ(FindComponentKind(kind.letter), &kind);
        EXPECT_GE(kind.shortedNodes, 2);
        EXPECT_LE(kind.shortedNodes, kind.NodeCount());
        const int count = static_cast<int>(kind.values.size());
        for (int index = 0; index < count; ++index) {
            EXPECT_EQ(kind.values[static_cast<std::size_t>(index)].slot, index);
            ASSERT_NE(kind.ValueAt(index), nullptr);
        }
        EXPECT_EQ(kind.ValueAt(count), nullptr);
        int row = 0;
        for (int position = 0; position < count; ++position) {
            // The listing's rows only ever go down as the line goes on.
            EXPECT_GE(kind.ValueAt(position)->listingRow, row);
            row = kind.ValueAt(position)->listingRow;
        }
    }
    EXPECT_EQ(ComponentKindLetters(), "RCLMTBFVA");
    for (char letter : std::string("H*#rX ")) {
        EXPECT_FALSE(IsComponentKind(letter)) << letter;
        EXPECT_EQ(UsedNodeCount(letter), 0) << letter;
    }
}

// A Datafile that writes the least resistance as text means exactly the floor.
TEST(ComponentKind, LeastResistanceTextReadsAsTheFloor) {
    bool ok = true;
    EXPECT_EQ(ParseEngValue(std::string(kMinResistanceText), ok), Rmin);
    EXPECT_TRUE(ok);
}

} // namespace
} // namespace kelvor
