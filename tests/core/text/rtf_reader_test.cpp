// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/rtf_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace kelvor {
namespace {

std::u16string Plain(std::string_view rtf) {
    return ReadRtf(rtf).PlainText();
}

struct TextCase {
    const char* name;
    std::string rtf;
    std::u16string expected;
};

TEST(RtfReader, TextParagraphsAndBreaks) {
    const std::vector<TextCase> cases = {
        {"one paragraph without \\par", "{\\rtf1 abc}", u"abc\n"},
        {"closing \\par adds no empty paragraph", "{\\rtf1 abc\\par}", u"abc\n"},
        {"two paragraphs", "{\\rtf1 a\\par b}", u"a\nb\n"},
        {"empty paragraph between", "{\\rtf1 a\\par\\par b\\par}", u"a\n\nb\n"},
        {"empty document", "{\\rtf1 }", u""},
        {"delimiting space is eaten", "{\\rtf1 a\\tab b\\line c}", u"a\tb\u2028c\n"},
        {"second space is text", "{\\rtf1 a\\tab  b}", u"a\t b\n"},
        {"raw line ends are not text", "{\\rtf1 a\r\nb\rc\nd}", u"abcd\n"},
        {"backslash line end is a paragraph", "{\\rtf1 a\\\r\nb\\\nc}", u"a\nb\nc\n"},
        {"\\sect and \\row end paragraphs", "{\\rtf1 a\\sect b\\cell c\\row d}", u"a\nb\tc\nd\n"},
        {"escaped braces and backslash", "{\\rtf1 \\{ \\} \\\\}", u"{ } \\\n"},
        {"named characters",
         "{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}",
         u"\u2014\u2013\u2022\u2018\u2019\u201C\u201D\n"},
        {"non-breaking space and hyphen, optional hyphen dropped", "{\\rtf1 a\\~b\\_c\\-d}",
         u"a\u00A0b\u2011cd\n"},
        {"unknown words and their parameters vanish", "{\\rtf1\\foo\\bar123 x\\zz-5 y\\pard\\qc z}",
         u"xyz\n"},
        {"text after the last brace is not read", "{\\rtf1 a}}}b{c}", u"a\n"},
        {"group text joins its paragraph", "{\\rtf1 a{b}{{c}}d}", u"abcd\n"},
        {"leading white space before the header", "  \r\n{\\rtf1 a}", u"a\n"},
    };
    for (const TextCase& test : cases) {
        EXPECT_EQ(Plain(test.rtf), test.expected) << test.name;
    }
}

TEST(RtfReader, EightBitEscapesAndUnicode) {
    const std::vector<TextCase> cases = {
        {"Latin-1 letter", "{\\rtf1 caf\\'e9}", u"caf\u00E9\n"},
        {"upper-case hex", "{\\rtf1 \\'C9}", u"\u00C9\n"},
        {"Windows-1252 euro and quotes", "{\\rtf1\\ansi\\ansicpg1252 \\'80\\'93\\'94}",
         u"\u20AC\u201C\u201D\n"},
        {"raw high byte is Windows-1252", "{\\rtf1 \x80\xe9}", u"\u20AC\u00E9\n"},
        {"other code pages map bytes one to one", "{\\rtf1\\ansicpg1251 \\'80}", u"\u0080\n"},
        {"one hex digit is dropped", "{\\rtf1 a\\'4}", u"a\n"},
        {"no hex digit: the escape is dropped, the text stays", "{\\rtf1 a\\'zz}", u"azz\n"},
        {"escaped control characters are not text", "{\\rtf1 a\\'0d\\'0a\\'00\\'09b}", u"a\tb\n"},
        {"\\u skips one fallback character", "{\\rtf1 \\u233?x}", u"\u00E9x\n"},
        {"\\uc0 has no fallback", "{\\rtf1\\uc0 \\u233 x}", u"\u00E9x\n"},
        {"\\uc2 skips two", "{\\rtf1\\uc2 \\u233 ab c}", u"\u00E9 c\n"},
        {"escape counts as one fallback character", "{\\rtf1 \\u233\\'e9x}", u"\u00E9x\n"},
        {"a brace ends the fallback", "{\\rtf1 {\\uc3\\u233}x}", u"\u00E9x\n"},
        {"\\uc belongs to its group", "{\\rtf1 {\\uc0 a}\\u233?b}", u"a\u00E9b\n"},
        {"negative values wrap to 16 bits", "{\\rtf1 \\u-3913?}", u"\uF0B7\n"},
        {"surrogate pair stays two units", "{\\rtf1 \\u-10179?\\u-8694?}", u"\U0001F60A\n"},
        {"out of range becomes the replacement character", "{\\rtf1 \\u99999999999?x}",
         u"\uFFFDx\n"},
        {"\\u8233 ends the paragraph", "{\\rtf1 a\\u8233?b}", u"a\nb\n"},
        {"\\u0 and frame marks are not text", "{\\rtf1 a\\u0?\\u-560?\\u-559?b}", u"ab\n"},
    };
    for (const TextCase& test : cases) {
        EXPECT_EQ(Plain(test.rtf), test.expected) << test.name;
    }
}

TEST(RtfReader, IgnorableDestinationsAreSkipped) {
    const std::vector<TextCase> cases = {
        {"info and stylesheet",
         "{\\rtf1{\\info{\\title T}{\\author A}}{\\stylesheet{\\s0 Normal;}}text}", u"text\n"},
        {"starred destinations, known or not",
         "{\\rtf1{\\*\\generator Word;}{\\*\\unknowndest xyz{nested}}text}", u"text\n"},
        {"picture data", "{\\rtf1 a{\\pict\\wmetafile8 0123abcd\\par}b}", u"ab\n"},
        {"field instruction skipped, result kept",
         "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt shown}}}", u"shown\n"},
        {"binary data may hold braces", "{\\rtf1 a{\\pict\\bin4 {{{{}b}", u"ab\n"},
        {"binary length beyond the end", "{\\rtf1 a{\\pict\\bin999999999 xyz}}", u"a\n"},
        {"negative binary length", "{\\rtf1 a{\\pict\\bin-5 xyz}b}", u"ab\n"},
        {"\\par inside the font table", "{\\rtf1{\\fonttbl\\f0 Arial;\\par}a}", u"a\n"},
        {"colour table text", "{\\rtf1{\\colortbl;\\red1\\green2\\blue3;junk}a}", u"a\n"},
        {"header and footer", "{\\rtf1{\\header head\\par}{\\footer foot}body}", u"body\n"},
    };
    for (const TextCase& test : cases) {
        EXPECT_EQ(Plain(test.rtf), test.expected) << test.name;
    }
}

TEST(RtfReader, CharacterFormatsMakeRuns) {
    const RtfDocument document =
        ReadRtf("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}"
                "{\\colortbl;\\red128\\green0\\blue0;\\red0\\green0\\blue255;}"
                "\\f1\\fs26 plain {\\b bold} {\\i\\cf2 blue}\\ul under\\ulnone  x\\par"
                "\\plain\\uldb y\\ul0 z\\b1 w\\b0 v}");
    ASSERT_EQ(document.paragraphs.size(), 2u);
    const std::vector<RtfRun>& runs = document.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 6u);
    EXPECT_EQ(runs[0].text, u"plain ");
    EXPECT_EQ(runs[0].fontName, u"Courier New");
    EXPECT_EQ(runs[0].pointSize, 13.0);
    EXPECT_FALSE(runs[0].bold);
    EXPECT_FALSE(runs[0].colour.has_value());
    EXPECT_EQ(runs[1].text, u"bold");
    EXPECT_TRUE(runs[1].bold);
    EXPECT_EQ(runs[2].text, u" ");
    EXPECT_EQ(runs[3].text, u"blue");
    EXPECT_TRUE(runs[3].italic);
    EXPECT_EQ(runs[3].colour, std::optional<uint32_t>(16711680)); // blue, red in the low byte
    EXPECT_EQ(runs[4].text, u"under");
    EXPECT_TRUE(runs[4].underline);
    EXPECT_EQ(runs[5].text, u" x");
    EXPECT_FALSE(runs[5].underline);

