// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/response_table.h"

#include "support/recording_messages.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

using testing::RecordingMessages;

std::string Spaces(std::size_t count) {
    return std::string(count, ' ');
}

// The four numbers the boxes show; the complex impedances stay 0.
ResponsePoint Point(long double gain, long double phase, long double zin, long double zout) {
    ResponsePoint point;
    point.Gain = gain;
    point.Phase = phase;
    point.Zin = zin;
    point.Zout = zout;
    return point;
}

TEST(ResponseTable, NormalBoxesAndRow) {
    RecordingMessages messages;
    const ResponsePoint point = Point(-6.0206L, 45.04L, 999.7L, 47.5L);
    const ResponseBoxes boxes = FormatResponseBoxes(point, false, messages);
    EXPECT_EQ(boxes.gain, "  -6.021");
    EXPECT_EQ(boxes.phase, "  45.0");
    EXPECT_EQ(boxes.zin, "  1.00k");
    EXPECT_EQ(boxes.zout, "  47.5 ");
    EXPECT_TRUE(messages.entries.empty());

    // The frequency is kept as typed; gain and phase keep their two leading spaces, the
    // impedances are trimmed.
    EXPECT_EQ(FormatResponseRow("  10k ", boxes, false),
              Spaces(9) + "10k" + Spaces(8) + "  -6.021" + Spaces(12) + "  45.0" + Spaces(14) +
                  "1.00k" + Spaces(15) + "47.5");
}

TEST(ResponseTable, ExtendedBoxesAndRow) {
    RecordingMessages messages;
    const ResponsePoint point = Point(-6.0206L, 45.04L, 999.7L, -47.5L);
    const ResponseBoxes boxes = FormatResponseBoxes(point, true, messages);
    EXPECT_EQ(boxes.gain, "  -6.0206000000000E+0000");
    EXPECT_EQ(boxes.phase, "  4.5040000000000E+0001");
    EXPECT_EQ(boxes.zin, "  9.9970000000000E+0002");
    EXPECT_EQ(boxes.zout, "  -4.7500000000000E+0001");
    EXPECT_EQ(FormatResponseRow("1.5M", boxes, true),
              Spaces(9) + "1.5M" + "  -6.0206000000000E+0000" + "  4.5040000000000E+0001" +
                  "9.9970000000000E+0002" + "-4.7500000000000E+0001");
}

TEST(ResponseTable, ZeroOutputShowsStarsInTheGainBoxOnly) {
    RecordingMessages messages;
    const ResponsePoint silent = Point(-50000.0L, -90.0L, 1e3L, 0.0L);
    const ResponseBoxes normal = FormatResponseBoxes(silent, false, messages);
    EXPECT_EQ(normal.gain, "   * * * ");
    EXPECT_EQ(normal.phase, "  -90.0");
    EXPECT_EQ(normal.zout, "  0.00 ");
    EXPECT_EQ(FormatResponseBoxes(silent, true, messages).gain, " * * * * *    ");
    EXPECT_EQ(FormatResponseRow("0", normal, false), Spaces(11) + "0" + Spaces(7) + "   * * * " +
                                                         Spaces(11) + "  -90.0" + Spaces(14) +
                                                         "1.00k" + Spaces(15) + "0.00");

    // Just above the threshold the number is still shown.
    EXPECT_EQ(FormatResponseBoxes(Point(-49000.0L, 0.0L, 1.0L, 1.0L), false, messages).gain,
              "  -49000.000");
}

} // namespace
} // namespace kelvor
