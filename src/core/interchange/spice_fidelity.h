// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "interchange/spice_deck.h"
#include "interchange/spice_import.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvor {

// How far the imported Datafile's response lies from the deck's own, ideal elements.
struct SpiceFidelity {
    long double gainDb = 0;       // the largest difference in gain
    long double phaseDegrees = 0; // the largest difference in phase
    long double atFrequency = 0;  // where the larger of the two, relative to its limit, lies
    AcRange range;
    std::vector<std::string> floored; // elements a Datafile floor changed
    std::string failure;              // why it could not be measured; empty when it was
};

// Differences above these are warned of.
inline constexpr long double kFidelityGainDb = 0.001L;
inline constexpr long double kFidelityPhaseDegrees = 0.01L;

// The range to compare over: the one given, else the deck's .ac sweep, else 10 Hz to 100 kHz.
AcRange FidelityRange(const SpiceDeck& deck, const std::optional<AcRange>& given);

// Solves the deck's circuit (ideal elements) and the Datafile at no fewer than 20 points per
// decade over the range, ends included, and keeps the largest differences.
SpiceFidelity MeasureFidelity(const SpiceImport& imported, const AcRange& range);

// "Fidelity: largest difference 3.1e-02 dB, 1.8e-01 degrees (at 2.61 kHz) between 1 Hz and
// 100 kHz", with the elements a floor changed after it.
std::string FidelityLine(const SpiceFidelity& fidelity);

inline constexpr const char* kFidelityWarning =
    "the Datafile's response differs from the deck's by more than 0.001 dB or 0.01 degrees";

// Above 0.001 dB or 0.01 degrees, or not measured.
bool FidelityWarns(const SpiceFidelity& fidelity);

} // namespace kelvor
