// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/response.h"

#include "kelvor_error.h"
#include "support/circuit_builder.h"
#include "support/recording_messages.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace kelvor {
namespace {

using testing::CircuitBuilder;
using testing::RecordingMessages;

struct Expected {
    double gain, phase, zin, zout;
};

// The published figures are given to four or five significant digits.
void ExpectFigures(const ResponsePoint& point, const Expected& expected, double relative) {
    auto near = [relative](long double actual, double wanted) {
        EXPECT_NEAR(static_cast<double>(actual), wanted, std::fabs(wanted) * relative + 1e-12)
            << "wanted " << wanted;
    };
    near(point.Gain, expected.gain);
    near(point.Phase, expected.phase);
    near(point.Zin, expected.zin);
    near(point.Zout, expected.zout);
}

class ResponseTest : public ::testing::Test {
protected:
    ResponsePoint Solve(const LoadedCircuit& circuit, long double frequency,
                        ResponseForm form = ResponseForm::Display) {
        solver.ComputeResponse(circuit, frequency, form, point, messages);
        return point;
    }
    ResponseSolver solver;
    ResponsePoint point;
    RecordingMessages messages;
};

TEST_F(ResponseTest, DividerInDisplayAndRawForm) {
    const auto divider = CircuitBuilder(1, 2, 3).Add('R', {1, 2}, {1000}).Add('R', {2, 3}, {1000});
    ExpectFigures(Solve(divider.circuit(), 1000), {-6.0205999133, 0, 2000, 500}, 1e-10);

    point.Zin = 123;
    point.Zout = 456;
    const ResponsePoint raw = Solve(divider.circuit(), 1000, ResponseForm::Raw);
    EXPECT_NEAR(static_cast<double>(raw.Gain), 0.5, 1e-15);
    EXPECT_EQ(raw.Phase, 0);
    EXPECT_EQ(raw.Zin, 123); // the raw form leaves the impedances alone
    EXPECT_EQ(raw.Zout, 456);
}

TEST_F(ResponseTest, NodeNumberingDoesNotMatter) {
    const auto low = CircuitBuilder(1, 2, 3).Add('R', {1, 2}, {1000}).Add('R', {2, 3}, {1000});
    // Input 3, output 5, common 2; nodes 1 and 4 untouched and dropped by their zero pivots.
    const auto high = CircuitBuilder(3, 5, 2).Add('R', {3, 5}, {1000}).Add('R', {5, 2}, {1000});
    const ResponsePoint a = Solve(low.circuit(), 50);
    const ResponsePoint b = Solve(high.circuit(), 50);
    EXPECT_EQ(a.Gain, b.Gain);
    EXPECT_EQ(a.Phase, b.Phase);
    EXPECT_EQ(a.Zin, b.Zin);
    EXPECT_EQ(a.Zout, b.Zout);
}

TEST_F(ResponseTest, RcLowPassAtItsCorner) {
    const long double r = 1000, c = 1e-6L;
    const auto rc = CircuitBuilder(1, 2, 3).Add('R', {1, 2}, {r}).Add('C', {2, 3}, {c});
    const ResponsePoint p = Solve(rc.circuit(), 1 / (6.283185307179586477L * r * c));
    EXPECT_NEAR(static_cast<double>(p.Gain), -3.0103, 5e-5);
    EXPECT_NEAR(static_cast<double>(p.Phase), -45, 1e-12);
}

TEST_F(ResponseTest, WorkedCircuits) {
    const auto bipolar = CircuitBuilder(1, 2, 3)
                             .Add('B', {1, 2, 3}, {100, 1e-3L, 3e8L, 1e-12L, 1e-12L, 1e-12L})
                             .Add('R', {2, 3}, {1000});
    ExpectFigures(Solve(bipolar.circuit(), 1000), {31.70, 179.9993, 2600, 1000}, 5e-4);
    EXPECT_LT(point.Phase, 180);

    // Input 1, output 2 (O/P), common 3, inverting input 4.
    const auto inverting = CircuitBuilder(1, 2, 3)
                               .Add('A', {3, 4, 2}, {1e4L, 1e7L, 1e7L})
                               .Add('R', {1, 4}, {1000})
                               .Add('R', {2, 4}, {10000});
    ExpectFigures(Solve(inverting.circuit(), 1000), {19.99, 179.99999, 1001, 0.001099}, 5e-4);
    EXPECT_LT(point.Phase, 180);

    // Primary from input to common with its tap on node 4 alone, secondary to the 8-ohm load.
    const auto transformer =
        CircuitBuilder(1, 2, 3)
            .Add('T', {1, 4, 3, 2, 3}, {1, 0.5L, 1.0L / 200, 0.25L / 200, 1e-6L, 1e-6L})
            .Add('R', {2, 3}, {8});
    ExpectFigures(Solve(transformer.circuit(), 1000), {-15.83, -71.04, 98.00, 7.566}, 5e-4);
    const ResponsePoint dc = Solve(transformer.circuit(), 0);
    EXPECT_EQ(dc.Gain, -50000);
    EXPECT_EQ(dc.Zin, 0);
    EXPECT_NEAR(static_cast<double>(dc.Zout), 8, 1e-12);
}

TEST_F(ResponseTest, DegenerateOutputs) {
    // A negative real gain has phase -180, never +180.
    const auto inverter = CircuitBuilder(1, 2, 3)
                              .Add('V', {1, 2, 3}, {0.01L, 1e9L, 0, 0, 0})
                              .Add('R', {2, 3}, {1000});
    EXPECT_NEAR(static_cast<double>(Solve(inverter.circuit(), 0).Phase), -180, 1e-12);

    // An output node that nothing touches, and a circuit of no components at all.
    const auto open = CircuitBuilder(1, 2, 3).Add('R', {1, 3}, {50});
    const Expected zero{-50000, 0, 0, 0};
    ExpectFigures(Solve(open.circuit(), 1000), zero, 0);
    const auto empty = CircuitBuilder(1, 2, 3).WithNoNodes(3);
    ExpectFigures(Solve(empty.circuit(), 1000), zero, 0);

    // A negative resistance shows as a negative impedance.
    const auto negative = CircuitBuilder(1, 2, 3).Add('R', {1, 2}, {-100}).Add('R', {2, 3}, {50});
    const ResponsePoint p = Solve(negative.circuit(), 0);
    EXPECT_LT(p.Zin, 0);
    EXPECT_GT(p.Zout, 0);
}

TEST_F(ResponseTest, UnknownKindsAreReportedAndSkipped) {
    const auto circuit = CircuitBuilder(1, 2, 3)
                             .Add('R', {1, 2}, {1000})
                             .Add('X', {1, 2}, {5})
                             .Add('R', {2, 3}, {1000});
    ExpectFigures(Solve(circuit.circuit(), 10), {-6.0205999133, 0, 2000, 500}, 1e-10);
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].text, "ERROR in RESPONSE\r\n");
    EXPECT_EQ(messages.entries[0].kind, RecordingMessages::Entry::Info);
}

