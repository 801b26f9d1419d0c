// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/engineering_format.h"

#include "messages.h"
#include "text/eng_value.h"
#include "text/number_format.h"

#include <cmath>
#include <string>
#include <string_view>

namespace kelvor {

namespace {

constexpr long double kLargest = 9.99e14L;
constexpr long double kSmallest = 5.01e-15L;

struct Prefix {
    char letter;
    long double multiplier;
};

// The prefix of each group of three decimal exponents, from -15 (p) to 14 (T).
Prefix PrefixForExponent(int exponent) {
    if (exponent <= -10) {
        return {'p', 1e-12L};
    }
    if (exponent <= -7) {
        return {'n', 1e-9L};
    }
    if (exponent <= -4) {
        return {'u', 1e-6L};
    }
    if (exponent <= -1) {
        return {'m', 1e-3L};
    }
    if (exponent <= 2) {
        return {' ', 1.0L};
    }
    if (exponent <= 5) {
        return {'k', 1e3L};
    }
    if (exponent <= 8) {
        return {'M', 1e6L};
    }
    if (exponent <= 11) {
        return {'G', 1e9L};
    }
    return {'T', 1e12L};
}

// Reads an integer with optional leading spaces and sign. Returns 0 on success, else the 1-based
// position of the first character that does not fit.
std::size_t ConvertInteger(std::string_view text, int& value) {
    value = 0;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return i + 1;
    }
    int magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9' || magnitude > 100000) {
            return i + 1;
        }
        magnitude = magnitude * 10 + (text[i] - '0');
    }
    value = negative ? -magnitude : magnitude;
    return 0;
}

struct PrefixPass {
    std::string text;
    Prefix prefix;
};

PrefixPass RunPrefixPass(long double x, MessageSink& messages) {
    // The exponent is taken from the text form rather than from a logarithm, so that it agrees
    // with the digits that are shown.
    const std::string scientific = FormatScientific23(x);
    int exponent = 0;
    const std::size_t failure = ConvertInteger(
        scientific.size() >= 23 ? std::string_view(scientific).substr(18, 5) : "", exponent);
    if (failure != 0) {
        messages.ShowWarning(" WARNING #1 : IER = " + std::to_string(failure));
    }
    const Prefix prefix = PrefixForExponent(exponent);
    // 2, 1 or 0 decimals for a scaled value with 1, 2 or 3 integer digits.
    const int decimals = exponent >= -12 ? 2 - (exponent + 33) % 3 : 2;
    return {FormatFixedWidth(x / prefix.multiplier, 10, decimals), prefix};
}

} // namespace

std::string FormatEngineering(long double value, MessageSink& messages) {
    long double x = value;
    if (x > kLargest) {
        x = kLargest;
    } else if (x < -kLargest) {
        x = -kLargest;
    } else if (std::fabs(x) < kSmallest) {
        x = 0.0L;
    }
    PrefixPass pass = RunPrefixPass(x, messages);
    // Rounding may have carried into a fourth digit (999.7 shows as 1000): read the text back and
    // choose the prefix again, so that it becomes 1.00k.
    long double shown = 0.0L;
    const std::size_t failure = ConvertDecimalReal(pass.text, shown);
    if (failure != 0) {
        messages.ShowWarning(" WARNING #2 : IER = " + std::to_string(failure));
    }
    pass = RunPrefixPass(shown * pass.prefix.multiplier, messages);
    return pass.text + pass.prefix.letter;
}

} // namespace kelvor
