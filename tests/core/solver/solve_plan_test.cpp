// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/solve_plan.h"

#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "kelvor_error.h"
#include "solver/floating_point_faults.h"
#include "solver/response.h"
#include "support/circuit_builder.h"
#include "support/recording_messages.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace kelvor {
namespace {

using testing::CircuitBuilder;

LoadedCircuit Parsed(const std::string& text) {
    CircuitState state;
    ParseOutcome outcome = ParseDatafileText(text, state, "7 Dec 2026");
    EXPECT_TRUE(outcome.ok) << outcome.report;
    return MakeLoadedCircuit(std::move(outcome.records), state);
}

LoadedCircuit Ladder100() {
    std::string text = "Ladder Rev. 1 7 Dec 2026\r\n\r\nNodeIn = 1 NodeOut = 99 NodeCom = 100\r\n";
    for (int node = 1; node < 99; ++node) {
        text += "R " + std::to_string(node) + " " + std::to_string(node + 1) + " 1k\r\n";
        text += "C " + std::to_string(node + 1) + " 100 10n\r\n";
    }
    return Parsed(text);
}

// The reciprocal kinds, the coupled coils and the transformer among them, with the special
// nodes away from 1, 2 and NoNodes so that the renumbering moves all three.
CircuitBuilder ReciprocalKinds() {
    return CircuitBuilder(4, 6, 2)
        .Add('R', {4, 1}, {1000})
        .Add('C', {1, 2}, {1e-7L})
        .Add('L', {1, 3}, {1e-3L, 0.5L})
        .Add('M', {3, 2, 5, 2}, {1e-3L, 4e-3L, 0.9L, 1e-6L, 1e-6L})
        .Add('T', {5, 7, 2, 8, 2}, {1, 0.5L, 1.0L / 200, 0.25L / 200, 1e-6L, 1e-6L});
}

// Only reciprocal parts: the matrix is symmetric.
LoadedCircuit CoupledReciprocal() {
    return ReciprocalKinds().Add('R', {8, 6}, {100}).Add('C', {6, 7}, {1e-9L}).circuit();
}

// Every kind once, the op-amp's output on the common node's neighbour.
LoadedCircuit AllNineKinds() {
    return ReciprocalKinds()
        .Add('B', {8, 6, 9}, {100, 1e-3L, 3e8L, 1e-12L, 1e-12L, 1e-12L})
        .Add('R', {9, 2}, {100})
        .Add('F', {6, 3, 2}, {5e-3L, 1e-12L, 1e-12L, 1e-12L})
        .Add('V', {7, 6, 2}, {2e-3L, 1e4L, 1e-12L, 1e-12L, 1e-12L})
        .Add('A', {2, 9, 10}, {1e4L, 1e7L, 1e7L})
        .Add('R', {10, 6}, {4700})
        .circuit();
}

// Random branches among 30 nodes, a few of them on the common node, the roles drawn at random.
LoadedCircuit RandomMesh30() {
    std::mt19937 random(30);
    std::uniform_int_distribution<int> node(1, 30);
    std::uniform_real_distribution<double> decade(-3, 3);
    CircuitBuilder builder(7, 19, 23);
    for (int branch = 0; branch < 90; ++branch) {
        const int a = node(random);
        int b = node(random);
        if (b == a) {
            b = a % 30 + 1;
        }
        const long double scale = std::pow(10.0L, static_cast<long double>(decade(random)));
        switch (branch % 3) {
        case 0:
            builder.Add('R', {a, b}, {1000 * scale});
            break;
        case 1:
            builder.Add('C', {a, b}, {1e-8L * scale});
            break;
        default:
            builder.Add('L', {a, b}, {1e-3L * scale, 1e-6L});
            break;
        }
    }
    return builder.WithNoNodes(30).circuit();
}

bool SameBits(long double a, long double b) {
    return std::memcmp(&a, &b, 10) == 0; // the 80 bits, not the padding
}

// Every bit of every result of the prepared computation against the per-record one, which
// stamps each record into the whole matrix, exchanges rows and columns and reduces at every
// point, in both forms at frequencies from 0 to 100 GHz. The circuits of reciprocal parts
// eliminate only the lower triangle.
TEST(SolvePlan, ResultsBitForBitThoseOfThePerRecordComputation) {
    const struct {
        const char* name;
        LoadedCircuit circuit;
        bool lowerTriangle;
    } circuits[] = {
        {"sample", Parsed(SampleDatafileText("7 Dec 2026")), true},
        {"ladder", Ladder100(), true},
        {"all nine kinds", AllNineKinds(), false},
        {"coupled reciprocal", CoupledReciprocal(), true},
        {"random mesh", RandomMesh30(), true},
    };
    std::vector<long double> frequencies = {0, 1e11L};
    for (int step = 0; step <= 2400; ++step) {
        frequencies.push_back(std::pow(10.0L, -3 + step * 14.0L / 2400) * (1 + step % 7 * 1e-3L));
    }
    testing::RecordingMessages messages;
    ResponseSolver prepared, perRecord;
    for (const auto& [name, circuit, lowerTriangle] : circuits) {
        ASSERT_NE(circuit.plan, nullptr) << name;
        EXPECT_EQ(circuit.plan->EliminatesLowerTriangle(), lowerTriangle) << name;
        const LoadedCircuit unprepared = circuit.WithoutPlan();
        int mismatches = 0;
        for (long double frequency : frequencies) {
            for (ResponseForm form : {ResponseForm::Display, ResponseForm::Raw}) {
                ResponsePoint a, b;
                prepared.ComputeResponse(circuit, frequency, form, a, messages);
                perRecord.ComputeResponse(unprepared, frequency, form, b, messages);
                if (!SameBits(a.Gain, b.Gain) || !SameBits(a.Phase, b.Phase) ||
                    !SameBits(a.Zin, b.Zin) || !SameBits(a.Zout, b.Zout)) {
                    ADD_FAILURE() << name << " differs at " << static_cast<double>(frequency)
                                  << " Hz";
                    if (++mismatches == 5) {
                        break;
                    }
                }
            }
        }
    }
    EXPECT_TRUE(messages.entries.empty());
}

// A point reads the status flags once, without clearing them first: each fault its own
// arithmetic raises is still reported, and a flag left by earlier code, x87 or SSE, neither
// ends the point nor changes a bit of it.
TEST(SolvePlan, ReportsEveryFaultOfThePointAndNoneLeftBeforeIt) {
    const struct {
        const char* fault;
        LoadedCircuit circuit;
    } faulting[] = {
        {"division by zero",
         CircuitBuilder(1, 2, 3).Add('B', {1, 2, 3}, {0, 1e-3L, 3e8L, 0, 0, 0}).circuit()},
        {"overflow",
         CircuitBuilder(1, 2, 3).Add('C', {1, 2}, {1e4930L}).Add('R', {2, 3}, {1}).circuit()},
        {"invalid operation",
         CircuitBuilder(1, 2, 3)
             .Add('C', {1, 2}, {std::numeric_limits<long double>::signaling_NaN()})
             .Add('R', {2, 3}, {1})
             .circuit()},
    };
    ResponseSolver solver;
    testing::RecordingMessages messages;
    ResponsePoint point;
    for (const auto& [fault, circuit] : faulting) {
        ASSERT_NE(circuit.plan, nullptr) << fault;
        try {
            solver.ComputeResponse(circuit, 1000, ResponseForm::Display, point, messages);
            ADD_FAILURE() << fault << " not reported";
        } catch (const ComputationFault& error) {
            EXPECT_NE(std::string(error.what()).find(fault), std::string::npos) << error.what();
        }
    }

    const LoadedCircuit sample = Parsed(SampleDatafileText("7 Dec 2026"));
    ResponsePoint clean;
    solver.ComputeResponse(sample, 1000, ResponseForm::Display, clean, messages);
    const std::pair<const char*, void (*)()> leftBefore[] = {
        {"x87 overflow",
         [] {
             volatile long double x = 1e4930L;
             x = x * x;
         }},
        {"x87 invalid",
         [] {
             volatile long double x = 0;
             x = x / x;
         }},
        {"SSE division by zero",
         [] {
             volatile double x = 0;
             x = 1 / x;
         }},
    };
    for (const auto& [what, raise] : leftBefore) {
        raise();
        ASSERT_NE(RaisedFloatingPointFaults(), 0) << what;
        ResponsePoint after;
        EXPECT_NO_THROW(
            solver.ComputeResponse(sample, 1000, ResponseForm::Display, after, messages))
            << what;
        EXPECT_TRUE(SameBits(after.Gain, clean.Gain) && SameBits(after.Phase, clean.Phase) &&
                    SameBits(after.Zin, clean.Zin) && SameBits(after.Zout, clean.Zout))
            << what;
    }
}

TEST(SolvePlan, CircuitsThatMustReportAtEveryPointHaveNone) {
    const auto good = CircuitBuilder(1, 2, 3).Add('R', {1, 2}, {1}).Add('R', {2, 3}, {1});
    EXPECT_NE(good.circuit().plan, nullptr);
    const std::pair<const char*, LoadedCircuit> cases[] = {
        {"unknown kind", CircuitBuilder(1, 2, 3).Add('X', {1, 2}, {1}).WithNoNodes(3).circuit()},
        {"node outside", CircuitBuilder(1, 2, 3).Add('R', {1, 0}, {1}).WithNoNodes(3).circuit()},
        {"equal roles", CircuitBuilder(1, 1, 3).Add('R', {1, 3}, {1}).circuit()},
        {"zero resistance", CircuitBuilder(1, 2, 3).Add('R', {1, 2}, {0}).circuit()},
    };
    for (const auto& [what, circuit] : cases) {
        EXPECT_EQ(circuit.plan, nullptr) << what;
    }
}

TEST(SolvePlan, ZeroResistanceStillFaultsAtThePoint) {
    const auto shorted = CircuitBuilder(1, 2, 3).Add('R', {1, 2}, {0}).Add('R', {2, 3}, {1});
    ResponseSolver solver;
    ResponsePoint point;
    testing::RecordingMessages messages;
    EXPECT_THROW(
        solver.ComputeResponse(shorted.circuit(), 50, ResponseForm::Display, point, messages),
        KelvorError);
}

} // namespace
} // namespace kelvor
