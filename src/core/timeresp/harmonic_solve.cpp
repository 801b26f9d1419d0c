// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeresp/harmonic_solve.h"

#include "analysis/frequency_solve.h"
#include "solver/response.h"

#include <algorithm>
#include <cmath>

namespace kelvor {

HarmonicTable ComputeHarmonics(const LoadedCircuit& circuit, TimeResponseKind kind, int32_t groups,
                               long double fundamental, ResponseSolver& solver,
                               MessageSink& messages, const HarmonicProgress& progress,
                               int threads) {
    HarmonicTable table;
    table.kind = kind;
    table.groups = std::max(0, groups);
    table.fundamental = fundamental;
    const auto count = static_cast<std::size_t>(table.Count());
    table.gain.assign(count, 0.0L);
    table.phase.assign(count, 0.0L);

    if (kind == TimeResponseKind::Pulse) {
        ResponsePoint point;
        solver.ComputeResponse(circuit, 0, ResponseForm::Raw, point, messages);
        table.DcGain = point.Gain;
    }

    std::vector<long double> frequencies(count);
    for (std::size_t index = 0; index < count; ++index) {
        const auto k = static_cast<long double>(HarmonicNumber(kind, static_cast<int>(index)));
        frequencies[index] = k * fundamental;
    }
    const FrequencySolve solve = SolveFrequencies(circuit, frequencies, ResponseForm::Raw, solver,
                                                  messages, progress, threads);
    for (std::size_t index = 0; index < count; ++index) {
        table.gain[index] = solve.points[index].Gain;
        table.phase[index] = solve.points[index].Phase;
    }
    if (!solve.complete) {
        return table;
    }
    for (long double gain : table.gain) {
        if (std::fabs(gain) > table.largest) {
            table.largest = std::fabs(gain);
        }
    }
    table.complete = true;
    return table;
}

} // namespace kelvor
