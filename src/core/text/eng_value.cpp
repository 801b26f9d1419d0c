// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/eng_value.h"

#include "text/words.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace kelvor {

namespace {

constexpr std::size_t kNumberFieldCapacity = 30;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsScaleLetter(char c) {
    switch (c) {
    case 'G':
    case 'M':
    case 'k':
    case 'm':
    case 'u':
    case 'n':
    case 'p':
        return true;
    default:
        return false;
    }
}

long double ScaleFactor(char c) {
    switch (c) {
    case 'G':
        return 1e9L;
    case 'M':
        return 1e6L;
    case 'k':
        return 1e3L;
    case 'm':
        return 1e-3L;
    case 'u':
        return 1e-6L;
    case 'n':
        return 1e-9L;
    case 'p':
        return 1e-12L;
    default:
        return 1.0L;
    }
}

// The user interface may switch the process to the user's locale, where the decimal separator
// can be a comma; numbers in Datafiles and boxes always use the point.
locale_t CNumericLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

// Checks the decimal syntax ourselves before any library conversion sees the text, so that
// the forms strtold would also take ("inf", "nan", hexadecimal) never pass. Returns the index
// of the first character that does not fit (text.size() when the text ends too early), or npos
// when all of it does.
std::size_t ScanDecimalReal(std::string_view text, bool& hasDigits) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    hasDigits = false;
    bool hasPoint = false;
    while (i < text.size() && IsDigit(text[i])) {
        hasDigits = true;
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        hasPoint = true;
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            hasDigits = true;
            ++i;
        }
    }
    if (!hasDigits && !hasPoint) {
        return i;
    }
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        if (i == text.size() || !IsDigit(text[i])) {
            return i;
        }
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
        }
    }
    return i == text.size() ? std::string_view::npos : i;
}

} // namespace

std::size_t ConvertDecimalReal(std::string_view text, long double& value) {
    value = 0.0L;
    std::size_t start = 0;
    while (start < text.size() && text[start] == ' ') {
        ++start;
    }
    const std::string number(text.substr(start));
    bool hasDigits = false;
    const std::size_t failure = ScanDecimalReal(number, hasDigits);
    if (failure != std::string_view::npos) {
        return start + failure + 1;
    }
    if (!hasDigits) {
        // A lone point (with or without sign and exponent) reads as zero.
        value = number[0] == '-' ? -0.0L : 0.0L;
        return 0;
    }
    locale_t cLocale = CNumericLocale();
    if (cLocale == static_cast<locale_t>(0)) {
        return start + 1;
    }
    char* converted = nullptr;
    const long double result = strtold_l(number.c_str(), &converted, cLocale);
    if (converted != number.c_str() + number.size()) {
        return start + static_cast<std::size_t>(converted - number.c_str()) + 1;
    }
    // Underflow to zero or a denormal is a usable value; overflow is not.
    if (!std::isfinite(result)) {
        return start + number.size();
    }
    value = result;
    return 0;
}

long double ParseEngValue(std::string_view text, bool& ok) {
    std::string field = TrimSpacesAndControls(text.substr(0, kNumberFieldCapacity));
    char scaleLetter = ' ';
    if (!field.empty() && IsScaleLetter(field.back())) {
        scaleLetter = field.back();
        field.pop_back();
    }
    long double value = 0.0L;
    // The field is already trimmed, so a space left before the letter fails here ("10 M").
    if (field.empty() || ConvertDecimalReal(field, value) != 0) {
        ok = false;
        return 0.0L;
    }
    long double scaled = value * ScaleFactor(scaleLetter);
    if (!std::isfinite(scaled)) {
        ok = false;
        return 0.0L;
    }
    return scaled;
}

std::size_t MicroSignLength(std::string_view text) {
    // The micro sign and the Greek mu in UTF-8, and the micro sign of Latin-1.
    for (std::string_view sign : {"\xC2\xB5", "\xCE\xBC", "\xB5"}) {
        if (text.starts_with(sign)) {
            return sign.size();
        }
    }
    return 0;
}

std::string NumericPrefix(std::string_view word) {
    word = word.substr(0, kNumberFieldCapacity);
    std::string prefix;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = word[i];
        if (IsDigit(c) || c == '.') {
            prefix += c;
            continue;
        }
        if (IsScaleLetter(c)) {
            prefix += c;
        } else if (MicroSignLength(word.substr(i)) > 0) {
            prefix += 'u';
        }
        break;
    }
    return prefix;
}

int32_t ParseIntField(std::string_view text, bool& ok) {
    std::string field = TrimSpacesAndControls(text.substr(0, kNumberFieldCapacity));
    std::string_view rest = field;
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    int base = 10;
    if (rest.starts_with("0x") || rest.starts_with("0X")) {
        base = 16;
        rest.remove_prefix(2);
    } else if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
        base = 16;
        rest.remove_prefix(1);
    }
    if (rest.empty()) {
        ok = false;
        return 0;
    }
    // The magnitude may reach 2^31 only for a negative value.
    const int64_t limit =
        static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + (negative ? 1 : 0);
    int64_t magnitude = 0;
    for (char c : rest) {
        int digit;
        if (IsDigit(c)) {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            ok = false;
            return 0;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) {
            ok = false;
            return 0;
        }
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

} // namespace kelvor
