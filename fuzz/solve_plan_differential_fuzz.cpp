// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/datafile_reader.h"
#include "kelvor_error.h"
#include "non_number_check.h"
#include "solver/response.h"
#include "text/eng_value.h"
#include "text/words.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using namespace kelvor;

constexpr int kMostFrequencies = 4;

bool SameBits(long double a, long double b) {
    return std::memcmp(&a, &b, 10) == 0; // the 80 bits, not the padding
}

// What one computation gave: the point, or the message of the fault that ended it.
struct Outcome {
    ResponsePoint point;
    std::string fault;
    std::string messages;
};

Outcome Compute(const LoadedCircuit& circuit, long double frequency, ResponseForm form) {
    Outcome outcome;
    CollectedMessages messages;
    ResponseSolver solver;
    try {
        solver.ComputeResponse(circuit, frequency, form, outcome.point, messages);
    } catch (const KelvorError& error) {
        outcome.fault = error.what();
    }
    outcome.messages = messages.texts;
    return outcome;
}

} // namespace

// The first line holds up to four frequencies, the rest is a Datafile. A circuit that parses is
// solved through its prepared plan and through the per-record computation, which stamps every
// record into the whole matrix: both must give every bit of every result alike, or the same
// fault with the same message.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t lineEnd = std::min(input.find('\n'), input.size());
    CircuitState state;
    ParseOutcome outcome =
        ParseDatafileText(input.substr(std::min(lineEnd + 1, input.size())), state, "7 Dec 2026");
    if (!outcome.ok) {
        return 0;
    }
    const LoadedCircuit prepared = MakeLoadedCircuit(std::move(outcome.records), state);
    if (prepared.plan == nullptr) {
        return 0; // such circuits take the per-record computation anyway
    }
    const LoadedCircuit perRecord = prepared.WithoutPlan();
    const std::string_view firstLine = input.substr(0, lineEnd);
    for (int n = 1; n <= kMostFrequencies; ++n) {
        bool ok = true;
        const long double frequency = ParseEngValue(NthWord(firstLine, n), ok);
        if (!ok || !std::isfinite(frequency) || frequency < 0) {
            continue;
        }
        for (const ResponseForm form : {ResponseForm::Display, ResponseForm::Raw}) {
            const Outcome a = Compute(prepared, frequency, form);
            const Outcome b = Compute(perRecord, frequency, form);
            if (a.fault != b.fault || a.messages != b.messages ||
                !SameBits(a.point.Gain, b.point.Gain) || !SameBits(a.point.Phase, b.point.Phase) ||
                !SameBits(a.point.Zin, b.point.Zin) || !SameBits(a.point.Zout, b.point.Zout)) {
                std::abort();
            }
        }
    }
    return 0;
}
