// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "circuit/circuit_limits.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kelvor {

// The least resistance as a Datafile line writes it (Rmin, 1e-6 ohm).
inline constexpr std::string_view kMinResistanceText = "1u";
// A transformer's three windings are held below full coupling, so they never become ideal
// (which would make the inverse inductance matrix singular).
inline constexpr long double CouplingLimit = 0.9999999999L;
// A transformer's leakage inductances default to half a percent of its windings' inductances.
inline constexpr long double kLeakageDivisor = 200.0L;

// What a value whose word is missing becomes.
enum class ValueDefault : std::uint8_t {
    Required,         // none: the line fails
    Constant,         // ValueDescription::fallback
    PrimaryLeakage,   // Lp / 200
    SecondaryLeakage, // ratio^2 x Lp / 200
};

// Where the reader and the tolerance draws keep a value.
enum class ValueLimit : std::uint8_t {
    None,
    AtLeastRmin, // a resistance: smaller values, zero among them, become Rmin
    AtMostOne,   // a coupling factor: the reader refuses more, a drawn value stops at 1
};

// How the export writes a kind as linear SPICE elements.
enum class SpiceForm : std::uint8_t {
    Resistor,
    Capacitor,
    Coil,            // L in series with its resistance
    CoupledCoils,    // two coils and a K
    ThreeWindings,   // three coils coupled by one frequency's k
    HybridPi,        // conductance, capacitors and a transconductance
    FieldEffect,     // gate leakage, capacitors and a transconductance
    Valve,           // the field-effect form with an anode resistance
    SinglePoleOpAmp, // input resistance, a single pole and an output behind 1 ohm
};

// The family of a kind's schematic symbol: the kinds of one family share its pins and body.
enum class SymbolShape : std::uint8_t {
    TwoTerminal,       // R C L: a lead at each end
    ThreeElectrode,    // B F V: control on the left, the two others above and below
    Amplifier,         // A: +, - and the output
    CoupledCoils,      // M: two windings side by side
    TappedTransformer, // T: a tapped primary beside a secondary
};

// One value of a kind. `slot` indexes ComponentRecord::values; the descriptions of a kind are
// in slot order, which is also the order in which tolerance draws are made.
struct ValueDescription {
    std::string_view name; // as the editor hints and the listing heading call it
    std::string_view unit; // "" for a plain ratio
    int slot;
    int position; // 0 for the first value word after the nodes
    ValueDefault whenMissing;
    long double fallback;
    ValueLimit limit;
    bool typedInDecibels; // the word is in dB, the record keeps the gain factor
    bool modelReads;      // the models read it, so a tolerance may vary it
    int listingRow;       // the record listing's line for this value
};

struct ComponentKind {
    char letter;
    std::string_view name;   // "resistor"
    std::string_view plural; // "Resistors", as the tolerance panel lists kinds
    std::span<const std::string_view> nodeRoles;
    // The line fails when this many leading nodes are all one node: the part is shorted out.
    int shortedNodes;
    std::span<const ValueDescription> values;
    long double defaultTolerancePercent;
    SpiceForm spiceForm;
    SymbolShape symbol;

    int NodeCount() const { return static_cast<int>(nodeRoles.size()); }
    // The value typed at `position` on the line; nullptr past the last.
    const ValueDescription* ValueAt(int position) const;
};

// The kinds a Datafile may hold, in the order the tolerance panel lists them.
std::span<const ComponentKind> ComponentKinds();

// "RCLMTBFVA": the letters of ComponentKinds(), for messages that list them.
std::string ComponentKindLetters();

// nullptr for letters that are no component kind (the header's 'H', comments, faults).
const ComponentKind* FindComponentKind(char letter);

// True for the nine kinds that the solver knows: R C L M T B F V A.
bool IsComponentKind(char letter);

// The node fields that a kind uses (2 for R C L, 3 for A B F V, 4 for M, 5 for T; 0 else).
int UsedNodeCount(char letter);

} // namespace kelvor
