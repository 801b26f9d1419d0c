// SPDX-License-Identifier: GPL-3.0-or-later
#include "sensitivity/sensitivity.h"

#include "bode/significant_format.h"
#include "circuit/component_kind.h"
#include "nodal/nodal_solver.h"
#include "solver/floating_point_faults.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace kelvor {
namespace {

// The relative step of the central difference of an element's admittances: its truncation
// error (step squared) and its rounding (extended epsilon over the step) both stay near 1e-12.
constexpr long double kRelativeStep = 1e-6L;
constexpr long double kDecibelsPerNeper = 8.6858896380650365530L; // 20 / ln 10
constexpr long double kDegreesPerRadian = 57.295779513082320877L;
constexpr long double kPercent = 100;

std::string Number(long double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

// d(gain)/d(value): -z^T (dY/dp) v over the element's stamps, z the transfers to the output and
// v the node voltages of the solved point.
Complex GainDerivative(const LoadedCircuit& circuit, const NodalPoint& point,
                       const ComponentRecord& record, int slot, long double step) {
    StampContext context;
    context.W = TwoPi * point.frequency;
    context.frequency = point.frequency;
    context.NodeCom = circuit.NodeCom;
    ComponentRecord varied = record;
    Complex above[kMaxElementTerms], below[kMaxElementTerms];
    varied.values[slot] = record.values[slot] + step;
    ComputeElementTerms(varied, context, above);
    varied.values[slot] = record.values[slot] - step;
    ComputeElementTerms(varied, context, below);
    Complex sum = CZero;
    for (const Stamp& stamp : StampsOf(record.kind)) {
        const Complex termDerivative = CSub(above[stamp.term], below[stamp.term]);
        const Complex product =
            CMul(CMul(point.transfers[NodalPoint::NodeOfSlot(record, stamp.row, circuit.NodeCom)],
                      termDerivative),
                 point.voltages[NodalPoint::NodeOfSlot(record, stamp.column, circuit.NodeCom)]);
        sum = stamp.subtract ? CAdd(sum, product) : CSub(sum, product);
    }
    return CDiv(sum, MakeComplex(2 * step, 0));
}

} // namespace

Complex RelativeGainSensitivity(const LoadedCircuit& circuit, const NodalPoint& point,
                                const ComponentRecord& record, int slot) {
    const long double value = record.values[slot];
    if (value == 0) {
        return CZero;
    }
    const Complex derivative = GainDerivative(circuit, point, record, slot, value * kRelativeStep);
    return CDiv(CMul(derivative, MakeComplex(value, 0)), point.gain);
}

SensitivityAnalysis RunSensitivityAnalysis(const LoadedCircuit& circuit,
                                           const std::vector<int>& sourceLines,
                                           long double frequency) {
    NodalSolver solver(circuit);
    const NodalPoint& point = solver.Solve(frequency);
    SensitivityAnalysis analysis;
    analysis.frequency = frequency;
    analysis.gain = point.gain;
    ClearFloatingPointFaults();
    for (std::size_t index = 1; index < circuit.records.size(); ++index) {
        const ComponentRecord& record = circuit.records[index];
        const int line = index - 1 < sourceLines.size() ? sourceLines[index - 1] : 0;
        const ComponentKind* kind = FindComponentKind(record.kind);
        if (kind == nullptr) {
            continue;
        }
        for (const ValueDescription& description : kind->values) {
            if (!description.modelReads) {
                continue;
            }
            const int slot = description.slot;
            ValueSensitivity sensitivity{
                index, line, record.kind, std::string(description.name), slot, record.values[slot]};
            if (sensitivity.value != 0) {
                const Complex relative = RelativeGainSensitivity(circuit, point, record, slot);
                sensitivity.gainDbPerPercent = relative.Re * kDecibelsPerNeper / kPercent;
                sensitivity.phaseDegreesPerPercent = relative.Im * kDegreesPerRadian / kPercent;
            }
            analysis.ranked.push_back(sensitivity);
        }
    }
    ThrowIfFloatingPointFault([frequency] {
        char text[96];
        std::snprintf(text, sizeof text, "while computing the sensitivities at %.6Lg Hz.",
                      frequency);
        return std::string(text);
    });
    std::stable_sort(analysis.ranked.begin(), analysis.ranked.end(),
                     [](const ValueSensitivity& a, const ValueSensitivity& b) {
                         return std::fabs(a.gainDbPerPercent) > std::fabs(b.gainDbPerPercent);
                     });
    return analysis;
}

std::string SensitivityCsvText(const SensitivityAnalysis& analysis) {
    std::string text = "Line,Component,Value,Gain (dB/%),Phase (deg/%)\n";
    for (const ValueSensitivity& value : analysis.ranked) {
        text += std::to_string(value.line) + "," + value.kind + "," + value.valueName + "," +
                Number(value.gainDbPerPercent) + "," + Number(value.phaseDegreesPerPercent) + "\n";
    }
    return text;
}

std::string SensitivityTableText(const SensitivityAnalysis& analysis) {
    std::string text = "Line  Component  Value          Gain (dB/%)       Phase (deg/%)\n";
    for (const ValueSensitivity& value : analysis.ranked) {
        char row[160];
        std::snprintf(row, sizeof row, "%-5d %-10c %-6s %7s  %16s  %18s\n", value.line, value.kind,
                      value.valueName.c_str(), FormatSignificant(value.value, 5, "", true).c_str(),
                      FormatSignificant(value.gainDbPerPercent, 5, "", false).c_str(),
                      FormatSignificant(value.phaseDegreesPerPercent, 5, "", false).c_str());
        text += row;
    }
    return text;
}

} // namespace kelvor
