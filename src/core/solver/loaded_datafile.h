// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "circuit/circuit_state.h"
#include "solver/response.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kelvor {

// A Datafile read on its own, beside the working folder's record file: the analyser's added
// curves, its panels, the exports, the schematic and the command-line tool.
struct LoadedDatafile {
    std::string bytes;  // as read: the export copies its lines, the panels tell a change by them
    CircuitState state; // what the parse found: title, revision, node roles
    bool ok = true;     // the parse found no error
    std::string report; // the parse's report, as ParseOutcome's
    // The text of each component record's line and its line number, records[1] first.
    std::vector<std::string> componentLines;
    std::vector<int> sourceLines;
    LoadedCircuit circuit; // the records, with the solve plan when the checks allow one
};

// Reads the Datafile within its size limit, refusing what the reader refuses (not a regular
// file, too large, UTF-16 text), and loads its bytes. Throws KelvorError for a file that cannot
// be read; a Datafile with errors loads with ok cleared and its report.
LoadedDatafile LoadDatafile(const std::filesystem::path& path, const std::string& today);
// Parses a Datafile's bytes with `today` in its header record and prepares its circuit.
LoadedDatafile LoadDatafileText(std::string bytes, const std::string& today);

} // namespace kelvor
