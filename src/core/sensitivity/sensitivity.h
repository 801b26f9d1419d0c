// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "nodal/nodal_solver.h"
#include "solver/complex.h"
#include "solver/response.h"

#include <string>
#include <vector>

namespace kelvor {

// How much one component value moves the response: the change of gain (dB) and phase
// (degrees) for a 1 % increase of the value, to first order.
struct ValueSensitivity {
    std::size_t record = 0;
    int line = 0; // the Datafile line number
    char kind = ' ';
    std::string valueName; // "R", "Beta", "Cgk", ...
    int slot = 0;          // index into the record's values
    long double value = 0;
    long double gainDbPerPercent = 0;
    long double phaseDegreesPerPercent = 0;
};

struct SensitivityAnalysis {
    long double frequency = 0;
    Complex gain;
    std::vector<ValueSensitivity> ranked; // largest gain sensitivity first
};

// (p / G) dG/dp for value `slot` of `record` at a solved point: its real part is d ln|G| / d ln p,
// its imaginary part the phase's derivative in radians. Exactly zero for a value of zero.
// Floating-point faults are left in the status flags.
Complex RelativeGainSensitivity(const LoadedCircuit& circuit, const NodalPoint& point,
                                const ComponentRecord& record, int slot);

// Every value the models read, of every component, at one frequency: one nodal solve and its
// adjoint give the derivative of the gain with respect to every element admittance at once;
// each element's own admittances are differentiated by a central difference of its model.
// `sourceLines[i]` is the Datafile line of records[i + 1]. Throws KelvorError or
// ComputationFault as the nodal solver does.
SensitivityAnalysis RunSensitivityAnalysis(const LoadedCircuit& circuit,
                                           const std::vector<int>& sourceLines,
                                           long double frequency);

// "Line,Component,Value,Gain (dB/%),Phase (deg/%)" and one row per value, full precision.
std::string SensitivityCsvText(const SensitivityAnalysis& analysis);

// The same as an aligned table, 5 significant digits.
std::string SensitivityTableText(const SensitivityAnalysis& analysis);

} // namespace kelvor
