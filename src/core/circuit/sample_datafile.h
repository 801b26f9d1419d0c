// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace kelvor {

inline constexpr const char* kSampleDatafileName = "HPFILTER.DAT";

// The first-run sample "HPFILTER.DAT", byte for byte, dated `today`.
std::string SampleDatafileText(const std::string& today);

// What File/Open writes for a new name: title line, blank line, zero node line, blank line.
std::string NewDatafileSkeleton(const std::string& today);

} // namespace kelvor
