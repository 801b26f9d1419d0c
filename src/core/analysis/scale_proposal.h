// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kelvor {

class MessageSink;
struct FrequencyScale;

// The permitted dB spans of the amplitude graph, in list order.
inline constexpr std::array<int32_t, 30> kScaleList = {
    5,  10, 15,  20,  25,  30,  35,  40,  45,  50,  55,  60,  65,  70,  75,
    80, 90, 100, 110, 120, 125, 130, 140, 150, 175, 200, 225, 250, 275, 300};

struct ScaleProposal {
    int32_t GraphScale = 25;
    int32_t GraphTop = 0;
};

// The span and top proposed for a new circuit from the sweep's rounded extremes.
ScaleProposal ProposeScale(int32_t sweepMinDb, int32_t sweepMaxDb);

// Index of span in kScaleList, if it is a permitted span.
std::optional<int> ScaleListIndex(int32_t span);

// The range text of FCode 1..52 ("100 - 1k"); empty for others.
std::string RangeText(int32_t fcode);

// The graph parameter window's range box: three spaces (two for FCode 39), the range text and
// "Hz"; for FCode 0 the user's start and end in engineering form.
std::string FreqRangeBoxText(const FrequencyScale& scale, MessageSink& messages);

} // namespace kelvor
