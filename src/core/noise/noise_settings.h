// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace kelvor {

// The input noise of one op-amp: voltage in series with its + input, current at each input.
struct OpAmpNoise {
    long double voltage = 10e-9L; // V/rtHz
    long double current = 1e-12L; // A/rtHz
};

inline constexpr long double kDefaultNoiseTemperature = 27; // degrees Celsius, as SPICE
inline constexpr long double kZeroCelsiusInKelvin = 273.15L;

struct NoiseSettings {
    long double temperatureCelsius = kDefaultNoiseTemperature;
    // By Datafile line number of an op-amp; lines not named take the defaults.
    std::map<int, OpAmpNoise> opAmps;

    OpAmpNoise OpAmpAt(int line) const {
        const auto found = opAmps.find(line);
        return found == opAmps.end() ? OpAmpNoise{} : found->second;
    }
};

// The noise settings of a Datafile live beside it, as its tolerances do, in a file of their
// own (the same name with ".noi") so that the tolerance file stays as it always was.
std::filesystem::path NoiseFilePath(const std::filesystem::path& datafile);

// CR LF text: "Temperature = C" under [Noise], one "line = en, in" per op-amp under [OpAmps],
// values in engineering syntax. Comment lines start with ";".
std::string NoiseFileText(const NoiseSettings& settings, std::string_view datafileName);

struct NoiseFileReading {
    NoiseSettings settings;
    std::string problem; // empty when every line was read; else the lines that kept defaults
};

NoiseFileReading ParseNoiseFileText(std::string_view text, std::string_view fileName);

// A missing file gives the defaults and no problem; an unreadable one the defaults and why.
NoiseFileReading ReadNoiseFile(const std::filesystem::path& path);

// Written atomically. Throws KelvorError when it cannot be written.
void WriteNoiseFile(const std::filesystem::path& path, const NoiseSettings& settings,
                    std::string_view datafileName);

} // namespace kelvor
