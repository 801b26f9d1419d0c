// SPDX-License-Identifier: GPL-3.0-or-later
#include "noise/a_weighting.h"

#include <cmath>

namespace kelvor {
namespace {

// The pole frequencies of the standard, in hertz.
constexpr long double kPole1 = 20.598997L;
constexpr long double kPole2 = 107.65265L;
constexpr long double kPole3 = 737.86223L;
constexpr long double kPole4 = 12194.217L;
constexpr long double kNormalisationDb = 2.0L;

} // namespace

long double AWeightingPowerGain(long double frequency) {
    const long double f2 = frequency * frequency;
    const long double p1 = kPole1 * kPole1, p2 = kPole2 * kPole2, p3 = kPole3 * kPole3,
                      p4 = kPole4 * kPole4;
    const long double numerator = p4 * f2 * f2;
    const long double squaredNumerator = numerator * numerator;
    const long double squaredDenominator =
        (f2 + p1) * (f2 + p1) * (f2 + p2) * (f2 + p3) * (f2 + p4) * (f2 + p4);
    return squaredNumerator / squaredDenominator * std::pow(10.0L, kNormalisationDb / 10);
}

} // namespace kelvor
