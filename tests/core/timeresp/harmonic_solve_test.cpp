// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeresp/harmonic_solve.h"

#include "core/timeresp/test_circuits.h"
#include "kelvor_error.h"
#include "solver/response.h"
#include "support/recording_messages.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace kelvor {
namespace {

using testing::RecordingMessages;

bool SameBits(const std::vector<long double>& a, const std::vector<long double>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    // The 80 significant bits of each value; the padding of a long double is not part of it.
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::memcmp(&a[i], &b[i], 10) != 0) {
            return false;
        }
    }
    return true;
}

HarmonicTable Solve(const LoadedCircuit& circuit, TimeResponseKind kind, int32_t groups,
                    long double fundamental, int threads, const HarmonicProgress& progress = {}) {
    ResponseSolver solver;
    RecordingMessages messages;
    return ComputeHarmonics(circuit, kind, groups, fundamental, solver, messages, progress,
                            threads);
}

TEST(HarmonicSolve, SquareWaveTakesTheOddHarmonicsInOrder) {
    const LoadedCircuit circuit = testing::RcLowPass(1000, 100e-9L);
    const HarmonicTable table = Solve(circuit, TimeResponseKind::SquareWave, 4, 3000, 2);
    ASSERT_TRUE(table.complete);
    ASSERT_EQ(table.Count(), 1024);
    ResponseSolver solver;
    RecordingMessages messages;
    ResponsePoint point;
    for (int index : {0, 1, 255, 256, 1023}) {
        const int64_t k = 2 * index + 1;
        solver.ComputeResponse(circuit, k * 3000.0L, ResponseForm::Raw, point, messages);
        EXPECT_EQ(table.gain[index], point.Gain) << "harmonic " << k;
        EXPECT_EQ(table.phase[index], point.Phase) << "harmonic " << k;
    }
    // The largest gain of a low-pass is the fundamental's.
    EXPECT_EQ(table.largest, table.gain[0]);
}

TEST(HarmonicSolve, PulseTakesZeroFrequencyAndEveryHarmonic) {
    const LoadedCircuit circuit = testing::SampleCircuit();
    const HarmonicTable table = Solve(circuit, TimeResponseKind::Pulse, 8, 50, 2);
    ASSERT_TRUE(table.complete);
    ASSERT_EQ(table.Count(), 2048);
    ResponseSolver solver;
    RecordingMessages messages;
    ResponsePoint point;
    solver.ComputeResponse(circuit, 0, ResponseForm::Raw, point, messages);
    EXPECT_EQ(table.DcGain, point.Gain);
    solver.ComputeResponse(circuit, 7 * 50.0L, ResponseForm::Raw, point, messages);
    EXPECT_EQ(table.gain[6], point.Gain);
    EXPECT_EQ(table.phase[6], point.Phase);
    // A high-pass passes no DC, and the DC gain takes no part in the largest gain.
    EXPECT_LT(table.DcGain, 1e-6L);
    EXPECT_GT(table.largest, 0.5L);
}

TEST(HarmonicSolve, BothCoresFillTheSameTableAsOne) {
    const LoadedCircuit circuit = testing::SampleCircuit();
    const HarmonicTable one = Solve(circuit, TimeResponseKind::SquareWave, 64, 1000, 1);
    for (int threads : {2, 3}) {
        const HarmonicTable many = Solve(circuit, TimeResponseKind::SquareWave, 64, 1000, threads);
        ASSERT_TRUE(many.complete);
        EXPECT_TRUE(SameBits(one.gain, many.gain)) << threads << " threads";
        EXPECT_TRUE(SameBits(one.phase, many.phase)) << threads << " threads";
        EXPECT_EQ(one.largest, many.largest);
    }
}

TEST(HarmonicSolve, ZeroGainEverywhereKeepsTheLeastLargestGain) {
    const HarmonicTable table = Solve(testing::Open(), TimeResponseKind::SquareWave, 4, 1000, 2);
    ASSERT_TRUE(table.complete);
    EXPECT_EQ(table.largest, kLeastLargestGain);
    EXPECT_NEAR(static_cast<double>(DefaultGraphGain(table)), 5000.0, 1e-9);
}

