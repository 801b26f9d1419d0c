// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvor {

// A number kept as its decimal digits, so that it can be rewritten in another notation without
// losing or inventing a digit: value = digits * 10^exponent.
struct DecimalValue {
    bool negative = false;
    std::string digits; // no leading zeros; "0" for zero
    int exponent = 0;
};

// A SPICE number: sign, digits with an optional point, an optional exponent, then an optional
// scale suffix (t g meg k m u n p f mil, any case, or a micro sign); letters after it are units and
// ignored
// ("10uF", "1kohm"). Nothing when the text does not start with a number.
std::optional<DecimalValue> ParseSpiceNumber(std::string_view text);

// The nearest extended real; infinity or 0 beyond its range.
long double ApproximateValue(const DecimalValue& value);

// The value as a Datafile writes it: digits with one of the scale letters G M k m u n p, chosen
// so that one to three digits stand before the point where the letters reach ("4.7k",
// "0.001p"), every digit kept; a ratio is written without a letter from 0.001 up ("0.9").
// Negative values have no Datafile form: nothing then.
std::optional<std::string> DatafileValueText(const DecimalValue& value, bool ratio = false);

} // namespace kelvor