TEST_F(ResponseTest, InductorTraceShowsTheTermsOfEveryInductor) {
    const auto circuit =
        CircuitBuilder(1, 2, 3).Add('L', {1, 2}, {2.5e-3L, 1e-6L}).Add('R', {2, 3}, {8});
    solver.Test1Trace = true;
    Solve(circuit.circuit(), 1000);
    Solve(circuit.circuit(), 1000);
    ASSERT_EQ(messages.entries.size(), 2u);
    EXPECT_EQ(messages.entries[0].text.substr(0, 38), " W       = 6.28318530717958648E+0003\r\r");
    EXPECT_NE(messages.entries[0].text.find(" Value   = 2.50000000000000000E-0003\r\r"),
              std::string::npos);
    EXPECT_NE(messages.entries[0].text.find(" W*Value = 1.57079632679489662E+0001"),
              std::string::npos);
}

TEST_F(ResponseTest, FaultsEndTheComputationAndKeepThePreviousPoint) {
    const auto good = CircuitBuilder(1, 2, 3).Add('R', {1, 2}, {1000}).Add('R', {2, 3}, {1000});
    Solve(good.circuit(), 1000);
    const ResponsePoint before = point;

    struct Case {
        const char* what;
        LoadedCircuit circuit;
        const char* messagePart;
    };
    const Case cases[] = {
        {"zero beta",
         CircuitBuilder(1, 2, 3).Add('B', {1, 2, 3}, {0, 1e-3L, 3e8L, 0, 0, 0}).circuit(),
         "division by zero"},
        {"zero Ra", CircuitBuilder(1, 2, 3).Add('V', {1, 2, 3}, {1, 0, 0, 0, 0}).circuit(),
         "division by zero"},
        {"overflow",
         CircuitBuilder(1, 2, 3).Add('C', {1, 2}, {1e4930L}).Add('R', {2, 3}, {1}).circuit(),
         "overflow"},
        {"fewer than three nodes",
         CircuitBuilder(1, 2, 3).Add('R', {1, 2}, {1}).WithNoNodes(2).circuit(),
         "fewer than 3 nodes"},
        {"equal roles", CircuitBuilder(1, 1, 3).Add('R', {1, 3}, {1}).circuit(), "three different"},
        {"common outside",
         CircuitBuilder(1, 2, 7).Add('R', {1, 2}, {1}).Add('R', {2, 3}, {1}).circuit(),
         "three different"},
        {"node 0 in a record",
         CircuitBuilder(1, 2, 3).Add('R', {1, 0}, {1}).WithNoNodes(3).circuit(), "Range error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            Solve(c.circuit, 1000);
            ADD_FAILURE() << "no error";
        } catch (const KelvorError& error) {
            EXPECT_NE(std::string(error.what()).find(c.messagePart), std::string::npos)
                << error.what();
        }
        EXPECT_EQ(point.Gain, before.Gain);
        EXPECT_EQ(point.Zin, before.Zin);
    }
    // A fault does not poison the next computation.
    EXPECT_NO_THROW(Solve(good.circuit(), 1000));
}