    // \plain returns to the default font (\deff0) and 12 points.
    const std::vector<RtfRun>& second = document.paragraphs[1].runs;
    ASSERT_EQ(second.size(), 4u);
    EXPECT_EQ(second[0].text, u"y");
    EXPECT_TRUE(second[0].underline);
    EXPECT_EQ(second[0].fontName, u"Arial");
    EXPECT_EQ(second[0].pointSize, 12.0);
    EXPECT_EQ(second[1].text, u"z");
    EXPECT_FALSE(second[1].underline);
    EXPECT_EQ(second[2].text, u"w");
    EXPECT_TRUE(second[2].bold);
    EXPECT_EQ(second[3].text, u"v");
    EXPECT_FALSE(second[3].bold);
}

TEST(RtfReader, GroupsRestoreTheOuterFormat) {
    const RtfDocument document = ReadRtf("{\\rtf1\\b a{\\b0\\i b{\\fs48 c}}d{e}}");
    ASSERT_EQ(document.paragraphs.size(), 1u);
    const std::vector<RtfRun>& runs = document.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].text, u"a");
    EXPECT_TRUE(runs[0].bold);
    EXPECT_EQ(runs[1].text, u"b");
    EXPECT_FALSE(runs[1].bold);
    EXPECT_TRUE(runs[1].italic);
    EXPECT_EQ(runs[2].text, u"c");
    EXPECT_EQ(runs[2].pointSize, 24.0);
    EXPECT_TRUE(runs[2].italic);
    // Same format again after the groups close: one run.
    EXPECT_EQ(runs[3].text, u"de");
    EXPECT_TRUE(runs[3].bold);
    EXPECT_FALSE(runs[3].italic);
    EXPECT_EQ(runs[3].pointSize, 12.0);
}

