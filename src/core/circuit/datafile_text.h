// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelvor {

// The header lines and line handling that every writer of a Datafile shares: the sample, the
// new-file skeleton and the editors.

// Lines as the reader numbers them: CR LF, LF alone and CR alone each end one line, and a line
// end at the very end of the file does not begin another line. Lines are kept whole.
std::vector<std::string> SplitDatafileLines(std::string_view bytes);

// Each line followed by CR LF.
std::string JoinDatafileLines(const std::vector<std::string>& lines);

// Line 1: the title centred in 50 columns, " Rev. " and the revision, 9 spaces, the date.
std::string StandardTitleLine(std::string_view title, int revision, std::string_view date);

// Line 3: 17 spaces, then the three node texts after their names, 8 spaces between them.
std::string StandardNodeLine(std::string_view nodeIn, std::string_view nodeOut,
                             std::string_view nodeCom);

// A Datafile's name is kept to 30 bytes; one of more than 28 is refused or warned about, as a
// cut name no longer finds its file.
inline constexpr std::size_t kDatafileNameCapacity = 30;
inline constexpr std::size_t kLongestDatafileName = 28;
inline constexpr const char* kDatafileNameTooLong = "\r\n   Filename too long - 24 chars max.    ";

inline constexpr std::size_t kHeaderLineCount = 4;
inline constexpr std::size_t kFormEditorLineCapacity = 132;

// What the form editor edits as text: the lines after the header, each cut to 132 characters.
// Line 4 is a body line to the reader, so one that holds anything is kept as the first line
// rather than dropped with the header that the editor writes afresh.
std::vector<std::string> FormEditorBodyLines(const std::vector<std::string>& fileLines);

} // namespace kelvor
