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
    ParsedDatafile parsed;
    parsed.name = std::filesystem::path(path).filename().string();
    parsed.outcome = ParseDatafileText(ReadDatafileBytes(path), parsed.state, TodayText());
    return parsed;
}

bool Arguments::Flag(const std::string& name) {
    for (auto it = arguments_.begin(); it != arguments_.end(); ++it) {
        if (*it == name) {
            arguments_.erase(it);
            return true;
        }
    }
    return false;
}

std::optional<std::string> Arguments::Value(const std::string& name) {
    const std::optional<std::vector<std::string>> values = Values(name, 1);
    return values ? std::optional<std::string>(values->front()) : std::nullopt;
}

std::optional<std::vector<std::string>> Arguments::Values(const std::string& name,
                                                          std::size_t count) {
    for (auto it = arguments_.begin(); it != arguments_.end(); ++it) {
        if (*it == name) {
            if (static_cast<std::size_t>(arguments_.end() - it) <= count) {
                throw UsageError{name + (count == 1
                                             ? " needs a value"
                                             : " needs " + std::to_string(count) + " values")};
            }
            std::vector<std::string> values(it + 1, it + 1 + static_cast<std::ptrdiff_t>(count));
            arguments_.erase(it, it + 1 + static_cast<std::ptrdiff_t>(count));
            return values;
        }
    }
    return std::nullopt;
}

std::vector<std::string> Arguments::Positional() const {
    for (const std::string& argument : arguments_) {
        if (argument.size() > 1 && argument.starts_with("--")) {
            throw UsageError{"unknown option " + argument};
        }
    }
    return arguments_;
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