TEST(RtfReader, FontAndColourTablesInEveryWriterStyle) {
    // Entries without groups, an entry closed by its group instead of ';', a \*\panose inside an
    // entry, an "auto" colour in the middle, escapes in a font name.
    const RtfDocument document = ReadRtf(
        "{\\rtf1\\deff7{\\fonttbl\\f0 Times;\\f1 Arial;{\\f2{\\*\\panose 02070309}Courier "
        "New}{\\f3 Caf\\'e9 Sans;}}"
        "{\\colortbl;\\red255\\green0\\blue0;;\\green255;\\red999\\blue-4;}"
        "a\\f1 b\\f2 c\\f3 d\\f99 e\\f-3\\cf1 f\\cf2 g\\cf3 h\\cf4 i\\cf5 j\\cf-1 k\\cf0 l}");
    ASSERT_EQ(document.paragraphs.size(), 1u);
    const std::vector<RtfRun>& runs = document.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 10u);
    EXPECT_EQ(runs[0].fontName, u""); // \deff7 names no font of the table
    EXPECT_EQ(runs[1].fontName, u"Arial");
    EXPECT_EQ(runs[2].fontName, u"Courier New");
    EXPECT_EQ(runs[3].fontName, u"Caf\u00E9 Sans");
    EXPECT_EQ(runs[4].text, u"e");
    EXPECT_EQ(runs[4].fontName, u"");
    EXPECT_EQ(runs[5].text, u"f");
    EXPECT_EQ(runs[5].colour, std::optional<uint32_t>(255));
    EXPECT_EQ(runs[6].text, u"g");
    EXPECT_FALSE(runs[6].colour.has_value()); // the empty entry is "auto"
    EXPECT_EQ(runs[7].colour, std::optional<uint32_t>(0xFF00u));
    EXPECT_EQ(runs[8].colour, std::optional<uint32_t>(255)); // components limited to 0..255
    EXPECT_EQ(runs[9].text, u"jkl");                         // beyond the table: auto colour
    EXPECT_FALSE(runs[9].colour.has_value());
}

