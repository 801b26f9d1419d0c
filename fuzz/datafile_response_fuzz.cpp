// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/frequency_scale.h"
#include "analysis/response_table.h"
#include "circuit/datafile_reader.h"
#include "kelvor_error.h"
#include "messages.h"
#include "non_number_check.h"
#include "solver/response.h"
#include "text/eng_value.h"
#include "text/words.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace kelvor;

constexpr int kMostFrequencies = 4;

// The frequencies typed on the first line, as the response window takes them: numbers in the
// engineering syntax, 0 Hz or more.
std::vector<long double> TypedFrequencies(std::string_view line) {
    std::vector<long double> frequencies;
    for (int n = 1; n <= kMostFrequencies; ++n) {
        const std::string word = NthWord(line, n);
        bool ok = true;
        const long double frequency = ParseEngValue(word, ok);
        if (ok && std::isfinite(frequency) && frequency >= 0) {
            frequencies.push_back(frequency);
        }
    }
    return frequencies;
}

void Solve(const LoadedCircuit& circuit, long double frequency) {
    ResponseSolver solver;
    CollectedMessages messages;
    for (const ResponseForm form : {ResponseForm::Display, ResponseForm::Raw}) {
        ResponsePoint point;
        try {
            solver.ComputeResponse(circuit, frequency, form, point, messages);
        } catch (const KelvorError& error) {
            RequireNoNonNumber(error.what());
            continue;
        }
        if (!std::isfinite(point.Gain) || !std::isfinite(point.Phase) ||
            !std::isfinite(point.Zin) || !std::isfinite(point.Zout)) {
            std::abort();
        }
        if (form == ResponseForm::Display) {
            for (const bool extended : {false, true}) {
                const ResponseBoxes boxes = FormatResponseBoxes(point, extended, messages);
                RequireNoNonNumber(FormatResponseRow("f", boxes, extended));
            }
        }
    }
    RequireNoNonNumber(messages.texts);
}

} // namespace

// The whole road of a request: the first line holds the frequencies a user types, the rest is
// a Datafile. A circuit that parses is solved at each frequency in both forms and its table
// rows are formatted; a computation may end in a fault, but never in a NaN or an infinity in
// a result, a row or a message.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t lineEnd = std::min(input.find('\n'), input.size());
    const std::vector<long double> frequencies = TypedFrequencies(input.substr(0, lineEnd));
    if (frequencies.size() >= 2 && IsSweepableUserRange(frequencies[0], frequencies[1])) {
        const FrequencyScale scale = SetupFrequencyScale(0, frequencies[0], frequencies[1]);
        RequireNoNonNumber(BuildUserFreqLabels(scale));
    }
    CircuitState state;
    ParseOutcome outcome =
        ParseDatafileText(input.substr(std::min(lineEnd + 1, input.size())), state, "7 Dec 2026");
    if (!outcome.ok) {
        return 0; // the program refuses to compute such a circuit
    }
    const LoadedCircuit circuit = MakeLoadedCircuit(std::move(outcome.records), state);
    for (const long double frequency : frequencies) {
        Solve(circuit, frequency);
    }
    return 0;
}
