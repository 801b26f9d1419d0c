// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvor {

// Texts are UTF-16 because a rich-text box counts its character positions in UTF-16 code units:
// an offset into RtfDocument::PlainText() is the caret position the box shows for it.

// One stretch of text in one character format.
struct RtfRun {
    std::u16string text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<double> pointSize; // empty: the box's own size (plain-text documents)
    std::optional<uint32_t> colour;  // 24-bit, red in the low byte; empty: the box's own colour
    std::u16string fontName;         // empty: the box's own font

    bool SameFormat(const RtfRun& other) const;
};

struct RtfParagraph {
    std::vector<RtfRun> runs;

    std::u16string Text() const;
    // A word (characters between spaces, tabs and line breaks) longer than any real one: a text
    // box takes time growing with the square of its length to wrap it, so such a paragraph is
    // shown unwrapped.
    bool HasOverlongWord() const;
};

inline constexpr std::size_t kLongestWrappedWord = 256;

struct RtfDocument {
    std::vector<RtfParagraph> paragraphs;

    // Every paragraph followed by one '\n': one position per character and one per paragraph
    // break, as the rich-text box counts them.
    std::u16string PlainText() const;
};

// A line break inside a paragraph (\line); one position, like a box's line separator.
inline constexpr char16_t kRtfLineBreak = u'\u2028';

// Reads the rich text that word processors write: groups, paragraphs, tabs and line breaks, bold,
// italic, underline, font size, fonts and colours, 8-bit escapes (Windows-1252) and \u
// characters. Unknown control words and ignorable destinations are skipped. Input that does not
// start with "{\rtf" is read as plain 8-bit text, one paragraph per line, as a rich-text box
// loads it. Malformed input never fails: what cannot be read is dropped.
RtfDocument ReadRtf(std::string_view bytes);

} // namespace kelvor