TEST(RtfReader, HugeAndNegativeParameters) {
    const RtfDocument document = ReadRtf("{\\rtf1 \\fs99999999999999999999 a\\fs-5 b\\fs0 c\\fs1 d"
                                         "\\uc99999999999 \\u233 xxxxx}");
    ASSERT_EQ(document.paragraphs.size(), 1u);
    const std::vector<RtfRun>& runs = document.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].text, u"a");
    EXPECT_EQ(runs[0].pointSize, 1638.0);
    EXPECT_EQ(runs[1].text, u"bc");
    EXPECT_EQ(runs[1].pointSize, 12.0);
    EXPECT_EQ(runs[2].text, u"d\u00E9"); // the skip count swallows the rest of the group
    EXPECT_EQ(runs[2].pointSize, 0.5);
    EXPECT_EQ(document.PlainText(), u"abcd\u00E9\n");
}

// Shapes that made a text box freeze: every character in its own format, a font name of a
// hundred thousand letters. The text and its positions stay; the formats are bounded.
TEST(RtfReader, HostileShapesKeepTheTextWithBoundedFormats) {
    std::string everyCharacter = "{\\rtf1 ";
    std::u16string expected;
    for (int i = 0; i < 15000; ++i) {
        everyCharacter += "\\b a\\b0 b";
        expected += u"ab";
    }
    const RtfDocument bold = ReadRtf(everyCharacter + "}");
    EXPECT_EQ(bold.PlainText(), expected + u"\n");
    ASSERT_EQ(bold.paragraphs.size(), 1u);
    const std::vector<RtfRun>& runs = bold.paragraphs[0].runs;
    EXPECT_LE(runs.size(), 10000u);
    EXPECT_TRUE(runs[0].bold);
    EXPECT_FALSE(runs[1].bold);

    const RtfDocument font =
        ReadRtf("{\\rtf1{\\fonttbl{\\f0 " + std::string(100000, 'F') + ";}}\\f0 x}");
    ASSERT_EQ(font.PlainText(), u"x\n");
    EXPECT_LE(font.paragraphs[0].runs[0].fontName.size(), 64u);
}

TEST(RtfReader, OverlongWordsAreFound) {
    const struct {
        std::string text;
        bool overlong;
    } cases[] = {
        {"ordinary words, as help has them", false},
        {std::string(256, 'a') + " " + std::string(256, 'b'), false},
        {std::string(200, 'a') + "\\tab " + std::string(200, 'b'), false},
        {std::string(200, 'a') + "\\line " + std::string(200, 'b'), false},
        {std::string(257, 'a'), true},
        {std::string(200, 'a') + "{\\b " + std::string(100, 'b') + "}", true},
    };
    for (const auto& c : cases) {
        const RtfDocument document = ReadRtf("{\\rtf1 " + c.text + "}");
        ASSERT_EQ(document.paragraphs.size(), 1u) << c.text;
        EXPECT_EQ(document.paragraphs[0].HasOverlongWord(), c.overlong) << c.text;
    }
}

TEST(RtfReader, MalformedInputNeverFails) {
    const std::vector<TextCase> cases = {
        {"unclosed groups", "{\\rtf1 {\\b a{\\i b", u"ab\n"},
        {"backslash at the very end", "{\\rtf1 a\\", u"a\n"},
        {"escape at the very end", "{\\rtf1 a\\'", u"a\n"},
        {"a minus without digits is text", "{\\rtf1 a\\fs-", u"a-\n"},
        {"NUL bytes are not text", std::string("{\\rtf1 a\0b\\'00c}", 16), u"abc\n"},
        {"header only", "{\\rtf1", u""},
        {"a control word of a thousand letters", "{\\rtf1 a\\" + std::string(1000, 'q') + " b}",
         u"ab\n"},
        {"a parameter of a thousand digits", "{\\rtf1 a\\fs" + std::string(1000, '9') + " b}",
         u"ab\n"},
        {"a starred outer group skips everything", "{\\rtf1\\* a}", u""},
    };
    for (const TextCase& test : cases) {
        EXPECT_EQ(Plain(test.rtf), test.expected) << test.name;
    }
}

