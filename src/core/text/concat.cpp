// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/concat.h"

namespace kelvor {

std::string Concat(std::initializer_list<std::string_view> parts) {
    std::size_t length = 0;
    for (const std::string_view part : parts) {
        length += part.size();
    }
    std::string text;
    text.reserve(length);
    for (const std::string_view part : parts) {
        text.append(part);
    }
    return text;
}

} // namespace kelvor
