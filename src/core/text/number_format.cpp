// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/number_format.h"

#include "text/words.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kelvor {

namespace {

// An extended real carries a little over 19 significant decimal digits; the displays use at
// most 18, the precision the program has always shown.
constexpr int kSourceDigits = 18;
constexpr int kMaxFixedDecimals = 100;

// |x| as 18 significant digits d1 d2 ... and the power of ten of d1.
struct DecimalDigits {
    std::string digits;
    int exponent = 0;
};

DecimalDigits ToDecimalDigits(long double x) {
    DecimalDigits decimal;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", kSourceDigits - 1, std::fabs(x));
    // buffer holds "d.ddddddddddddddddde+XX" (more exponent digits when needed).
    const char* p = buffer;
    decimal.digits.push_back(*p++);
    ++p;
    while (*p != 'e' && *p != '\0') {
        decimal.digits.push_back(*p++);
    }
    decimal.exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    if (x == 0) {
        decimal.exponent = 0;
    }
    return decimal;
}

// Keeps the first `keep` digits, rounding half away from zero on the next one, as the displays
// of this program always have: 2.125k shows as 2.13k. Returns true when the carry ran out of the
// front, leaving keep + 1 digits that start with 1.
bool RoundDigitsHalfUp(std::string& digits, std::size_t keep) {
    if (digits.size() <= keep) {
        digits.append(keep - digits.size(), '0');
        return false;
    }
    const bool roundUp = digits[keep] >= '5';
    digits.resize(keep);
    if (!roundUp) {
        return false;
    }
    for (std::size_t i = keep; i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            return false;
        }
    }
    digits.insert(digits.begin(), '1');
    return true;
}

bool AllZero(const std::string& digits) {
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });
}

// Mantissa with `significantDigits` digits, "E", the exponent's sign and at least
// `exponentDigits` exponent digits. No sign for the value itself.
std::string ExponentBody(long double x, int significantDigits, int exponentDigits) {
    DecimalDigits decimal = ToDecimalDigits(x);
    const auto keep = static_cast<std::size_t>(std::clamp(significantDigits, 1, kSourceDigits));
    if (RoundDigitsHalfUp(decimal.digits, keep)) {
        decimal.digits.resize(keep);
        ++decimal.exponent;
    }
    std::string text(1, decimal.digits[0]);
    if (keep > 1) {
        text += '.';
        text.append(decimal.digits, 1, std::string::npos);
    }
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "E%c%0*d", decimal.exponent < 0 ? '-' : '+',
                  std::clamp(exponentDigits, 0, 4), std::abs(decimal.exponent));
    return text + exponent;
}

// Fixed notation of x with `decimals` decimals; "-" only when a non-zero digit is shown.
std::string FixedText(long double x, int decimals) {
    decimals = std::clamp(decimals, 0, kMaxFixedDecimals);
    DecimalDigits decimal = ToDecimalDigits(x);
    if (decimal.exponent < -decimals - 1) {
        // Below half a unit of the last decimal shown: the value rounds to zero.
        decimal = DecimalDigits{"0", 0};
    }
    // Below 1 the digits are placed after "0." and any zeros that follow it.
    std::size_t integerDigits = static_cast<std::size_t>(std::max(1, decimal.exponent + 1));
    std::string digits(static_cast<std::size_t>(std::max(0, -decimal.exponent)), '0');
    digits += decimal.digits;
    if (RoundDigitsHalfUp(digits, integerDigits + static_cast<std::size_t>(decimals))) {
        ++integerDigits;
    }
    std::string text = x < 0 && !AllZero(digits) ? "-" : "";
    text.append(digits, 0, integerDigits);
    if (decimals > 0) {
        text += '.';
        text.append(digits, integerDigits, std::string::npos);
    }
    return text;
}

// Values that are not numbers print as NAN, INF or -INF in the fixed and scientific formats.
std::string NonFiniteText(long double x) {
    if (std::isnan(x)) {
        return "NAN";
    }
    return x < 0 ? "-INF" : "INF";
}

// The Str format writes them as Nan, +Inf or -Inf: infinity always carries its sign.
std::string NonFiniteStrText(long double x) {
    if (std::isnan(x)) {
        return "Nan";
    }
    return x < 0 ? "-Inf" : "+Inf";
}

} // namespace

std::string FormatScientific23(long double x) {
    if (!std::isfinite(x)) {
        return RightAlign(NonFiniteStrText(x), 23);
    }
    // The sign is appended to, not put before the body: GCC 12 at -O3 takes "-" + text for an
    // overlapping copy (-Wrestrict, its bug 105329).
    std::string text(x < 0 ? "-" : " ");
    text += ExponentBody(x, 15, 4);
    return text;
}

std::string FormatExponent(long double x, int significantDigits, int exponentDigits) {
    if (!std::isfinite(x)) {
        return NonFiniteText(x);
    }
    std::string text(x < 0 ? "-" : ""); // appended to, as in FormatScientific23
    text += ExponentBody(x, significantDigits, exponentDigits);
    return text;
}

std::string FormatFixed(long double x, int precision, int decimals) {
    if (!std::isfinite(x)) {
        return NonFiniteText(x);
    }
    const int integerDigits = x == 0 ? 1 : ToDecimalDigits(x).exponent + 1;
    if (integerDigits > precision) {
        return FormatExponent(x, precision, 0);
    }
    return FixedText(x, std::min(decimals, kSourceDigits));
}

std::string FormatFixedWidth(long double x, int width, int decimals) {
    if (!std::isfinite(x)) {
        return RightAlign(NonFiniteStrText(x), width);
    }
    return RightAlign(FixedText(x, decimals), width);
}

} // namespace kelvor
