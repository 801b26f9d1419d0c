// SPDX-License-Identifier: GPL-3.0-or-later
#include "schematic/schematic_circuit.h"

#include "circuit/circuit_limits.h"
#include "circuit/circuit_state.h"
#include "circuit/datafile_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace kelvor::schematic {
namespace {

const std::string kOhm = "\u03A9";

// The coil resistances default to Rmin, which nobody wants to read on a drawing.
bool WorthShowing(long double resistance) {
    return resistance > Rmin * 1.5L;
}

// Ratios and coupling factors read better without a prefix: 0.2, not 200m.
std::string Plain(long double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3Lg", value);
    return text;
}

std::string ValuesOf(const ComponentRecord& record) {
    const auto& v = record.values;
    switch (record.kind) {
    case 'R':
        return ValueWithUnit(v[0], kOhm);
    case 'C':
        return ValueWithUnit(v[0], "F");
    case 'L':
        return ValueWithUnit(v[0], "H") +
               (WorthShowing(v[1]) ? " " + ValueWithUnit(v[1], kOhm) : std::string());
    case 'M':
        return ValueWithUnit(v[0], "H") + " " + ValueWithUnit(v[1], "H") + " k " + Plain(v[2]);
    case 'T':
        return "1:" + Plain(v[1]) + " " + ValueWithUnit(v[0], "H");
    case 'B':
        return "\u03B2 " + ValueWithUnit(v[0], "") + ", Ic " + ValueWithUnit(v[1], "A");
    case 'F':
        return "gm " + ValueWithUnit(v[0], "A/V");
    case 'V':
        return "gm " + ValueWithUnit(v[0], "A/V") + ", ra " + ValueWithUnit(v[1], kOhm);
    case 'A':
        // The record keeps the gain as a factor; the Datafile gave it in dB.
        return ValueWithUnit(20.0L * std::log10(v[0]), "dB");
    default:
        return {};
    }
}

} // namespace

int PinCount(char kind) {
    switch (kind) {
    case 'R':
    case 'C':
    case 'L':
        return 2;
    case 'A':
    case 'B':
    case 'F':
    case 'V':
        return 3;
    case 'M':
        return 4;
    case 'T':
        return 5;
    default:
        return 0;
    }
}

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

Circuit CircuitFromParse(const ParseOutcome& outcome, const CircuitState& state) {
    Circuit circuit;
    circuit.nodeIn = state.NodeIn;
    circuit.nodeOut = state.NodeOut;
    circuit.nodeCom = state.NodeCom;
    std::map<char, int> counts;
    for (std::size_t i = 1; i < outcome.records.size(); ++i) {
        const ComponentRecord& record = outcome.records[i];
        Part part;
        part.line = i - 1 < outcome.sourceLines.size() ? outcome.sourceLines[i - 1] : 0;
        part.kind = record.kind;
        part.name = std::string(1, record.kind) + std::to_string(++counts[record.kind]);
        for (int pin = 0; pin < PinCount(record.kind); ++pin) {
            part.nodes.push_back(record.nodes[static_cast<std::size_t>(pin)]);
        }
        part.valueText = ValuesOf(record);
        circuit.parts.push_back(std::move(part));
    }
    return circuit;
}

} // namespace kelvor::schematic
