// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/analyser_range_file.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

// A range is kept beside the Datafile and read back as typed; a file that does not hold a
// usable range (hand edits gone wrong, a range the analyser refuses) is not used.
TEST(AnalyserRangeFile, KeptBesideTheDatafileAndReadBackAsTyped) {
    testing::TempFolder folder;
    const auto datafile = folder.path() / "AMP.DAT";
    EXPECT_FALSE(ReadAnalyserRange(datafile).has_value());
    WriteAnalyserRange(datafile, {"2.5k", "1M", 40});
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "AMP.range"));
    const auto read = ReadAnalyserRange(datafile);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->start, "2.5k");
    EXPECT_EQ(read->end, "1M");
    EXPECT_EQ(read->pointsPerDecade, 40);

    const char* unusable[] = {
        "[Analyser]\r\nStart = 1k\r\nEnd = 10\r\nPointsPerDecade = 10\r\n",
        "[Analyser]\r\nStart = 1k\r\nEnd = 10k\r\nPointsPerDecade = 2001\r\n",
        "[Analyser]\r\nStart = 1k\r\nEnd = 10k\r\nPointsPerDecade = ten\r\n",
        "[Other]\r\nStart = 1k\r\nEnd = 10k\r\nPointsPerDecade = 10\r\n",
        "",
    };
    for (const char* text : unusable) {
        EXPECT_FALSE(ParseAnalyserRange(text).has_value()) << text;
    }
    // Comments and keys of later versions are passed over.
    EXPECT_TRUE(ParseAnalyserRange("; mine\r\n[Analyser]\r\nStart = 1\r\nEnd = 1k\r\n"
                                   "Markers = on\r\nPointsPerDecade = 5\r\n")
                    .has_value());
}

} // namespace
} // namespace kelvor
