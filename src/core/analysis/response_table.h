// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/response.h"

#include <string>

namespace kelvor {

class MessageSink;

// The four value boxes of the response window, each with its two leading spaces.
struct ResponseBoxes {
    std::string gain, phase, zin, zout;
};

ResponseBoxes FormatResponseBoxes(const ResponsePoint& point, bool extended, MessageSink& messages);

// One row of the result table: the frequency as typed and the four boxes, right-aligned to
// 12, 16, 18, 19, 19 columns (normal) or 13, 24, 21, 21, 21 (extended).
std::string FormatResponseRow(const std::string& frequencyText, const ResponseBoxes& boxes,
                              bool extended);

// The column heading line of the table.
inline constexpr const char* kResponseTableHeading =
    "\r\n  Frequency (Hz)     Gain (dB)         Phase (deg)        Zin (ohms)        Zout "
    "(ohms)\r\n ";

} // namespace kelvor
