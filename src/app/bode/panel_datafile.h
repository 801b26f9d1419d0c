// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/response.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kelvor::app {

struct AppState;

// The current Datafile as an analyser panel last read it. The panel's running analysis holds
// the circuit it started with, so reading the Datafile again never changes it under the run.
struct PanelDatafile {
    std::filesystem::path path;
    std::string text;                             // as the circuit was read from it
    std::shared_ptr<const LoadedCircuit> circuit; // none until a Datafile could be read
    std::vector<std::string> componentLines;
    std::vector<int> sourceLines; // the Datafile line of each component line
    bool good = false;            // it parsed without an error

    // Reads the current Datafile; a file fault is shown and leaves no circuit.
    void Load(AppState& state);
    // Whether this is still the current Datafile, with the same bytes: false for another one,
    // one changed behind the panel's back (by an editor or another program), or one that cannot
    // be read now, so that reading it again says why.
    bool IsCurrent(const AppState& state) const;
};

} // namespace kelvor::app
