// SPDX-License-Identifier: GPL-3.0-or-later
// The nodal solver against the two-port reduction: two independent eliminations of the same
// stamps must give the same gain; the adjoint's transfer at the output node is the output
// impedance the reduction reports.

#include "kelvor_error.h"
#include "nodal/nodal_solver.h"
#include "support/circuit_builder.h"
#include "support/example_circuits.h"
#include "support/recording_messages.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kelvor {
namespace {

// Both solvers work in extended precision; their orders of elimination differ, so the results
// may part in the last few of 19 digits, times the conditioning of the circuit.
constexpr long double kAgreement = 1e-12L;

Complex ResponseGain(const LoadedCircuit& circuit, long double frequency) {
    ResponseSolver solver;
    testing::RecordingMessages messages;
    ResponsePoint point;
    solver.ComputeResponse(circuit, frequency, ResponseForm::Raw, point, messages);
    return MakeComplex(point.Gain * std::cos(point.Phase), point.Gain * std::sin(point.Phase));
}

TEST(NodalSolver, GainAndOutputImpedanceAgreeWithTheResponseOnEveryExample) {
    for (const testing::ExampleCircuit& example : testing::AllExampleCircuits()) {
        SCOPED_TRACE(example.name);
        NodalSolver solver(example.circuit);
        ResponseSolver response;
        testing::RecordingMessages messages;
        long double worst = 0;
        for (const long double frequency : testing::WideFrequencies(example, 60)) {
            const NodalPoint& point = solver.Solve(frequency);
            const Complex expected = ResponseGain(example.circuit, frequency);
            worst = std::max(worst, CAbs(CSub(point.gain, expected)) / CAbs(expected));

            ResponsePoint display;
            response.ComputeResponse(example.circuit, frequency, ResponseForm::Display, display,
                                     messages);
            const Complex zout = point.transfers[example.circuit.NodeOut];
            EXPECT_NEAR(static_cast<double>(CAbs(zout) / std::fabs(display.Zout)), 1.0, 1e-12)
                << frequency;
        }
        EXPECT_LE(worst, kAgreement);
    }
}

TEST(NodalSolver, LadderAndOpAmpFollowersAgreeWithTheReduction) {
    // The largest circuit the program takes, and op-amps whose rows are dominated by the
    // open-loop gain off the diagonal.
    testing::CircuitBuilder ladder(1, 99, 100);
    for (int node = 1; node < 99; ++node) {
        ladder.Add('R', {node, node + 1}, {1000});
        ladder.Add('C', {node + 1, 100}, {10e-9L});
    }
    testing::CircuitBuilder followers(1, 5, 6);
    followers.Add('A', {1, 2, 2}, {1e5L, 1e7L, 1e7L})
        .Add('R', {2, 3}, {1000})
        .Add('A', {3, 4, 4}, {1e5L, 1e7L, 1e7L})
        .Add('C', {4, 5}, {1e-9L})
        .Add('R', {5, 6}, {1e4L});
    for (const LoadedCircuit& circuit : {ladder.circuit(), followers.circuit()}) {
        NodalSolver solver(circuit);
        for (const long double frequency : {1.0L, 159.0L, 1e4L, 1e6L}) {
            const Complex expected = ResponseGain(circuit, frequency);
            EXPECT_LE(CAbs(CSub(solver.Solve(frequency).gain, expected)) / CAbs(expected),
                      kAgreement)
                << frequency;
        }
    }
}

TEST(NodalSolver, NodeJoinedToNothingIsAFaultNotANumber) {
    // Node 4 hangs on a capacitor of 0 F alone: no equation determines its voltage.
    testing::CircuitBuilder builder(1, 2, 3);
    builder.Add('R', {1, 2}, {1000}).Add('R', {2, 3}, {1000}).Add('C', {4, 3}, {0});
    const LoadedCircuit circuit = builder.circuit();
    NodalSolver solver(circuit);
    try {
        solver.Solve(1000);
        FAIL() << "no fault";
    } catch (const ComputationFault& fault) {
        EXPECT_NE(std::string(fault.what()).find("Node 4 is joined to nothing"), std::string::npos)
            << fault.what();
    }
}

} // namespace
} // namespace kelvor