// The plain dense elimination, every update done, as the reference for the skipping one.
void DenseReduce(AdmittanceMatrix& y, int n) {
    for (int k = n - 1; k >= 3; --k) {
        for (int i = 1; i <= k - 1; ++i) {
            for (int j = 1; j <= k - 1; ++j) {
                const Complex t = CDiv(CMul(y.at(k, j), y.at(i, k)), y.at(k, k));
                y.at(i, j) = CSub(y.at(i, j), t);
            }
        }
    }
}

TEST(Reduction, SkippingZeroUpdatesChangesNoBit) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-1, 1);
    std::bernoulli_distribution present(0.3);
    for (int trial = 0; trial < 20; ++trial) {
        const int n = 3 + trial * 4;
        AdmittanceMatrix skipping;
        skipping.Clear();
        for (int r = 1; r <= n; ++r) {
            for (int c = 1; c <= n; ++c) {
                if (r == c || present(random)) {
                    skipping.at(r, c) = {value(random), value(random)};
                }
            }
        }
        AdmittanceMatrix dense = skipping;
        skipping.ReduceToTwoPort(n);
        DenseReduce(dense, n);
        for (int r = 1; r <= 2; ++r) {
            for (int c = 1; c <= 2; ++c) {
                EXPECT_EQ(skipping.at(r, c).Re, dense.at(r, c).Re) << "n " << n;
                EXPECT_EQ(skipping.at(r, c).Im, dense.at(r, c).Im) << "n " << n;
            }
        }
    }
}

} // namespace
} // namespace kelvor