TEST(HarmonicSolve, StoppingPartWayLeavesAnIncompleteTableAndCanStartAgain) {
    const LoadedCircuit circuit = testing::SampleCircuit();
    int lastSolved = 0;
    // One thread, so that where it stops does not depend on how the threads are scheduled.
    const HarmonicTable stopped =
        Solve(circuit, TimeResponseKind::SquareWave, 16, 1000, 1, [&](int solved) {
            lastSolved = solved;
            return solved < 300;
        });
    EXPECT_FALSE(stopped.complete);
    EXPECT_EQ(lastSolved, 300);

    int reportedLast = 0;
    const HarmonicTable again =
        Solve(circuit, TimeResponseKind::SquareWave, 16, 1000, 2, [&](int solved) {
            EXPECT_GE(solved, reportedLast); // never backwards
            reportedLast = solved;
            return true;
        });
    EXPECT_TRUE(again.complete);
    EXPECT_EQ(reportedLast, 4096);
}

TEST(HarmonicSolve, AnExceptionFromTheProgressReportStopsEveryThread) {
    const LoadedCircuit circuit = testing::SampleCircuit();
    struct Interrupted {};
    EXPECT_THROW(Solve(circuit, TimeResponseKind::SquareWave, 64, 1000, 2,
                       [](int solved) -> bool {
                           if (solved > 100) {
                               throw Interrupted{};
                           }
                           return true;
                       }),
                 Interrupted);
}

TEST(HarmonicSolve, MessagesDuringTheSolvesComeInOrderFromOneThread) {
    // A record of unknown kind shows "ERROR in RESPONSE" at every harmonic.
    const LoadedCircuit circuit = testing::CircuitBuilder(1, 2, 3)
                                      .Add('R', {1, 2}, {1})
                                      .Add('X', {}, {})
                                      .WithNoNodes(3)
                                      .circuit();
    EXPECT_TRUE(NeedsSequentialSolve(circuit, false));
    EXPECT_FALSE(NeedsSequentialSolve(testing::SampleCircuit(), false));
    EXPECT_TRUE(NeedsSequentialSolve(testing::Resonant(), true)); // the inductor trace
    EXPECT_FALSE(NeedsSequentialSolve(testing::Resonant(), false));

    ResponseSolver solver;
    RecordingMessages messages;
    std::vector<int> order;
    const HarmonicTable table = ComputeHarmonics(
        circuit, TimeResponseKind::SquareWave, 4, 1000, solver, messages,
        [&](int solved) {
            order.push_back(solved);
            EXPECT_EQ(messages.entries.size(), static_cast<std::size_t>(solved));
            return true;
        },
        2);
    EXPECT_TRUE(table.complete);
    ASSERT_EQ(messages.entries.size(), 1024u);
    EXPECT_EQ(messages.entries.front().text, "ERROR in RESPONSE\r\n");
    EXPECT_EQ(order.size(), 1024u);
    EXPECT_EQ(table.gain[1023], 1); // the wire still passes
}

TEST(HarmonicSolve, AFaultReportsTheLowestHarmonicThatFaulted) {
    // The capacitor's admittance overflows the extended range at every harmonic.
    const LoadedCircuit circuit = testing::CircuitBuilder(1, 2, 3)
                                      .Add('R', {1, 2}, {1})
                                      .Add('C', {2, 3}, {1e4930L})
                                      .circuit();
    for (int threads : {1, 2}) {
        try {
            Solve(circuit, TimeResponseKind::SquareWave, 16, 3000, threads);
            ADD_FAILURE() << "no fault with " << threads << " threads";
        } catch (const KelvorError& fault) {
            EXPECT_NE(std::string(fault.what()).find(" 3000 Hz"), std::string::npos)
                << fault.what();
        }
    }
}

} // namespace
} // namespace kelvor
