// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/analyser_range_file.h"

#include "bode/bode_grid.h"
#include "circuit/datafile_text.h"
#include "files/file_io.h"
#include "kelvor_error.h"
#include "text/words.h"

#include <charconv>

namespace kelvor {
namespace {

constexpr const char* kSection = "[Analyser]";
constexpr const char* kStart = "Start";
constexpr const char* kEnd = "End";
constexpr const char* kPointsPerDecade = "PointsPerDecade";

} // namespace

std::filesystem::path AnalyserRangePath(const std::filesystem::path& datafile) {
    std::filesystem::path path = datafile;
    return path.replace_extension(".range");
}

std::string AnalyserRangeText(const AnalyserRange& range) {
    return std::string("; The Bode analyser's range for this Datafile.\r\n") + kSection + "\r\n" +
           kStart + " = " + range.start + "\r\n" + kEnd + " = " + range.end + "\r\n" +
           kPointsPerDecade + " = " + std::to_string(range.pointsPerDecade) + "\r\n";
}

std::optional<AnalyserRange> ParseAnalyserRange(std::string_view text) {
    AnalyserRange range;
    bool inSection = false;
    for (const std::string& line : SplitDatafileLines(text)) {
        const std::string trimmed = TrimSpacesAndControls(line);
        if (trimmed.empty() || trimmed.front() == ';') {
            continue;
        }
        if (trimmed.front() == '[') {
            inSection = trimmed == kSection;
            continue;
        }
        const std::size_t equals = trimmed.find('=');
        if (!inSection || equals == std::string::npos) {
            continue;
        }
        const std::string key = TrimSpaces(std::string_view(trimmed).substr(0, equals));
        const std::string value = TrimSpaces(std::string_view(trimmed).substr(equals + 1));
        if (key == kStart) {
            range.start = value;
        } else if (key == kEnd) {
            range.end = value;
        } else if (key == kPointsPerDecade) {
            const auto read =
                std::from_chars(value.data(), value.data() + value.size(), range.pointsPerDecade);
            if (read.ec != std::errc() || read.ptr != value.data() + value.size()) {
                return std::nullopt;
            }
        }
    }
    if (!ParseFrequencyRange(range.start, range.end) || range.pointsPerDecade < 1 ||
        range.pointsPerDecade > kMostPointsPerDecade) {
        return std::nullopt;
    }
    return range;
}

std::optional<AnalyserRange> ReadAnalyserRange(const std::filesystem::path& datafile) {
    const std::filesystem::path path = AnalyserRangePath(datafile);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    try {
        return ParseAnalyserRange(ReadWholeFile(path));
    } catch (const KelvorError&) {
        return std::nullopt;
    }
}

void WriteAnalyserRange(const std::filesystem::path& datafile, const AnalyserRange& range) {
    WriteFileAtomically(AnalyserRangePath(datafile), AnalyserRangeText(range));
}

} // namespace kelvor
