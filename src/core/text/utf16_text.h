// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace kelvor {

// One byte of 8-bit Windows text (code page 1252) as UTF-16. It differs from Latin-1 only in
// 0x80 to 0x9F; the five codes that page leaves unassigned keep their own values.
char16_t DecodeWindows1252(unsigned char byte);

// UTF-16 text as UTF-8, for messages and test output; unpaired surrogates become U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);

} // namespace kelvor
