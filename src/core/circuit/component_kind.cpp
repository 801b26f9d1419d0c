// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/component_kind.h"

#include <algorithm>

namespace kelvor {
namespace {

constexpr long double kStrayCapacitance = 1e-12L;

struct Value {
    std::string_view name;
    std::string_view unit;
    int slot;
    int position;
    int listingRow;
    ValueLimit limit = ValueLimit::None;
    bool modelReads = true;

    constexpr ValueDescription Required() const {
        return {name, unit,  slot,  position,   ValueDefault::Required,
                0,    limit, false, modelReads, listingRow};
    }
    constexpr ValueDescription Optional(long double fallback) const {
        return {name,     unit,  slot,  position,   ValueDefault::Constant,
                fallback, limit, false, modelReads, listingRow};
    }
    constexpr ValueDescription Derived(ValueDefault rule) const {
        return {name, unit, slot, position, rule, 0, limit, false, modelReads, listingRow};
    }
    constexpr ValueDescription Decibels(long double fallback) const {
        return {name,     unit,  slot, position,   ValueDefault::Constant,
                fallback, limit, true, modelReads, listingRow};
    }
};

constexpr ValueLimit kResistance = ValueLimit::AtLeastRmin;

constexpr std::string_view kTwoTerminals[] = {"first node", "second node"};
constexpr std::string_view kCoupledCoilNodes[] = {"primary start", "primary finish",
                                                  "secondary start", "secondary finish"};
constexpr std::string_view kTransformerNodes[] = {"primary start", "primary tap", "primary finish",
                                                  "secondary start", "secondary finish"};
constexpr std::string_view kBipolarNodes[] = {"base", "collector", "emitter"};
constexpr std::string_view kFieldEffectNodes[] = {"gate", "drain", "source"};
constexpr std::string_view kValveNodes[] = {"grid", "anode", "cathode"};
constexpr std::string_view kOpAmpNodes[] = {"non-inverting input", "inverting input", "output"};

// Each kind's values in slot order; `position` is the order of the words on the line.
constexpr ValueDescription kResistorValues[] = {Value{"R", "Ohm", 0, 0, 0, kResistance}.Required()};
constexpr ValueDescription kCapacitorValues[] = {Value{"C", "F", 0, 0, 0}.Required()};
constexpr ValueDescription kInductorValues[] = {
    Value{"L", "H", 0, 0, 0}.Required(), Value{"R", "Ohm", 1, 1, 0, kResistance}.Optional(Rmin)};
constexpr ValueDescription kCoupledCoilValues[] = {
    Value{"Lp", "H", 0, 0, 0}.Required(), Value{"Ls", "H", 1, 1, 0}.Required(),
    Value{"K", "", 2, 2, 1, ValueLimit::AtMostOne}.Required(),
    Value{"Rp", "Ohm", 3, 3, 2, kResistance}.Optional(Rmin),
    Value{"Rs", "Ohm", 4, 4, 2, kResistance}.Optional(Rmin)};
// The line gives the ratio first, the record keeps Lp first.
constexpr ValueDescription kTransformerValues[] = {
    Value{"Lp", "H", 0, 1, 0}.Required(),
    Value{"Ratio", "", 1, 0, 0}.Required(),
    Value{"Llp", "H", 2, 2, 1}.Derived(ValueDefault::PrimaryLeakage),
    Value{"Lls", "H", 3, 3, 1}.Derived(ValueDefault::SecondaryLeakage),
    Value{"Rp", "Ohm", 4, 4, 2, kResistance}.Optional(Rmin),
    Value{"Rs", "Ohm", 5, 5, 2, kResistance}.Optional(Rmin)};
// Cbe is kept but not modelled: Ft alone sets the base-emitter capacitance.
constexpr ValueDescription kBipolarValues[] = {
    Value{"Beta", "", 0, 0, 0}.Required(),
    Value{"Ic", "A", 1, 1, 0}.Required(),
    Value{"Ft", "Hz", 2, 2, 1}.Optional(3e8L),
    Value{"Cbc", "F", 3, 3, 1}.Optional(kStrayCapacitance),
    Value{"Cbe", "F", 4, 4, 2, ValueLimit::None, false}.Optional(kStrayCapacitance),
    Value{"Cce", "F", 5, 5, 2}.Optional(kStrayCapacitance)};
constexpr ValueDescription kFieldEffectValues[] = {
    Value{"Gm", "A/V", 0, 0, 0}.Required(), Value{"Cgd", "F", 1, 1, 0}.Optional(kStrayCapacitance),
    Value{"Cgs", "F", 2, 2, 1}.Optional(kStrayCapacitance),
    Value{"Cds", "F", 3, 3, 1}.Optional(kStrayCapacitance)};
constexpr ValueDescription kValveValues[] = {
    Value{"Gm", "A/V", 0, 0, 0}.Required(), Value{"Ra", "Ohm", 1, 1, 0}.Required(),
    Value{"Cga", "F", 2, 2, 1}.Optional(kStrayCapacitance),
    Value{"Cgc", "F", 3, 3, 1}.Optional(kStrayCapacitance),
    Value{"Cac", "F", 4, 4, 2}.Optional(kStrayCapacitance)};
constexpr ValueDescription kOpAmpValues[] = {Value{"Gain", "dB", 0, 0, 0}.Decibels(80.0L),
                                             Value{"Zin", "Ohm", 1, 1, 0}.Optional(1e7L),
                                             Value{"f-3dB", "Hz", 2, 2, 1}.Optional(1e7L)};

constexpr ComponentKind kKinds[] = {
    {'R', "resistor", "Resistors", kTwoTerminals, 2, kResistorValues, 1, SpiceForm::Resistor,
     SymbolShape::TwoTerminal},
    {'C', "capacitor", "Capacitors", kTwoTerminals, 2, kCapacitorValues, 5, SpiceForm::Capacitor,
     SymbolShape::TwoTerminal},
    {'L', "inductor", "Inductors", kTwoTerminals, 2, kInductorValues, 5, SpiceForm::Coil,
     SymbolShape::TwoTerminal},
    {'M', "mutual inductor", "Coupled coils", kCoupledCoilNodes, 4, kCoupledCoilValues, 2,
     SpiceForm::CoupledCoils, SymbolShape::CoupledCoils},
    {'T', "transformer", "Transformers", kTransformerNodes, 4, kTransformerValues, 2,
     SpiceForm::ThreeWindings, SymbolShape::TappedTransformer},
    {'B', "bipolar transistor", "Bipolar transistors", kBipolarNodes, 3, kBipolarValues, 10,
     SpiceForm::HybridPi, SymbolShape::ThreeElectrode},
    {'F', "field effect transistor", "FETs", kFieldEffectNodes, 3, kFieldEffectValues, 10,
     SpiceForm::FieldEffect, SymbolShape::ThreeElectrode},
    {'V', "thermionic valve", "Valves", kValveNodes, 3, kValveValues, 10, SpiceForm::Valve,
     SymbolShape::ThreeElectrode},
    {'A', "operational amplifier", "Op-amps", kOpAmpNodes, 3, kOpAmpValues, 10,
     SpiceForm::SinglePoleOpAmp, SymbolShape::Amplifier},
};

} // namespace

const ValueDescription* ComponentKind::ValueAt(int position) const {
    const auto found = std::find_if(values.begin(), values.end(), [position](const auto& value) {
        return value.position == position;
    });
    return found == values.end() ? nullptr : &*found;
}

std::span<const ComponentKind> ComponentKinds() {
    return kKinds;
}

std::string ComponentKindLetters() {
    std::string letters;
    for (const ComponentKind& kind : kKinds) {
        letters += kind.letter;
    }
    return letters;
}

const ComponentKind* FindComponentKind(char letter) {
    const auto found =
        std::find_if(std::begin(kKinds), std::end(kKinds),
                     [letter](const ComponentKind& kind) { return kind.letter == letter; });
    return found == std::end(kKinds) ? nullptr : &*found;
}

bool IsComponentKind(char letter) {
    return FindComponentKind(letter) != nullptr;
}

int UsedNodeCount(char letter) {
    const ComponentKind* kind = FindComponentKind(letter);
    return kind == nullptr ? 0 : kind->NodeCount();
}

} // namespace kelvor
