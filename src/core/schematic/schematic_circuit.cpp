// SPDX-License-Identifier: GPL-3.0-or-later
#include "schematic/schematic_circuit.h"

#include "circuit/circuit_limits.h"
#include "circuit/circuit_state.h"
#include "circuit/component_kind.h"
#include "circuit/datafile_reader.h"
#include "solver/loaded_datafile.h"
#include "text/concat.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace kelvor::schematic {
namespace {

const std::string kOhm = "\u03A9";

// Ratios and coupling factors read better without a prefix: 0.2, not 200m.
std::string Plain(long double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3Lg", value);
    return text;
}

std::string ShownName(std::string_view name) {
    return name == "Beta" ? std::string("\u03B2") : std::string(name);
}

std::string ShownUnit(std::string_view unit) {
    return unit == "Ohm" ? kOhm : std::string(unit);
}

// A value left at its default says nothing about this circuit; the two-terminal kinds show
// their optional values when given (a coil's resistance), the others only what their line
// must give, or their first value when none is required (an op-amp's gain).
bool Shown(const ComponentKind& kind, const ValueDescription& value, long double stored) {
    if (value.whenMissing == ValueDefault::Required) {
        return true;
    }
    const bool changed = value.whenMissing == ValueDefault::Constant &&
                         std::fabs(stored - value.fallback) > 1e-9L * std::fabs(value.fallback);
    return kind.NodeCount() == 2 && changed;
}

std::string ValuesOf(const ComponentRecord& record) {
    const ComponentKind* kind = FindComponentKind(record.kind);
    if (kind == nullptr) {
        return {};
    }
    std::vector<const ValueDescription*> values;
    for (const ValueDescription& value : kind->values) {
        values.push_back(&value);
    }
    std::sort(values.begin(), values.end(),
              [](const ValueDescription* a, const ValueDescription* b) {
                  return a->position < b->position;
              });
    const bool named = kind->NodeCount() > 2;
    const bool noneRequired = std::none_of(values.begin(), values.end(), [](const auto* value) {
        return value->whenMissing == ValueDefault::Required;
    });
    std::string text;
    for (const ValueDescription* value : values) {
        long double stored = record.values[static_cast<std::size_t>(value->slot)];
        const bool first = value == values.front();
        if (!Shown(*kind, *value, stored) && !(noneRequired && first)) {
            continue;
        }
        std::string unit = ShownUnit(value->unit);
        if (value->typedInDecibels) {
            stored = 20.0L * std::log10(stored);
            unit = "dB";
        }
        const std::string number = unit.empty() ? Plain(stored) : ValueWithUnit(stored, unit);
        if (!text.empty()) {
            text += named ? ", " : " ";
        }
        text += named && !value->typedInDecibels ? ShownName(value->name) + " " + number : number;
    }
    return text;
}

} // namespace

std::string ValueWithUnit(long double value, const std::string& unit) {
    static constexpr std::array<const char*, 9> kPrefixes = {"p", "n", "\u00B5", "m", "",
                                                             "k", "M", "G",      "T"};
    const std::string space = unit.empty() ? "" : " ";
    if (!std::isfinite(value) || value == 0.0L) {
        return (std::isfinite(value) ? std::string("0") : std::string("?")) + space + unit;
    }
    const long double magnitude = std::fabs(value);
    int step = static_cast<int>(std::floor(std::log10(magnitude) / 3.0L));
    step = std::max(-4, std::min(4, step));
    long double scaled = value / std::pow(10.0L, 3.0L * static_cast<long double>(step));
    // Three significant digits; rounding may carry into the next prefix (999.7 -> 1.00k).
    char text[32];
    std::snprintf(text, sizeof text, "%.3Lg", scaled);
    if (std::fabs(std::strtold(text, nullptr)) >= 1000.0L && step < 4) {
        ++step;
        scaled /= 1000.0L;
        std::snprintf(text, sizeof text, "%.3Lg", scaled);
    }
    const std::string prefix = kPrefixes[static_cast<std::size_t>(step + 4)];
    if (unit.empty()) {
        return std::string(text) + prefix;
    }
    return std::string(text) + " " + prefix + unit;
}

Circuit CircuitFromParse(const LoadedDatafile& datafile) {
    Circuit circuit;
    circuit.nodeIn = datafile.state.NodeIn;
    circuit.nodeOut = datafile.state.NodeOut;
    circuit.nodeCom = datafile.state.NodeCom;
    std::map<char, int> counts;
    const RecordList& records = datafile.circuit.records;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const ComponentRecord& record = records[i];
        Part part;
        part.line = i - 1 < datafile.sourceLines.size() ? datafile.sourceLines[i - 1] : 0;
        part.kind = record.kind;
        part.name =
            Concat({std::string_view(&record.kind, 1), std::to_string(++counts[record.kind])});
        for (int pin = 0; pin < UsedNodeCount(record.kind); ++pin) {
            part.nodes.push_back(record.nodes[static_cast<std::size_t>(pin)]);
        }
        part.valueText = ValuesOf(record);
        circuit.parts.push_back(std::move(part));
    }
    return circuit;
}

} // namespace kelvor::schematic
