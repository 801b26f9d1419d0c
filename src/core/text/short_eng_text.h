// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kelvor {

// A value as a Datafile or a box takes it, ParseEngValue's syntax without an exponent: at most
// six significant digits and a scale letter, "2.2k", "4.7n", "0.001p".
std::string ShortEngText(long double value);

} // namespace kelvor
