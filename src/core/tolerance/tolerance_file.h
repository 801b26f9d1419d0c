// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tolerance/tolerance_settings.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace kelvor {

// The tolerances of a Datafile live beside it: the same name with the extension ".tol". The
// Datafile itself is never changed.
std::filesystem::path ToleranceFilePath(const std::filesystem::path& datafile);

// A small INI-like text with CR LF line ends: the kind tolerances, distribution, runs and seed
// under [Tolerances], one "component line = percent" per override under [Overrides], and one
// "from, to, lowest, highest" per mask segment under [Mask] ("-" for a limit not given).
// Comment lines start with ";".
std::string ToleranceFileText(const ToleranceSettings& settings, std::string_view datafileName);

struct MaskSegmentReading {
    std::optional<GainMaskSegment> segment;
    // Why there is none, naming the row and the column: "Gain mask row 2, Lowest (dB): "x" is
    // not a number of dB or - for none".
    std::string problem;
};

// A mask segment from its four texts: frequencies in engineering syntax above 0 with `to` not
// below `from`, limits in dB, "-" or nothing for no limit, the lowest not above the highest.
// `row` counts the segments from 1, as the panel's table and the file list them.
MaskSegmentReading ReadMaskSegment(std::string_view from, std::string_view to,
                                   std::string_view lowest, std::string_view highest, int row);

// ReadMaskSegment's segment alone.
std::optional<GainMaskSegment> ParseMaskSegment(std::string_view from, std::string_view to,
                                                std::string_view lowest, std::string_view highest);

// The four texts that ParseMaskSegment reads back as the very same segment.
std::array<std::string, 4> MaskSegmentTexts(const GainMaskSegment& segment);

struct ToleranceFileReading {
    ToleranceSettings settings;
    // Empty when the file read cleanly; otherwise a message naming the lines that could not be
    // read, whose settings keep their defaults.
    std::string problem;
};

// What cannot be read keeps its default; the rest is taken. `fileName` names the file in the
// problem message.
ToleranceFileReading ParseToleranceFileText(std::string_view text, std::string_view fileName);

// A missing file gives the defaults and no problem; an unreadable one the defaults and why.
ToleranceFileReading ReadToleranceFile(const std::filesystem::path& path);

// Written atomically. Throws KelvorError when it cannot be written.
void WriteToleranceFile(const std::filesystem::path& path, const ToleranceSettings& settings,
                        std::string_view datafileName);

} // namespace kelvor
