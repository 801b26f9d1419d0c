// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kelvor {

// The fixed scientific form 23 characters wide: a sign position (space or "-"), one digit, the
// point, 14 digits, "E", the exponent's sign and four exponent digits: " 2.00000000000000E-0001".
std::string FormatScientific23(long double x);

// Scientific notation with `significantDigits` digits (one before the point) and at least
// `exponentDigits` exponent digits; "-" only for negative values: "6.28318530717958648E+0003".
std::string FormatExponent(long double x, int significantDigits, int exponentDigits);

// Fixed notation with `decimals` decimals, rounded; when the integer part has more than
// `precision` digits the value is written in scientific notation with `precision` digits.
std::string FormatFixed(long double x, int precision, int decimals);

// Fixed notation with `decimals` decimals, right-aligned in `width` columns (wider text is kept).
std::string FormatFixedWidth(long double x, int width, int decimals);

} // namespace kelvor