TEST(RtfReader, DeepNestingKeepsTheBracesBalanced) {
    // Nesting that word processors do write keeps its formats.
    const std::string moderate =
        "{\\rtf1 a" + std::string(200, '{') + "\\b x" + std::string(200, '}') + "y}";
    const RtfDocument kept = ReadRtf(moderate);
    ASSERT_EQ(kept.paragraphs.size(), 1u);
    const std::vector<RtfRun>& runs = kept.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1].text, u"x");
    EXPECT_TRUE(runs[1].bold);
    EXPECT_EQ(runs[2].text, u"y");
    EXPECT_FALSE(runs[2].bold);

    // Far deeper than any reader should keep state for, the content is dropped but the braces
    // still pair up: the text after the deep part is read in the outer format.
    const int depth = 100000;
    const std::string deep =
        "{\\rtf1 a" + std::string(depth, '{') + "\\b x\\par" + std::string(depth, '}') + "y}";
    const RtfDocument dropped = ReadRtf(deep);
    ASSERT_EQ(dropped.paragraphs.size(), 1u);
    ASSERT_EQ(dropped.paragraphs[0].runs.size(), 1u);
    EXPECT_EQ(dropped.paragraphs[0].runs[0].text, u"ay");
    EXPECT_FALSE(dropped.paragraphs[0].runs[0].bold);

    // An ignorable destination opened beyond the limit ends with its own brace.
    const std::string skipped =
        "{\\rtf1 " + std::string(300, '{') + "{\\*\\x hidden}" + std::string(300, '}') + "shown}";
    EXPECT_EQ(Plain(skipped), u"shown\n");
}

TEST(RtfReader, InputThatIsNotRtfIsReadAsPlainText) {
    const RtfDocument document = ReadRtf("line one\r\nline\ttwo\nthree\rfour\x80\r\n\r\nlast");
    ASSERT_EQ(document.paragraphs.size(), 6u);
    EXPECT_EQ(document.PlainText(), u"line one\nline\ttwo\nthree\nfour\u20AC\n\nlast\n");
    EXPECT_FALSE(document.paragraphs[0].runs[0].pointSize.has_value());
    EXPECT_EQ(document.paragraphs[0].runs[0].fontName, u"");
    EXPECT_TRUE(document.paragraphs[4].runs.empty());

    EXPECT_TRUE(ReadRtf("").paragraphs.empty());
    EXPECT_EQ(Plain("{\\rt not rich text}"), u"{\\rt not rich text}\n");
    EXPECT_EQ(Plain(std::string("a\0b\r\n", 5)), u"ab\n");
}

// Whatever bytes arrive, the document must be consistent: the plain text is the paragraphs'
// text with one break each, no run is empty, and no character that a rich-text box would turn
// into a break of its own survives.
TEST(RtfReader, RandomInputGivesConsistentDocuments) {
    const std::string alphabet = "{}\\'*;-0123456789abcdefuplrtnsbxi \r\n\x80\xe9";
    const std::vector<std::string> words = {"\\par",      "\\u", "\\uc", "\\bin",  "\\fonttbl",
                                            "\\colortbl", "\\'", "\\*",  "\\line", "\\fs"};
    std::mt19937 random(20070101);
    for (int iteration = 0; iteration < 3000; ++iteration) {
        std::string rtf = "{\\rtf1 ";
        const int length = static_cast<int>(random() % 200);
        for (int i = 0; i < length; ++i) {
            if (random() % 4 == 0) {
                rtf += words[random() % words.size()];
            } else {
                rtf += alphabet[random() % alphabet.size()];
            }
        }
        const RtfDocument document = ReadRtf(rtf);
        std::u16string joined;
        for (const RtfParagraph& paragraph : document.paragraphs) {
            for (const RtfRun& run : paragraph.runs) {
                ASSERT_FALSE(run.text.empty()) << rtf;
                for (char16_t c : run.text) {
                    ASSERT_TRUE(c == u'\t' || c >= 0x20) << rtf;
                    ASSERT_NE(c, u'\u2029') << rtf;
                }
            }
            joined += paragraph.Text() + u'\n';
        }
        ASSERT_EQ(document.PlainText(), joined) << rtf;
    }
}

} // namespace
} // namespace kelvor
