// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/utf16_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvor {
namespace {

TEST(Utf16Text, Windows1252DiffersFromLatin1OnlyInItsMiddleRow) {
    const struct {
        unsigned char byte;
        char16_t expected;
    } cases[] = {
        {0x00, 0x0000}, {0x41, u'A'},      {0x7F, 0x007F}, {0x80, u'\u20AC'}, {0x81, 0x0081},
        {0x8D, 0x008D}, {0x8F, 0x008F},    {0x90, 0x0090}, {0x91, u'\u2018'}, {0x96, u'\u2013'},
        {0x9D, 0x009D}, {0x9F, u'\u0178'}, {0xA0, 0x00A0}, {0xE9, u'\u00E9'}, {0xFF, 0x00FF},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(DecodeWindows1252(test.byte), test.expected) << int(test.byte);
    }
}

TEST(Utf16Text, Utf8Conversion) {
    EXPECT_EQ(Utf8FromUtf16(u"abc"), "abc");
    EXPECT_EQ(Utf8FromUtf16(u"\u00E9\u20AC"), "\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(Utf8FromUtf16(u"\u07FF\u0800\uFFFF"), "\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF");
    EXPECT_EQ(Utf8FromUtf16(u"\U0001F60A"), "\xF0\x9F\x98\x8A");
    EXPECT_EQ(Utf8FromUtf16(u""), "");
    // Unpaired halves of a surrogate pair, at the end, in the middle, in the wrong order.
    EXPECT_EQ(Utf8FromUtf16(std::u16string{0xD83D}), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8FromUtf16(std::u16string{0xD83D, u'x'}), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf8FromUtf16(std::u16string{0xDE0A, 0xD83D}), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

} // namespace
} // namespace kelvor
