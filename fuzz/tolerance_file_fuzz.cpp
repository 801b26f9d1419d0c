// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/component_kind.h"
#include "tolerance/tolerance_file.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace kelvor;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool PercentSurvivesThePanel(long double percent) {
    const auto typed = ParsePercent(PercentText(percent));
    return typed && *typed == percent;
}

// The Tolerances panel shows settings as texts and checks them again when it runs: whatever
// the file gave must pass those checks and come back as it was, or Run would refuse a file the
// program wrote itself, or change it.
void RequireThePanelTakesThemBack(const ToleranceSettings& settings) {
    for (const auto& [kind, percent] : settings.kindPercent) {
        Require(IsComponentKind(kind) && PercentSurvivesThePanel(percent));
    }
    for (const auto& [line, percent] : settings.linePercent) {
        Require(PercentSurvivesThePanel(percent));
    }
    Require(settings.runs >= 1 && settings.runs <= kMostToleranceRuns);
    for (const GainMaskSegment& segment : settings.mask) {
        const auto texts = MaskSegmentTexts(segment);
        const auto typed = ParseMaskSegment(texts[0], texts[1], texts[2], texts[3]);
        Require(typed && *typed == segment);
    }
}

} // namespace

// Any bytes must read as tolerance settings that the panel accepts as they are, and what is
// written from them must read back as the very same settings, with nothing left unread.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ToleranceSettings settings = ParseToleranceFileText(bytes, "fuzz.tol").settings;
    RequireThePanelTakesThemBack(settings);
    const std::string written = ToleranceFileText(settings, "FUZZ.DAT");
    const ToleranceFileReading reread = ParseToleranceFileText(written, "fuzz.tol");
    Require(reread.problem.empty() && reread.settings == settings);
    return 0;
}
