// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/spice_fidelity.h"

#include "circuit/datafile_reader.h"
#include "interchange/ideal_deck_circuit.h"
#include "kelvor_error.h"
#include "messages.h"
#include "solver/response.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace kelvor {

namespace {

constexpr int kPointsPerDecade = 20;
constexpr long double kNoOutputDisplayGain = -50000;
constexpr long double kDefaultFrom = 10;
constexpr long double kDefaultTo = 100e3L;

// "2.61 kHz": three significant digits and a prefix.
std::string FrequencyText(long double hertz) {
    static const std::pair<long double, const char*> kPrefixes[] = {
        {1e9L, "G"}, {1e6L, "M"}, {1e3L, "k"}, {1, ""}, {1e-3L, "m"}, {1e-6L, "u"}};
    for (const auto& [scale, prefix] : kPrefixes) {
        if (hertz >= scale * 0.9995L || scale == 1e-6L) {
            char text[64];
            std::snprintf(text, sizeof text, "%.3Lg %sHz", hertz / scale, prefix);
            return text;
        }
    }
    return {};
}

std::string Scientific(long double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1Le", value);
    return text;
}

} // namespace

AcRange FidelityRange(const SpiceDeck& deck, const std::optional<AcRange>& given) {
    if (given) {
        return *given;
    }
    if (deck.acRange && deck.acRange->from > 0 && deck.acRange->to >= deck.acRange->from &&
        std::isfinite(deck.acRange->to)) {
        return *deck.acRange;
    }
    return {kDefaultFrom, kDefaultTo};
}

SpiceFidelity MeasureFidelity(const SpiceImport& imported, const AcRange& range) {
    SpiceFidelity fidelity;
    fidelity.range = range;
    fidelity.floored = imported.floored;
    try {
        const IdealDeckCircuit deck(imported.circuit, imported.inputNode, imported.outputNode,
                                    imported.commonNode);
        CircuitState state;
        ParseOutcome parsed = ParseDatafileText(imported.datafile, state, "");
        if (!parsed.ok) {
            throw KelvorError("the Datafile has errors:" + parsed.report);
        }
        const LoadedCircuit circuit = MakeLoadedCircuit(std::move(parsed.records), state);
        ResponseSolver solver;
        QuietMessages messages;
        const long double decades = std::log10(range.to / range.from);
        const int steps = static_cast<int>(std::ceil(decades * kPointsPerDecade));
        long double worst = -1;
        for (int i = 0; i <= steps; ++i) {
            const long double f =
                steps == 0
                    ? range.from
                    : range.from * std::pow(10.0L, decades * i / static_cast<long double>(steps));
            const std::optional<std::complex<long double>> ideal = deck.Gain(f);
            if (!ideal) {
                throw KelvorError("the deck's circuit has no single solution at " +
                                  FrequencyText(f) + " (is a node left floating?)");
            }
            ResponsePoint point;
            solver.ComputeResponse(circuit, f, ResponseForm::Display, point, messages);
            // An exact zero as the solver shows it.
            const long double idealDb =
                std::abs(*ideal) == 0 ? kNoOutputDisplayGain : 20 * std::log10(std::abs(*ideal));
            const long double idealDegrees =
                std::arg(*ideal) * 180 / std::numbers::pi_v<long double>;
            if (idealDb < kNoOutputGain && point.Gain < kNoOutputGain) {
                continue; // no output in either
            }
            const long double gain = std::fabs(point.Gain - idealDb);
            const long double phase = std::fabs(std::remainder(point.Phase - idealDegrees, 360.0L));
            fidelity.gainDb = std::max(fidelity.gainDb, gain);
            fidelity.phaseDegrees = std::max(fidelity.phaseDegrees, phase);
            const long double weight =
                std::max(gain / kFidelityGainDb, phase / kFidelityPhaseDegrees);
            if (weight > worst) {
                worst = weight;
                fidelity.atFrequency = f;
            }
        }
    } catch (const KelvorError& error) {
        fidelity.failure = error.what();
    }
    return fidelity;
}

std::string FidelityLine(const SpiceFidelity& fidelity) {
    std::string line;
    if (!fidelity.failure.empty()) {
        line = "Fidelity: not measured: " + fidelity.failure;
    } else {
        line = "Fidelity: largest difference " + Scientific(fidelity.gainDb) + " dB, " +
               Scientific(fidelity.phaseDegrees) + " degrees (at " +
               FrequencyText(fidelity.atFrequency) + ") between " +
               FrequencyText(fidelity.range.from) + " and " + FrequencyText(fidelity.range.to);
    }
    if (!fidelity.floored.empty()) {
        line += "; raised to a Datafile floor:";
        for (const std::string& name : fidelity.floored) {
            line += " " + name;
        }
    }
    return line;
}

bool FidelityWarns(const SpiceFidelity& fidelity) {
    return !fidelity.failure.empty() || !(fidelity.gainDb <= kFidelityGainDb) ||
           !(fidelity.phaseDegrees <= kFidelityPhaseDegrees);
}

} // namespace kelvor
