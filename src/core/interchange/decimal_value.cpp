// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/decimal_value.h"

#include "text/eng_value.h"

#include <array>
#include <cctype>
#include <charconv>
#include <limits>

namespace kelvor {

namespace {

struct Suffix {
    const char* text;
    int exponent;
};

// Longer suffixes first, so that "meg" and "mil" are not read as "m".
constexpr std::array<Suffix, 10> kSpiceSuffixes{{{"meg", 6},
                                                 {"mil", 0}, // handled apart: 25.4e-6
                                                 {"t", 12},
                                                 {"g", 9},
                                                 {"k", 3},
                                                 {"m", -3},
                                                 {"u", -6},
                                                 {"n", -9},
                                                 {"p", -12},
                                                 {"f", -15}}};

struct ScaleLetter {
    char letter;
    int exponent;
};

constexpr std::array<ScaleLetter, 8> kDatafileLetters{
    {{'G', 9}, {'M', 6}, {'k', 3}, {' ', 0}, {'m', -3}, {'u', -6}, {'n', -9}, {'p', -12}}};

// A ratio such as a coupling factor reads best without a letter down to 0.001.
constexpr int kLeastPlainRatioExponent = -3;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) {
            return false;
        }
    }
    return true;
}

// Decimal digits times a small factor, exactly.
std::string MultiplyDigits(const std::string& digits, int factor) {
    std::string product;
    int carry = 0;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        const int partial = (*it - '0') * factor + carry;
        product.insert(product.begin(), static_cast<char>('0' + partial % 10));
        carry = partial / 10;
    }
    for (; carry > 0; carry /= 10) {
        product.insert(product.begin(), static_cast<char>('0' + carry % 10));
    }
    return product;
}

void Normalise(DecimalValue& value) {
    const std::size_t first = value.digits.find_first_not_of('0');
    if (first == std::string::npos) {
        value = DecimalValue{false, "0", 0};
        return;
    }
    value.digits.erase(0, first);
}

} // namespace

std::optional<DecimalValue> ParseSpiceNumber(std::string_view text) {
    DecimalValue value;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        value.negative = text[i] == '-';
        ++i;
    }
    bool anyDigit = false;
    bool afterPoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            value.digits += c;
            anyDigit = true;
            if (afterPoint) {
                --value.exponent;
            }
        } else if (c == '.' && !afterPoint) {
            afterPoint = true;
        } else {
            break;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            ++j;
        }
        int exponent = 0;
        const std::size_t digitsStart = j;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9' && exponent < 10000) {
            exponent = exponent * 10 + (text[j] - '0');
            ++j;
        }
        if (j > digitsStart) { // otherwise the "e" starts a unit and is ignored
            value.exponent += negativeExponent ? -exponent : exponent;
            i = j;
        }
    }
    const std::string_view rest = text.substr(i);
    if (MicroSignLength(rest) > 0) {
        value.exponent -= 6;
        Normalise(value);
        return value;
    }
    for (const Suffix& suffix : kSpiceSuffixes) {
        if (!StartsWithNoCase(rest, suffix.text)) {
            continue;
        }
        if (std::string_view(suffix.text) == "mil") {
            value.digits = MultiplyDigits(value.digits, 254); // a mil is 25.4e-6 exactly
            value.exponent -= 7;
        } else {
            value.exponent += suffix.exponent;
        }
        break;
    }
    Normalise(value);
    return value;
}

long double ApproximateValue(const DecimalValue& value) {
    // Far beyond the extended range either way; keeps the text short for a 100,000-digit value.
    constexpr int kBeyondRange = 6000;
    const int leading = value.exponent + static_cast<int>(value.digits.size());
    if (value.digits == "0" || leading < -kBeyondRange) {
        return value.negative ? -0.0L : 0.0L;
    }
    if (leading > kBeyondRange) {
        return value.negative ? -std::numeric_limits<long double>::infinity()
                              : std::numeric_limits<long double>::infinity();
    }
    const std::string text =
        (value.negative ? "-" : "") + value.digits + "e" + std::to_string(value.exponent);
    long double result = 0;
    const auto outcome = std::from_chars(text.data(), text.data() + text.size(), result);
    if (outcome.ec == std::errc::result_out_of_range) {
        // from_chars leaves the result untouched then: tell overflow from underflow.
        const long double magnitude =
            leading > 0 ? std::numeric_limits<long double>::infinity() : 0.0L;
        return value.negative ? -magnitude : magnitude;
    }
    return result;
}

std::optional<std::string> DatafileValueText(const DecimalValue& value, bool ratio) {
    if (value.negative && value.digits != "0") {
        return std::nullopt;
    }
    if (value.digits == "0") {
        return "0";
    }
    const int leading = value.exponent + static_cast<int>(value.digits.size()) - 1;
    ScaleLetter chosen = kDatafileLetters.back();
    for (const ScaleLetter& letter : kDatafileLetters) {
        if (ratio && letter.letter == ' ' && leading >= kLeastPlainRatioExponent) {
            chosen = letter;
            break;
        }
        if (leading >= letter.exponent) {
            chosen = letter;
            break;
        }
    }
    // value / 10^chosen = digits * 10^shift
    const int shift = value.exponent - chosen.exponent;
    std::string text;
    if (shift >= 0) {
        text = value.digits + std::string(static_cast<std::size_t>(shift), '0');
    } else {
        const int integerDigits = static_cast<int>(value.digits.size()) + shift;
        if (integerDigits > 0) {
            text = value.digits.substr(0, static_cast<std::size_t>(integerDigits)) + "." +
                   value.digits.substr(static_cast<std::size_t>(integerDigits));
        } else {
            text = "0." + std::string(static_cast<std::size_t>(-integerDigits), '0') + value.digits;
        }
    }
    if (chosen.letter != ' ') {
        text += chosen.letter;
    }
    return text;
}

} // namespace kelvor
