// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/words.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvor {
namespace {

TEST(Words, NthWordSplitsOnSpacesOnly) {
    const std::string line = "  R  1 2";
    EXPECT_EQ(NthWord(line, 1), "R");
    EXPECT_EQ(NthWord(line, 2), "1");
    EXPECT_EQ(NthWord(line, 3), "2");
    EXPECT_EQ(NthWord(line, 5), "");
    EXPECT_EQ(NthWord(line, 0), "");
    EXPECT_EQ(NthWord("", 1), "");
    EXPECT_EQ(NthWord("     ", 1), "");
    // Tabs and other control characters belong to the word.
    EXPECT_EQ(NthWord("a\tb c", 1), "a\tb");
    EXPECT_EQ(NthWord("a\tb c", 2), "c");
    EXPECT_EQ(NthWord("\xe9t\xe9 x", 1), "\xe9t\xe9");
}

TEST(Words, CentreTextPadsBothSides) {
    const std::string title33(33, 'T');
    EXPECT_EQ(CentreText(title33, 50), std::string(8, ' ') + title33 + std::string(9, ' '));
    const std::string title35(35, 'T');
    EXPECT_EQ(CentreText(title35, 50), std::string(7, ' ') + title35 + std::string(8, ' '));
    const std::string title60(60, 'T');
    EXPECT_EQ(CentreText(title60, 50), title60);
    EXPECT_EQ(CentreText("ab", 2), "ab");
    EXPECT_EQ(CentreText("ab", 3), "ab ");
    EXPECT_EQ(CentreText("", 4), "    ");
    EXPECT_EQ(CentreText("ab", -5), "ab");
    EXPECT_EQ(CentreText("HPFILTER.DAT", 72).size(), 72u);
}

TEST(Words, ReplaceCharReportsWhetherAnythingChanged) {
    std::string title = "Simple_3_Element";
    EXPECT_TRUE(ReplaceChar(title, '_', ' '));
    EXPECT_EQ(title, "Simple 3 Element");
    EXPECT_FALSE(ReplaceChar(title, '_', ' '));
    EXPECT_EQ(title, "Simple 3 Element");
}

TEST(Words, TrimmingKeepsHighBytes) {
    EXPECT_EQ(TrimSpacesAndControls(" \t\r\n\x01 ab c \x1f\x20"), "ab c");
    EXPECT_EQ(TrimSpacesAndControls(std::string("\0x\0", 3)), "x");
    EXPECT_EQ(TrimSpacesAndControls("\xa0x\xff"), "\xa0x\xff");
    EXPECT_EQ(TrimSpacesAndControls("  \t "), "");
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("\ta\t"), "\ta\t");
    EXPECT_EQ(TrimSpaces("    "), "");
}

TEST(Words, CutAndRightAlign) {
    EXPECT_EQ(CutText("abcdef", 3), "abc");
    EXPECT_EQ(CutText("ab", 3), "ab");
    EXPECT_EQ(CutText("ab", 0), "");
    EXPECT_EQ(RightAlign("10k", 6), "   10k");
    EXPECT_EQ(RightAlign("123456", 4), "123456");
    EXPECT_EQ(RightAlign("", 2), "  ");
    EXPECT_EQ(RightAlign("ab", -1), "ab");
}

// "é" is two bytes in UTF-8: a cut through it drops it whole; an 8-bit name is cut by bytes.
TEST(Words, FileNamesLoseNoPartOfACharacter) {
    const struct {
        const char* name;
        std::size_t capacity;
        const char* cut;
    } cases[] = {
        {"ab\xc3\xa9.dat", 3, "ab"},
        {"ab\xc3\xa9.dat", 4, "ab\xc3\xa9"},
        {"\xf0\x9f\x94\x8c.dat", 2, ""},
        {"ab\xe9\xa9"
         "cd",
         3, "ab\xe9"},
        {"plain.dat", 5, "plain"},
        {"ab\xc3\xa9", 9, "ab\xc3\xa9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CutFileName(c.name, c.capacity), c.cut) << c.name;
    }
}

} // namespace
} // namespace kelvor
