// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kelvor {

class MessageSink;

// How many Datafiles File / Recent Datafiles remembers.
inline constexpr std::size_t kRecentDatafileCount = 8;

inline constexpr const char* kSettingsFileName = "KELVOR.INI";

// The values kept in KELVOR.INI, section "Parameters", with their defaults.
struct Settings {
    std::string Datafilename = "HPFILTER.DAT";
    std::string GraphOriginX = "0.5";
    std::string GraphOriginY = "0.5";
    std::string GraphScaleXY = "200";
    bool BoldFont = false;
    int32_t GraphBoxColour = 12632256;
    int32_t FCode = 8;
    std::string FSStr = "250";
    std::string FFStr = "360";
    std::string SqFStr = "3k";
    std::string WidthStr = "200u";
    int32_t GraphScale = 25;
    int32_t GraphTop = 0;
    // The Datafiles opened last, most recent first; empty places at the end. Kept after the
    // keys above as "Recent1" to "Recent8", only those in use.
    std::array<std::string, kRecentDatafileCount> RecentDatafiles;
};

// Puts the name first in the recent Datafiles, once, dropping the oldest when all are in use.
void RememberRecentDatafile(Settings& settings, const std::string& name);
// Takes the name out of the recent Datafiles, closing the gap.
void ForgetRecentDatafile(Settings& settings, const std::string& name);

inline constexpr std::size_t kSettingsTextCapacity = 30;

// Reads the keys from INI text; missing keys, junk lines and non-integers give the defaults.
Settings ParseSettingsText(std::string_view iniText);

// The INI text with every key in its order and "Updated" last, CR LF line ends.
std::string SettingsText(const Settings& settings, const std::string& today);

// Reads KELVOR.INI from the folder, falls back to the sample Datafile when the named one is
// missing (writing it, with a warning, when that is missing too), then writes the settings back.
// A settings file that cannot be read or written is passed over silently; a sample Datafile that
// cannot be written throws KelvorError.
Settings ReadSettings(const std::filesystem::path& folder, MessageSink& messages,
                      const std::string& today);

// Writes KELVOR.INI through a temporary file and an atomic rename. Throws KelvorError when it
// cannot.
void WriteSettings(const std::filesystem::path& folder, const Settings& settings,
                   const std::string& today);

} // namespace kelvor
