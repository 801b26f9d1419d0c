// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kelvor {

// The parts one after another, appended to one string sized once. Use it where a text starts
// with a literal and goes on with a string made on the spot: `"[" + std::to_string(x)` inserts
// the literal in front of the new string, and GCC 12 at -O3 takes that insert for an
// overlapping copy (its bug 105329) and stops the build.
std::string Concat(std::initializer_list<std::string_view> parts);

} // namespace kelvor
