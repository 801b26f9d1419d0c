// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "interchange/spice_deck.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvor {

// What follows the nodes of an R, C or L line: the value, the parasitic elements it describes
// (Rser, Rpar, Cpar as LTspice writes them) and the options that leave an AC response alone.
struct ElementFields {
    std::optional<std::string> value;
    std::optional<std::string> seriesResistance;    // Rser=
    std::optional<std::string> parallelResistance;  // Rpar=
    std::optional<std::string> parallelCapacitance; // Cpar=
    std::vector<std::string> ignored;               // IC= and the like
    std::vector<std::string> unknown;               // anything else: it may change the element
};

ElementFields SplitElementFields(const SpiceElement& element);

// A voltage source's parts: its AC magnitude (none without "AC"), and whether every value it
// has is zero (no AC, DC 0 or none, nothing else), which makes it a link between its nodes.
struct SourceFields {
    std::optional<std::string> acMagnitude;
    bool zeroVolt = false;
};

SourceFields SplitSourceFields(const SpiceElement& element);

// The value as an extended real; nothing when it is not a number.
std::optional<long double> SpiceValue(const std::string& text);

} // namespace kelvor
