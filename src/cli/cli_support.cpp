// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_support.h"

#include "text/date_text.h"
#include "text/eng_value.h"

#include <filesystem>
#include <ostream>

namespace kelvor::cli {

void StreamMessages::ShowInfo(const std::string& message) {
    err_ << ForTerminal(message) << '\n';
}

void StreamMessages::ShowWarning(const std::string& message) {
    err_ << "warning: " << ForTerminal(message) << '\n';
}

void StreamMessages::ShowError(const std::string& message) {
    err_ << "error: " << ForTerminal(message) << '\n';
}

Answer StreamMessages::Ask(const std::string& question, QuestionButtons) {
    err_ << ForTerminal(question) << " (answered No)\n";
    return Answer::No;
}

std::string ForTerminal(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                continue;
            }
            result += '\n';
        } else {
            result += text[i];
        }
    }
    return result;
}

ParsedDatafile ParseDatafileAt(const std::string& path) {
    return {std::filesystem::path(path).filename().string(), LoadDatafile(path, TodayText())};
}

long double ParseFrequencyArgument(const std::string& text) {
    bool ok = true;
    const long double frequency = ParseEngValue(text, ok);
    if (!ok || frequency < 0) {
        throw UsageError{"Not a Valid Frequency: " + text};
    }
    return frequency;
}

FrequencyRange RangeFromArguments(const std::optional<std::string>& from,
                                  const std::optional<std::string>& to) {
    if (!from || !to) {
        throw UsageError{"--from F --to F is needed"};
    }
    const FrequencyRangeReading reading = ReadFrequencyRange(*from, *to, "--from", "--to");
    if (!reading.range) {
        throw UsageError{reading.problem};
    }
    return *reading.range;
}

int32_t PointsPerDecadeFromArgument(const std::optional<std::string>& text) {
    if (!text) {
        return kDefaultPointsPerDecade;
    }
    const int32_t perDecade = IntegerOption("--ppd", *text);
    if (const auto problem = PointsPerDecadeProblem(perDecade, "--ppd")) {
        throw UsageError{*problem};
    }
    return perDecade;
}

int32_t IntegerOption(const std::string& name, const std::string& text) {
    bool ok = true;
    const int32_t value = ParseIntField(text, ok);
    if (!ok) {
        throw UsageError{name + " must be an integer"};
    }
    return value;
}

int32_t IntegerOptionWithin(const std::string& name, const std::string& text, int32_t low,
                            int32_t high) {
    const int32_t value = IntegerOption(name, text);
    if (value < low || value > high) {
        throw UsageError{name + " must lie from " + std::to_string(low) + " to " +
                         std::to_string(high)};
    }
    return value;
}

} // namespace kelvor::cli
