// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/exact_number.h"

#include <array>
#include <charconv>

namespace kelvor {

std::string ExactNumberText(long double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

} // namespace kelvor
