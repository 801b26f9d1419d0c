// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "nodal/nodal_solver.h"
#include "noise/noise_settings.h"

#include <string>
#include <vector>

namespace kelvor {

inline constexpr long double kBoltzmann = 1.380649e-23L;           // J/K
inline constexpr long double kElementaryCharge = 1.602176634e-19L; // C
// The usual triode figure: a grid noise resistance of 2.5 / Gm.
inline constexpr long double kValveNoiseResistanceFactor = 2.5L;
// The channel noise of a saturated field-effect transistor: 4kT (2/3) Gm.
inline constexpr long double kChannelNoiseFactor = 2.0L / 3.0L;

enum class NoiseSourceForm {
    // The thermal noise of a passive element's whole admittance stamp: a current generator
    // between every pair of its nodes with the correlation 4kT Re(Y).
    Thermal,
    // A current generator between two slots of the record.
    CurrentBetween,
    // A voltage generator in series with one slot: the element sees its terminal moved by it.
    SeriesVoltage,
};

// One noise generator of one component line. Densities are white: the spectral density is
// `density` (A^2/Hz, V^2/Hz, or 4kT for a thermal stamp) at every frequency.
struct NoiseGenerator {
    std::size_t record = 0; // index into the circuit's records
    int line = 0;           // the Datafile line number
    char kind = ' ';
    std::string what; // "thermal", "base shot", "collector shot", "channel", "grid", "en", ...
    NoiseSourceForm form = NoiseSourceForm::Thermal;
    int slotA = 0;
    int slotB = 0;
    long double density = 0;

    // "Line 12 R thermal"
    std::string Name() const { return "Line " + std::to_string(line) + " " + kind + " " + what; }
};

// Every generator of the circuit, in record order. `sourceLines[i]` is the Datafile line of
// records[i + 1]. Throws KelvorError for a temperature at or below absolute zero.
std::vector<NoiseGenerator> NoiseGenerators(const LoadedCircuit& circuit,
                                            const std::vector<int>& sourceLines,
                                            const NoiseSettings& settings);

// The generator's share of the output noise at the solved point, V^2/Hz.
long double OutputNoisePower(const NoiseGenerator& generator, const LoadedCircuit& circuit,
                             const NodalPoint& point);

} // namespace kelvor
