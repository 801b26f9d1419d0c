// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/sample_datafile.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvor {
namespace {

std::string Spaces(std::size_t count) {
    return std::string(count, ' ');
}

TEST(SampleDatafile, FirstRunSampleByteForByte) {
    const std::string expected =
        Spaces(8) + "Simple_3_Element_High_Pass_Filter" + Spaces(9) + " Rev. 1" + Spaces(9) +
        "6 Dec 2026\r\n"
        "\r\n" +
        Spaces(17) + "NodeIn = 3        NodeOut = 5        NodeCom = 2\r\n" +
        "\r\n"
        "*        HPFILTER  -  Self Generated Version\r\n"
        "\r\n"
        "         R  1 2       0.2\r\n"
        "         L  1 4       2.5mH\r\n"
        "         R  2 5       8.0\r\n"
        "         C  3 4       50uF\r\n"
        "         C  4 5       50uF\r\n";
    EXPECT_EQ(SampleDatafileText("6 Dec 2026"), expected);
}

TEST(SampleDatafile, NewFileSkeletonByteForByte) {
    // The 35-character title leaves 15 columns: 7 before it, 8 after.
    const std::string expected = Spaces(7) + "NEW_FILE_-_type_in_description_here" + Spaces(8) +
                                 " Rev. 0" + Spaces(9) + "14 Feb 2027\r\n" + "\r\n" + Spaces(17) +
                                 "NodeIn = 0        NodeOut = 0        NodeCom = 0\r\n" + "\r\n";
    EXPECT_EQ(NewDatafileSkeleton("14 Feb 2027"), expected);
}

} // namespace
} // namespace kelvor
