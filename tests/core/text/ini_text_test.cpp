// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/ini_text.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

// Lines of any platform's ends, the sections they stand in, and comments, blanks and an editor's
// byte-order mark left out; a setting split where the reader asks.
TEST(IniText, LinesSectionsAndSettings) {
    // A CR alone, CR LF and LF alone each end a line; line 4 is blank.
    constexpr char kText[] = "\xEF\xBB\xBF"
                             "before = 1\r\n"
                             "; a comment\n"
                             "\t[ First ]  \r"
                             "\r"
                             "  key = a = b \r\n"
                             "[Open\n"
                             "nul = x\0y\r\n"
                             "no sign";
    const std::string text(kText, sizeof kText - 1);
    const std::vector<IniLine> lines = ReadIniLines(text, ';');
    const struct {
        int number;
        const char* section;
        std::string text;
        bool startsSection;
    } expected[] = {
        {1, "", "before = 1", false},
        {3, "First", "[ First ]", true},
        {5, "First", "key = a = b", false},
        {6, "Open", "[Open", true},
        {7, "Open", std::string("nul = x\0y", 9), false},
        {8, "Open", "no sign", false},
    };
    ASSERT_EQ(lines.size(), std::size(expected));
    for (std::size_t index = 0; index < lines.size(); ++index) {
        EXPECT_EQ(lines[index].number, expected[index].number) << index;
        EXPECT_EQ(lines[index].section, expected[index].section) << index;
        EXPECT_EQ(lines[index].text, expected[index].text) << index;
        EXPECT_EQ(lines[index].startsSection, expected[index].startsSection) << index;
    }
    // Without a comment sign, ';' starts an ordinary line.
    EXPECT_EQ(ReadIniLines("; x\n", '\0').size(), 1u);

    const struct {
        const char* line;
        EqualsSign at;
        const char* key;
        const char* value;
    } splits[] = {
        {"key = a = b", EqualsSign::First, "key", "a = b"},
        {"R1 1 2 a=b = 5%", EqualsSign::Last, "R1 1 2 a=b", "5%"},
        {"=", EqualsSign::First, "", ""},
    };
    for (const auto& split : splits) {
        std::string key;
        std::string value;
        ASSERT_TRUE(SplitIniSetting(split.line, split.at, key, value)) << split.line;
        EXPECT_EQ(key, split.key);
        EXPECT_EQ(value, split.value);
    }
    std::string key;
    std::string value;
    EXPECT_FALSE(SplitIniSetting("no sign", EqualsSign::First, key, value));
    ASSERT_TRUE(SplitIniSetting(std::string("v = \0x", 6), EqualsSign::First, key, value));
    EXPECT_EQ(value, ""); // a value ends at a NUL
}

} // namespace
} // namespace kelvor
