// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/admittance_matrix.h"
#include "solver/complex.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

struct DivisionCase {
    Complex a, b, expected;
};

TEST(ComplexDivision, GuardsZeroAndTinyDivisors) {
    const DivisionCase cases[] = {
        {{0, 0}, {0, 0}, {0, 0}},
        {{1, 0}, {0, 0}, {0, 0}}, // both numerators carry a factor of b
        {{1, 0}, {0, 1}, {0, -1}},
        {{2, 4}, {1, 1}, {3, 1}},
        {{-0.0L, 0}, {0, 0}, {0, 0}}, // minus zero counts as zero
    };
    for (const auto& c : cases) {
        const Complex q = CDiv(c.a, c.b);
        EXPECT_EQ(q.Re, c.expected.Re);
        EXPECT_EQ(q.Im, c.expected.Im);
    }
    // The divisor's square 1e-260 is floored to 1e-250: the quotient is finite but not 1e130.
    const Complex floored = CDiv({1, 0}, {1e-130L, 0});
    EXPECT_NEAR(static_cast<double>(floored.Re / 1e120L), 1.0, 1e-15);
    EXPECT_EQ(floored.Im, 0);
}

TEST(ComplexArithmetic, MagnitudeAndOperandOrder) {
    EXPECT_EQ(CAbs({3, 4}), 5);
    // CAdd3 adds left to right; 1e20 + (-1e20 + 1) would lose the 1 in extended precision.
    const Complex sum = CAdd3({1e20L, 0}, {-1e20L, 0}, {1, 0});
    EXPECT_EQ(sum.Re, 1);
    const Complex product = CMul({1, 2}, {3, 4});
    EXPECT_EQ(product.Re, -5);
    EXPECT_EQ(product.Im, 10);
}

class MatrixTest : public ::testing::Test {
protected:
    void Resistor(int a, int b, long double ohms) {
        const Complex y{1 / ohms, 0};
        matrix.at(a, b) = CSub(matrix.at(a, b), y);
        matrix.at(b, a) = CSub(matrix.at(b, a), y);
        matrix.at(a, a) = CAdd(matrix.at(a, a), y);
        matrix.at(b, b) = CAdd(matrix.at(b, b), y);
    }
    AdmittanceMatrix matrix;
};

TEST_F(MatrixTest, SwapNodesIsARenumbering) {
    matrix.Clear();
    Resistor(1, 3, 1);
    Resistor(3, 2, 4);
    Resistor(2, 4, 8);
    const AdmittanceMatrix original = matrix;
    matrix.SwapNodes(2, 2, 4);
    for (int r = 1; r <= 4; ++r) {
        for (int c = 1; c <= 4; ++c) {
            EXPECT_EQ(matrix.at(r, c).Re, original.at(r, c).Re);
        }
    }
    matrix.SwapNodes(1, 3, 4);
    EXPECT_EQ(matrix.at(3, 3).Re, 1);      // old node 1
    EXPECT_EQ(matrix.at(1, 2).Re, -0.25L); // old 3-2
    matrix.SwapNodes(1, 3, 4);
    for (int r = 1; r <= 4; ++r) {
        for (int c = 1; c <= 4; ++c) {
            EXPECT_EQ(matrix.at(r, c).Re, original.at(r, c).Re);
        }
    }
}

TEST_F(MatrixTest, ReductionLeavesTheTwoPortOfTheFirstTwoNodes) {
    matrix.Clear();
    Resistor(1, 3, 1);
    Resistor(3, 2, 1);
    matrix.ReduceToTwoPort(4);
    EXPECT_EQ(matrix.at(1, 1).Re, 0.5L);
    EXPECT_EQ(matrix.at(2, 2).Re, 0.5L);
    EXPECT_EQ(matrix.at(1, 2).Re, -0.5L);
    EXPECT_EQ(matrix.at(2, 1).Re, -0.5L);

    // With three nodes nothing is eliminated.
    matrix.Clear();
    Resistor(1, 2, 2);
    matrix.ReduceToTwoPort(3);
    EXPECT_EQ(matrix.at(1, 1).Re, 0.5L);
    EXPECT_EQ(matrix.at(1, 2).Re, -0.5L);
}

TEST_F(MatrixTest, UntouchedInteriorNodeDropsOut) {
    matrix.Clear();
    Resistor(1, 4, 1);
    Resistor(4, 2, 1);
    // Node 3 has no component: its zero pivot must remove it without effect or error.
    matrix.ReduceToTwoPort(5);
    EXPECT_EQ(matrix.at(1, 1).Re, 0.5L);
    EXPECT_EQ(matrix.at(1, 2).Re, -0.5L);
}

} // namespace
} // namespace kelvor
