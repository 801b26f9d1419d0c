// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kelvor {

// The range the analyser last computed a Datafile over, as the user typed it, kept beside the
// Datafile (NAME.range, next to its NAME.tol) so that the circuit opens at the range that suits
// it.
struct AnalyserRange {
    std::string start; // engineering syntax: "10", "2.5k"
    std::string end;
    int32_t pointsPerDecade = 0;
};

std::filesystem::path AnalyserRangePath(const std::filesystem::path& datafile);

std::string AnalyserRangeText(const AnalyserRange& range);
// The range a file holds; none for a file that does not hold a usable one (a hand edit gone
// wrong is simply not used: the analyser keeps its boxes as they are).
std::optional<AnalyserRange> ParseAnalyserRange(std::string_view text);

// None when there is no file or it cannot be read or used.
std::optional<AnalyserRange> ReadAnalyserRange(const std::filesystem::path& datafile);
// Written atomically; throws KelvorError saying why it cannot be.
void WriteAnalyserRange(const std::filesystem::path& datafile, const AnalyserRange& range);

} // namespace kelvor
