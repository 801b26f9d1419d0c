// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/short_eng_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

namespace kelvor {

std::string ShortEngText(long double value) {
    static constexpr struct {
        char letter;
        long double factor;
    } kScales[] = {{'G', 1e9L},  {'M', 1e6L},  {'k', 1e3L},  {' ', 1},
                   {'m', 1e-3L}, {'u', 1e-6L}, {'n', 1e-9L}, {'p', 1e-12L}};
    std::size_t chosen = 0;
    while (chosen + 1 < std::size(kScales) && value < kScales[chosen].factor) {
        ++chosen;
    }
    const long double mantissa = value / kScales[chosen].factor;
    // Digits before the point; below 1 (under the smallest letter) it counts the zeros after it.
    const int whole = mantissa > 0 ? static_cast<int>(std::floor(std::log10(mantissa))) + 1 : 1;
    // to_chars, not printf: the C locale's decimal point whatever the user's locale is.
    char text[80];
    const auto end = std::to_chars(text, text + sizeof text, mantissa, std::chars_format::fixed,
                                   std::max(0, 6 - whole))
                         .ptr;
    std::string written(text, end);
    if (written.find('.') != std::string::npos) {
        while (written.back() == '0') {
            written.pop_back();
        }
        if (written.back() == '.') {
            written.pop_back();
        }
    }
    if (kScales[chosen].letter != ' ') {
        written += kScales[chosen].letter;
    }
    return written;
}

} // namespace kelvor
