// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvor {

// The n-th (from 1) run of characters other than the space; empty when there are fewer words.
std::string NthWord(std::string_view line, int n);

// Pads with (width - length) / 2 spaces on each side, plus one more space at the end when that is
// still short of width. Text not shorter than width comes back unpadded.
std::string CentreText(std::string_view text, int width);

// Replaces every occurrence of from by to; true when at least one was replaced.
bool ReplaceChar(std::string& text, char from, char to);

// Removes spaces and control characters (codes 0 to 32) from both ends.
std::string TrimSpacesAndControls(std::string_view text);

// Removes spaces (only) from both ends.
std::string TrimSpaces(std::string_view text);

// Texts have a bounded capacity: what does not fit is cut, never an error.
std::string CutText(std::string_view text, std::size_t capacity);

// A file name cut the same way; a name in UTF-8, as the file system spells names, loses no part
// of a character: a character that does not fit goes whole.
std::string CutFileName(std::string_view name, std::size_t capacity);

// Puts spaces before text until it is width wide; wider text is left as it is.
std::string RightAlign(std::string_view text, int width);

} // namespace kelvor
