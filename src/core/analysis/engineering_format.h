// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kelvor {

class MessageSink;

// Three significant digits right-aligned in 10 columns, then one SI prefix character
// (p n u m space k M G T): 11 characters, "      1.00k" for 999.7.
std::string FormatEngineering(long double value, MessageSink& messages);

} // namespace kelvor
