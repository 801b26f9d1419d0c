// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvor {

// A number as users type it: optional sign, digits, point, exponent, and one optional trailing
// scale letter G M k m u n p. Only ever clears ok; after a failure the result must not be used.
long double ParseEngValue(std::string_view text, bool& ok);

// The whole text as a decimal real (leading spaces allowed, no scale letter), the way formatted
// numbers are read back. Returns 0 on success, else the 1-based position of the first character
// that does not fit; value is then 0.
std::size_t ConvertDecimalReal(std::string_view text, long double& value);

// The part of a Datafile value word that is read: digits and points, then at most one scale
// letter. Signs and exponents end it, so "1e-6" gives "1" and "-5" gives "". A micro sign is
// the letter u: "100\xC2\xB5F" gives "100u".
std::string NumericPrefix(std::string_view word);

// The bytes of a micro sign (U+00B5 or U+03BC in UTF-8, or the Latin-1 byte B5) at the start of
// the text; 0 when there is none.
std::size_t MicroSignLength(std::string_view text);

// A 32-bit integer with optional sign, decimal unless "$", "x", "X", "0x" or "0X" makes it
// hexadecimal. Empty text, other characters and overflow clear ok and give 0.
int32_t ParseIntField(std::string_view text, bool& ok);

} // namespace kelvor
