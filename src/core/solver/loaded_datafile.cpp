// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/loaded_datafile.h"

#include "circuit/datafile_reader.h"

#include <utility>

namespace kelvor {

LoadedDatafile LoadDatafile(const std::filesystem::path& path, const std::string& today) {
    return LoadDatafileText(ReadDatafileBytes(path), today);
}

LoadedDatafile LoadDatafileText(std::string bytes, const std::string& today) {
    CircuitState state;
    ParseOutcome outcome = ParseDatafileText(bytes, state, today);
    // Made in place: a circuit never changes, so moving one copies its records.
    return LoadedDatafile{std::move(bytes),
                          state,
                          outcome.ok,
                          std::move(outcome.report),
                          std::move(outcome.componentLines),
                          std::move(outcome.sourceLines),
                          MakeLoadedCircuit(std::move(outcome.records), state)};
}

} // namespace kelvor
