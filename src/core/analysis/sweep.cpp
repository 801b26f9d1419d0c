#include "analysis/sweep.h"

#include "solver/response.h"

#include <algorithm>
#include <cmath>

namespace kelvor {

SweepResult RunSweep(const FrequencyScale& scale, const LoadedCircuit& circuit,
                     ResponseSolver& solver, MessageSink& messages, const SweepProgress& progress) {
    SweepResult result;
    if (scale.FCode == 0) {
        result.UserFreqLabels = BuildUserFreqLabels(scale);
    }
    ResponsePoint point;
    for (int column = kFirstSweepColumn; column <= kLastSweepColumn; ++column) {
        const long double frequency = ColumnFrequency(scale, column);
        solver.ComputeResponse(circuit, frequency, ResponseForm::Display, point, messages);
        const int index = column - kFirstSweepColumn;
        result.Frequency[index] = frequency;
        result.SweepGain[index] = point.Gain;
        // Rounded to the nearest integer, halves to even (the default rounding mode).
        const auto rounded = static_cast<int32_t>(std::lrint(point.Gain));
        result.SweepMinDb = std::min(result.SweepMinDb, rounded);
        result.SweepMaxDb = std::max(result.SweepMaxDb, rounded);
        if (progress && !progress(column)) {
            return result;
        }
    }
    result.completed = true;
    return result;
}

bool OutputNeverResponds(const SweepResult& sweep) {
    return std::all_of(sweep.SweepGain.begin(), sweep.SweepGain.end(),
                       [](long double gain) { return gain < kNoOutputGain; });
}

} // namespace kelvor
