// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/response.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelvor {

// The value a step changes: the `value`-th value (from 1) of the component on Datafile line
// `line` (from 1, as an editor counts them).
struct StepTarget {
    int line = 0;
    int value = 1;
};

// "LINE[.K]=LIST", as kelvor-cli bode --step takes it. Throws KelvorError saying what is wrong.
struct StepRequest {
    StepTarget target;
    std::vector<long double> values;
};
StepRequest ParseStepRequest(std::string_view text);

// A component line that can be stepped: its Datafile line, its kind and nodes ("R 1 2") and the
// value words written on it.
struct SteppableLine {
    int line = 0;
    std::string component;
    std::vector<std::string> values;
};
// Throws KelvorError when the Datafile has errors.
std::vector<SteppableLine> SteppableLines(std::string_view datafileText, const std::string& today);

// One circuit per value: the Datafile with that value written in place of the target's, read as
// the Datafile reader reads any Datafile (so its floors and checks apply), named by the value
// ("R 1 2 = 2.2k"). Throws KelvorError when the target is not a written value of a component
// line, or when a value makes the Datafile fail its checks.
struct SteppedCircuit {
    std::string name;
    LoadedCircuit circuit;
};
std::vector<SteppedCircuit> SteppedCircuits(std::string_view datafileText, const StepTarget& target,
                                            const std::vector<long double>& values,
                                            const std::string& today);

} // namespace kelvor
