// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/scale_proposal.h"

#include "analysis/engineering_format.h"
#include "analysis/frequency_scale.h"
#include "text/words.h"

#include <algorithm>

namespace kelvor {
namespace {

constexpr std::array<const char*, kHighestFCode> kRangeTexts = {
    "0.03 - 0.3", "0.1 - 1.0", "0.3 - 3.0", "1.0 - 10",    "3.0 - 30",   "10 - 100",   "30 - 300",
    "100 - 1k",   "300 - 3k",  "1k - 10k",  "3k - 30k",    "10k - 100k", "30k - 300k", "100k - 1M",
    "300k - 3M",  "1M - 10M",  "3M - 30M",  "10M - 100M",  "30M - 300M", "100M - 1G",  "300M - 3G",
    "0.03 - 3.0", "0.3 - 30",  "3.0 - 300", "30 - 3k",     "300 - 30k",  "3k - 300k",  "30k - 3M",
    "300k - 30M", "3M - 300M", "30M - 3G",  "0.03 - 30",   "0.3 - 300",  "3.0 - 3k",   "30 - 30k",
    "300 - 300k", "3k - 3M",   "30k - 30M", "300k - 300M", "3M - 3G",    "0.03 - 3k",  "0.3 - 30k",
    "3.0 - 300k", "30 - 3M",   "300 - 30M", "3k - 300M",   "30k - 3G",   " 1.0 - 1M",  " 10 - 10M",
    "100 - 100M", " 1k - 1G",  "10k - 10G"};

} // namespace

ScaleProposal ProposeScale(int32_t sweepMinDb, int32_t sweepMaxDb) {
    // The difference of two extremes can pass the 32-bit range (a zero output is -50000 dB,
    // and an unswept pair starts at the two limits).
    const int64_t difference = static_cast<int64_t>(sweepMaxDb) - sweepMinDb;
    int32_t span = static_cast<int32_t>(std::clamp<int64_t>(difference, 10, 300));
    while (!ScaleListIndex(span).has_value()) {
        ++span;
    }
    ScaleProposal proposal;
    proposal.GraphScale = span;
    const int64_t step = span > 40 ? 10 : 5;
    proposal.GraphTop = static_cast<int32_t>((sweepMaxDb / step + 1) * step);
    return proposal;
}

std::optional<int> ScaleListIndex(int32_t span) {
    const auto found = std::find(kScaleList.begin(), kScaleList.end(), span);
    if (found == kScaleList.end()) {
        return std::nullopt;
    }
    return static_cast<int>(found - kScaleList.begin());
}

std::string RangeText(int32_t fcode) {
    if (fcode < 1 || fcode > kHighestFCode) {
        return {};
    }
    return kRangeTexts[fcode - 1];
}

std::string FreqRangeBoxText(const FrequencyScale& scale, MessageSink& messages) {
    if (scale.FCode == 0) {
        return "   " + TrimSpaces(FormatEngineering(scale.BaseFrequency, messages)) + " - " +
               TrimSpaces(FormatEngineering(scale.EndFrequency, messages));
    }
    return (scale.FCode == 39 ? "  " : "   ") + RangeText(scale.FCode) + "Hz";
}

} // namespace kelvor
