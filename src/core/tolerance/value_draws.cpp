// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/value_draws.h"

#include "circuit/component_kind.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelvor {
namespace {

// SplitMix64: a small generator whose whole state is one word, so that a run's stream starts
// from its number at no cost and no thread has to wait for another's draws.
class RunRandom {
public:
    RunRandom(uint64_t seed, int run)
        : state_(Mix(seed) ^ Mix(static_cast<uint64_t>(run) + 0x632be59bd9b4e019ULL)) {}

    // In [0, 1), 53 random bits.
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1p-53; }

    // Standard normal, Box-Muller; 1 - Unit() lies in (0, 1], so the logarithm is finite.
    double Normal() {
        const double radius = std::sqrt(-2.0 * std::log(1.0 - Unit()));
        return radius * std::cos(2.0 * std::numbers::pi * Unit());
    }

private:
    static uint64_t Mix(uint64_t z) {
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    uint64_t Next() {
        state_ += 0x9e3779b97f4a7c15ULL;
        return Mix(state_);
    }

    uint64_t state_;
};

} // namespace

std::vector<TolerancedValue> TolerancedValues(const LoadedCircuit& circuit,
                                              const std::vector<std::string>& componentLines,
                                              const ToleranceSettings& settings) {
    std::vector<TolerancedValue> values;
    for (std::size_t record = 1; record < circuit.records.size(); ++record) {
        const ComponentKind* kind = FindComponentKind(circuit.records[record].kind);
        if (kind == nullptr) {
            continue;
        }
        const std::string key =
            record - 1 < componentLines.size() ? ComponentLineKey(componentLines[record - 1]) : "";
        const long double percent = TolerancePercent(settings, kind->letter, key);
        if (!(percent > 0)) {
            continue;
        }
        for (const ValueDescription& value : kind->values) {
            if (value.modelReads) {
                values.push_back({record, value.slot, percent / 100});
            }
        }
    }
    return values;
}

void DrawDeviations(uint64_t seed, int run, ToleranceDistribution distribution,
                    const std::vector<TolerancedValue>& values,
                    std::vector<long double>& deviations) {
    RunRandom random(seed, run);
    deviations.resize(values.size());
    for (std::size_t index = 0; index < values.size(); ++index) {
        const long double fraction = values[index].fraction;
        if (distribution == ToleranceDistribution::Uniform) {
            deviations[index] = fraction * (2 * static_cast<long double>(random.Unit()) - 1);
        } else {
            // The tolerance is three standard deviations; the rare draw beyond it is clipped.
            deviations[index] = std::clamp(fraction / 3 * static_cast<long double>(random.Normal()),
                                           -fraction, fraction);
        }
    }
}

LoadedCircuit DeviatedCircuit(const LoadedCircuit& nominal,
                              const std::vector<TolerancedValue>& values,
                              const std::vector<long double>& deviations) {
    std::vector<LoadedCircuit::ValueChange> changes;
    changes.reserve(values.size());
    for (std::size_t index = 0; index < values.size(); ++index) {
        const TolerancedValue& toleranced = values[index];
        const ComponentKind& kind = *FindComponentKind(nominal.records[toleranced.record].kind);
        long double value =
            nominal.records[toleranced.record].values[toleranced.value] * (1 + deviations[index]);
        const ValueLimit limit = kind.values[static_cast<std::size_t>(toleranced.value)].limit;
        if (limit == ValueLimit::AtLeastRmin) {
            value = std::max(value, Rmin);
        } else if (limit == ValueLimit::AtMostOne) {
            value = std::min(value, 1.0L);
        }
        changes.push_back({toleranced.record, toleranced.value, value});
    }
    return nominal.WithValues(changes);
}

} // namespace kelvor
