// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/response.h"
#include "tolerance/tolerance_settings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelvor {

// One value of one component that varies from run to run.
struct TolerancedValue {
    std::size_t record = 0;   // index into the circuit's records (the header is record 0)
    int value = 0;            // index into the record's values
    long double fraction = 0; // the tolerance as a share of the value: percent / 100
};

// Every value that the models read, of every component whose tolerance is above 0, in record
// order. `componentLines` holds the Datafile line of each component record, records[1] first;
// the lines key the per-component overrides.
std::vector<TolerancedValue> TolerancedValues(const LoadedCircuit& circuit,
                                              const std::vector<std::string>& componentLines,
                                              const ToleranceSettings& settings);

// The relative deviations of one run, one per toleranced value, within +-fraction. They depend
// only on the seed, the run number and the list, so a run gives the same circuit whichever
// thread draws it and whatever runs come before it.
void DrawDeviations(uint64_t seed, int run, ToleranceDistribution distribution,
                    const std::vector<TolerancedValue>& values,
                    std::vector<long double>& deviations);

// The nominal circuit with each toleranced value set to nominal x (1 + deviation), then kept
// where the Datafile reader keeps values: resistances at least Rmin and a coupling factor at
// most 1. A deviation of 0 leaves the value exactly as it was.
LoadedCircuit DeviatedCircuit(const LoadedCircuit& nominal,
                              const std::vector<TolerancedValue>& values,
                              const std::vector<long double>& deviations);

} // namespace kelvor
