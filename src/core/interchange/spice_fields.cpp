// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/spice_fields.h"

#include "interchange/decimal_value.h"

#include <algorithm>

namespace kelvor {

namespace {

// Options that set initial conditions, temperatures or noise: no part of a small-signal AC
// response at the nominal temperature.
bool IsHarmlessOption(const std::string& key) {
    static const char* const kHarmless[] = {"ic", "temp", "dtemp", "noiseless"};
    return std::any_of(std::begin(kHarmless), std::end(kHarmless),
                       [&](const char* harmless) { return key == harmless; });
}

bool IsZero(const std::string& text) {
    const std::optional<DecimalValue> value = ParseSpiceNumber(text);
    return value && value->digits == "0";
}

} // namespace

ElementFields SplitElementFields(const SpiceElement& element) {
    ElementFields fields;
    for (const std::string& field : element.fields) {
        const std::size_t equals = field.find('=');
        if (equals == std::string::npos) {
            if (!fields.value) {
                fields.value = field;
            } else {
                fields.unknown.push_back(field);
            }
            continue;
        }
        const std::string key = field.substr(0, equals);
        const std::string value = field.substr(equals + 1);
        if (key == "rser") {
            fields.seriesResistance = value;
        } else if (key == "rpar") {
            fields.parallelResistance = value;
        } else if (key == "cpar") {
            fields.parallelCapacitance = value;
        } else if (IsHarmlessOption(key)) {
            fields.ignored.push_back(field);
        } else {
            fields.unknown.push_back(field);
        }
    }
    return fields;
}

SourceFields SplitSourceFields(const SpiceElement& element) {
    SourceFields source;
    const std::vector<std::string>& f = element.fields;
    bool allZero = true;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (f[i] == "ac") {
            std::string magnitude = "1"; // "AC" alone drives 1 V
            if (i + 1 < f.size() && ParseSpiceNumber(f[i + 1])) {
                magnitude = f[++i];
                if (i + 1 < f.size() && ParseSpiceNumber(f[i + 1])) {
                    ++i; // its phase
                }
            }
            allZero = allZero && IsZero(magnitude);
            source.acMagnitude = magnitude;
        } else if (f[i] != "dc" && !IsZero(f[i])) {
            allZero = false;
        }
    }
    source.zeroVolt = allZero;
    return source;
}

std::optional<long double> SpiceValue(const std::string& text) {
    const std::optional<DecimalValue> value = ParseSpiceNumber(text);
    if (!value) {
        return std::nullopt;
    }
    return ApproximateValue(*value);
}

} // namespace kelvor
