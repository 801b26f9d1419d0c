#pragma once

#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "messages.h"
#include "solver/response.h"

#include <stdexcept>
#include <string>

namespace kelvor::bench {

// Nobody is there to read a message during a measurement.
using kelvor::QuietMessages;

inline LoadedCircuit ParseText(const std::string& text) {
    CircuitState state;
    ParseOutcome outcome = ParseDatafileText(text, state, "7 Dec 2026");
    if (!outcome.ok) {
        throw std::runtime_error("benchmark circuit does not parse:" + outcome.report);
    }
    return MakeLoadedCircuit(std::move(outcome.records), state);
}

inline LoadedCircuit SampleCircuit() {
    return ParseText(SampleDatafileText("7 Dec 2026"));
}

} // namespace kelvor::bench
