// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/significant_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace kelvor {
namespace {

constexpr const char* kPrefixes[] = {"f", "p", "n", "u", "m", "", "k", "M", "G", "T"};
constexpr int kUnitPrefix = 5; // index of no prefix
constexpr int kPrefixCount = static_cast<int>(std::size(kPrefixes));
// Fixed notation from 0.001 to 999999; an exponent outside.
constexpr int kLeastFixedExponent = -3;
constexpr int kGreatestFixedExponent = 5;

// The decimal exponent of the value once rounded to `digits` digits, so that 999.996 at five
// digits counts as 1000 and moves to the next prefix.
int RoundedExponent(long double value, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*Le", digits - 1, value);
    const char* exponent = std::strchr(text, 'e');
    return exponent == nullptr ? 0 : std::atoi(exponent + 1);
}

int PrefixIndex(int exponent) {
    const int group = exponent >= 0 ? exponent / 3 : -((-exponent + 2) / 3);
    return std::clamp(group + kUnitPrefix, 0, kPrefixCount - 1);
}

// Whether a number of this decimal exponent is written without one.
bool Fixed(int exponent) {
    return exponent >= kLeastFixedExponent && exponent <= kGreatestFixedExponent;
}

std::string WithUnit(const char* number, const char* prefix, std::string_view unit) {
    std::string text(number);
    if (*prefix != '\0' || !unit.empty()) {
        text += ' ';
    }
    text += prefix;
    text += unit;
    return text;
}

} // namespace

std::string FormatSignificant(long double value, int digits, std::string_view unit,
                              bool withPrefix) {
    char number[80];
    if (value == 0) { // -0 too
        return WithUnit("0", "", unit);
    }
    if (!std::isfinite(value)) {
        std::snprintf(number, sizeof number, "%.0Lf", value);
        return WithUnit(number, "", unit);
    }
    const int exponent = RoundedExponent(value, digits);
    int prefix = withPrefix ? PrefixIndex(exponent) : kUnitPrefix;
    if (!Fixed(exponent - 3 * (prefix - kUnitPrefix))) {
        prefix = kUnitPrefix; // an exponent on a prefixed unit would hide the magnitude
    }
    const int shift = 3 * (prefix - kUnitPrefix);
    const long double scaled = value / std::pow(10.0L, static_cast<long double>(shift));
    const int scaledExponent = exponent - shift;
    if (!Fixed(scaledExponent)) {
        // Beyond the prefixes a fixed notation would run to hundreds of digits.
        std::snprintf(number, sizeof number, "%.*Le", digits - 1, scaled);
    } else {
        const int decimals = std::max(0, digits - 1 - scaledExponent);
        std::snprintf(number, sizeof number, "%.*Lf", decimals, scaled);
    }
    return WithUnit(number, kPrefixes[prefix], unit);
}

std::string FormatAxisLabel(long double value, std::string_view unit) {
    char number[80];
    if (value == 0 || !std::isfinite(value)) {
        return WithUnit("0", "", unit);
    }
    const int exponent = RoundedExponent(value, 6);
    int prefix = PrefixIndex(exponent);
    if (!Fixed(exponent - 3 * (prefix - kUnitPrefix))) {
        prefix = kUnitPrefix;
    }
    const long double scaled =
        value / std::pow(10.0L, static_cast<long double>(3 * (prefix - kUnitPrefix)));
    // Six digits hide the rounding noise of tick positions; %Lg drops the trailing zeros.
    std::snprintf(number, sizeof number, "%.6Lg", scaled);
    return WithUnit(number, kPrefixes[prefix], unit);
}

} // namespace kelvor
