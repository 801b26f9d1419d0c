// SPDX-License-Identifier: GPL-3.0-or-later
// The adjoint sensitivities against central differences of the response computation, on every
// example at frequencies across its range.

#include "sensitivity/sensitivity.h"
#include "support/example_circuits.h"
#include "support/recording_messages.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kelvor {
namespace {

// The difference step: small enough that its truncation error (step squared) stays below
// 1e-9 relative, large enough that the response's rounding divided by it does too.
constexpr long double kStep = 1e-5L;
constexpr double kAgreement = 1e-6;
// Below this (a thousandth of a dB or degree for a 100 % change) the difference quotient of the
// response resolves no more: the transformer's coupling, 1 - x + x^2 for a tiny x, rounds at
// some 1e-13 of the response. Such values are held to kAgreement times the floor.
constexpr long double kResolvedFloor = 1e-5L;

ResponsePoint ResponseWith(const LoadedCircuit& nominal, std::size_t record, int slot,
                           long double factor, long double frequency) {
    const LoadedCircuit varied =
        nominal.WithValues({{record, slot, nominal.records[record].values[slot] * factor}});
    ResponseSolver solver;
    testing::RecordingMessages messages;
    ResponsePoint point;
    solver.ComputeResponse(varied, frequency, ResponseForm::Display, point, messages);
    return point;
}

TEST(Sensitivity, AgreesWithFiniteDifferencesOfTheResponseOnEveryExample) {
    for (const testing::ExampleCircuit& example : testing::AllExampleCircuits()) {
        SCOPED_TRACE(example.name);
        for (const long double frequency : testing::WideFrequencies(example, 4)) {
            const SensitivityAnalysis analysis =
                RunSensitivityAnalysis(example.circuit, example.sourceLines, frequency);
            ASSERT_FALSE(analysis.ranked.empty());
            for (const ValueSensitivity& value : analysis.ranked) {
                const ResponsePoint up =
                    ResponseWith(example.circuit, value.record, value.slot, 1 + kStep, frequency);
                const ResponsePoint down =
                    ResponseWith(example.circuit, value.record, value.slot, 1 - kStep, frequency);
                const long double perPercent = 2 * kStep * 100;
                const long double gain = (up.Gain - down.Gain) / perPercent;
                const long double phase =
                    std::remainder(up.Phase - down.Phase, 360.0L) / perPercent;
                const auto tolerance = [](long double expected) {
                    return static_cast<double>(kAgreement *
                                               std::max(std::fabs(expected), kResolvedFloor));
                };
                EXPECT_NEAR(static_cast<double>(value.gainDbPerPercent), static_cast<double>(gain),
                            tolerance(gain))
                    << "line " << value.line << " " << value.valueName << " at "
                    << static_cast<double>(frequency);
                EXPECT_NEAR(static_cast<double>(value.phaseDegreesPerPercent),
                            static_cast<double>(phase), tolerance(phase))
                    << "line " << value.line << " " << value.valueName << " at "
                    << static_cast<double>(frequency);
            }
        }
    }
}

} // namespace
} // namespace kelvor
