// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/tolerance_settings.h"

#include "circuit/component_kind.h"
#include "text/concat.h"
#include "text/eng_value.h"
#include "text/words.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kelvor {
namespace {

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

} // namespace

ToleranceSettings DefaultToleranceSettings() {
    ToleranceSettings settings;
    for (const ComponentKind& kind : ComponentKinds()) {
        settings.kindPercent[kind.letter] = kind.defaultTolerancePercent;
    }
    return settings;
}

long double TolerancePercent(const ToleranceSettings& settings, char kind,
                             const std::string& lineKey) {
    if (const auto line = settings.linePercent.find(lineKey); line != settings.linePercent.end()) {
        return line->second;
    }
    const auto found = settings.kindPercent.find(kind);
    return found == settings.kindPercent.end() ? 0 : found->second;
}

std::string ComponentLineKey(std::string_view line) {
    std::string spaced(line);
    std::replace(spaced.begin(), spaced.end(), '\t', ' ');
    std::string key;
    for (int n = 1;; ++n) {
        const std::string word = NthWord(spaced, n);
        if (word.empty()) {
            return key;
        }
        key += (key.empty() ? "" : " ") + word;
    }
}

std::optional<long double> ParsePercent(std::string_view text) {
    std::string number = TrimSpaces(text);
    if (!number.empty() && number.back() == '%') {
        number = TrimSpaces(std::string_view(number).substr(0, number.size() - 1));
    }
    long double value = 0;
    if (number.empty() || ConvertDecimalReal(number, value) != 0 || !(value >= 0) ||
        !(value < kToleranceLimitPercent)) {
        return std::nullopt;
    }
    return value;
}

std::string PercentText(long double percent) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, percent);
    return std::string(text, result.ptr) + "%";
}

std::optional<char> ToleranceKindOf(std::string_view text) {
    if (text.size() != 1 || !IsComponentKind(Upper(text[0]))) {
        return std::nullopt;
    }
    return Upper(text[0]);
}

std::optional<ToleranceDistribution> ParseDistribution(std::string_view text) {
    std::string name = TrimSpaces(text);
    std::transform(name.begin(), name.end(), name.begin(), Upper);
    if (name == "UNIFORM") {
        return ToleranceDistribution::Uniform;
    }
    if (name == "GAUSSIAN") {
        return ToleranceDistribution::Gaussian;
    }
    return std::nullopt;
}

const char* DistributionName(ToleranceDistribution distribution) {
    return distribution == ToleranceDistribution::Gaussian ? "Gaussian" : "Uniform";
}

std::optional<std::string> ApplyKindTolerances(std::string_view list, ToleranceSettings& settings) {
    ToleranceSettings changed = settings;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        const std::size_t equals = item.find('=');
        const auto kind = equals == std::string_view::npos
                              ? std::nullopt
                              : ToleranceKindOf(TrimSpaces(item.substr(0, equals)));
        if (!kind) {
            return Concat({"\"", item, "\" does not name a kind of ", ComponentKindLetters(),
                           " as KIND=PERCENT"});
        }
        const auto percent = ParsePercent(item.substr(equals + 1));
        if (!percent) {
            return Concat({"\"", item, "\" needs a percentage from 0 to below 100"});
        }
        changed.kindPercent[*kind] = *percent;
    }
    settings = std::move(changed);
    return std::nullopt;
}

std::optional<std::string> ToleranceRunsProblem(long long runs, std::string_view name) {
    if (runs >= 1 && runs <= kMostToleranceRuns) {
        return std::nullopt;
    }
    return std::string(name) + ": " + std::to_string(runs) + " is outside 1 to " +
           std::to_string(kMostToleranceRuns);
}

} // namespace kelvor
