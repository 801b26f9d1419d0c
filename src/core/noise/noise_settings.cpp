// SPDX-License-Identifier: GPL-3.0-or-later
#include "noise/noise_settings.h"

#include "files/file_io.h"
#include "kelvor_error.h"
#include "text/eng_value.h"
#include "text/text_lines.h"
#include "text/words.h"

#include <charconv>
#include <optional>
#include <vector>

namespace kelvor {
namespace {

constexpr std::string_view kNoiseSection = "[Noise]";
constexpr std::string_view kOpAmpSection = "[OpAmps]";
constexpr std::string_view kTemperatureKey = "Temperature";
constexpr int kProblemsListed = 5;

std::string Number(long double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::optional<long double> Value(std::string_view text) {
    bool ok = true;
    const long double value = ParseEngValue(TrimSpaces(text), ok);
    return ok ? std::optional(value) : std::nullopt;
}

bool ReadOpAmp(std::string_view key, std::string_view value, NoiseSettings& settings) {
    const std::size_t comma = value.find(',');
    int line = 0;
    const auto parsed = std::from_chars(key.data(), key.data() + key.size(), line);
    if (parsed.ec != std::errc() || parsed.ptr != key.data() + key.size() || line < 1 ||
        comma == std::string_view::npos) {
        return false;
    }
    const auto voltage = Value(value.substr(0, comma));
    const auto current = Value(value.substr(comma + 1));
    if (!voltage || !current || *voltage < 0 || *current < 0) {
        return false;
    }
    settings.opAmps[line] = {*voltage, *current};
    return true;
}

} // namespace

std::filesystem::path NoiseFilePath(const std::filesystem::path& datafile) {
    std::filesystem::path path = datafile;
    return path.replace_extension(".noi");
}

std::string NoiseFileText(const NoiseSettings& settings, std::string_view datafileName) {
    std::string text = "; Noise analysis settings of " + std::string(datafileName) + "\r\n" +
                       "; Op-amps: Datafile line = input voltage noise (V/rtHz), input current "
                       "noise (A/rtHz)\r\n" +
                       std::string(kNoiseSection) + "\r\n" + std::string(kTemperatureKey) + " = " +
                       Number(settings.temperatureCelsius) + "\r\n" + std::string(kOpAmpSection) +
                       "\r\n";
    for (const auto& [line, noise] : settings.opAmps) {
        text += std::to_string(line) + " = " + Number(noise.voltage) + ", " +
                Number(noise.current) + "\r\n";
    }
    return text;
}

NoiseFileReading ParseNoiseFileText(std::string_view text, std::string_view fileName) {
    NoiseFileReading reading;
    std::vector<int> badLines;
    std::string_view section;
    int lineNumber = 0;
    for (TextLines lines(text); !lines.AtEnd();) {
        ++lineNumber;
        const std::string line = TrimSpaces(lines.Next());
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line == kNoiseSection || line == kOpAmpSection) {
            section = line == kNoiseSection ? kNoiseSection : kOpAmpSection;
            continue;
        }
        const std::size_t equals = line.find('=');
        bool read = false;
        if (equals != std::string::npos) {
            const std::string key = TrimSpaces(std::string_view(line).substr(0, equals));
            const std::string_view value = std::string_view(line).substr(equals + 1);
            if (section == kNoiseSection && key == kTemperatureKey) {
                const auto celsius = Value(value);
                read = celsius && *celsius > -kZeroCelsiusInKelvin;
                if (read) {
                    reading.settings.temperatureCelsius = *celsius;
                }
            } else if (section == kOpAmpSection) {
                read = ReadOpAmp(key, value, reading.settings);
            }
        }
        if (!read) {
            badLines.push_back(lineNumber);
        }
    }
    if (!badLines.empty()) {
        reading.problem = std::string(fileName) + ": could not read line";
        reading.problem += badLines.size() > 1 ? "s " : " ";
        for (std::size_t index = 0; index < badLines.size() && index < kProblemsListed; ++index) {
            reading.problem += (index > 0 ? ", " : "") + std::to_string(badLines[index]);
        }
        reading.problem += badLines.size() > kProblemsListed ? ", ..." : "";
        reading.problem += "; their settings keep the defaults.";
    }
    return reading;
}

NoiseFileReading ReadNoiseFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return {};
    }
    try {
        return ParseNoiseFileText(ReadWholeFile(path), path.filename().string());
    } catch (const KelvorError& failure) {
        return {NoiseSettings{},
                std::string(failure.what()) + " The default noise settings are used."};
    }
}

void WriteNoiseFile(const std::filesystem::path& path, const NoiseSettings& settings,
                    std::string_view datafileName) {
    WriteFileAtomically(path, NoiseFileText(settings, datafileName));
}

} // namespace kelvor
