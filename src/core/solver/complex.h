// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "extended_real.h"

#include <cmath>

namespace kelvor {

// A complex number of two extended reals. Every operation returns a new value and combines its
// terms in exactly the written order: results are compared to many digits.
struct Complex {
    long double Re = 0;
    long double Im = 0;
};

inline constexpr long double TinyDenominator = 1e-250L;

inline constexpr Complex CZero{0, 0};
inline constexpr Complex COne{1, 0};
inline constexpr Complex CTwo{2, 0};
inline constexpr Complex CMinusOne{-1, 0};

inline Complex MakeComplex(long double re, long double im) {
    return {re, im};
}

inline Complex CAdd(Complex a, Complex b) {
    return {a.Re + b.Re, a.Im + b.Im};
}

inline Complex CAdd3(Complex a, Complex b, Complex c) {
    return {(a.Re + b.Re) + c.Re, (a.Im + b.Im) + c.Im};
}

inline Complex CSub(Complex a, Complex b) {
    return {a.Re - b.Re, a.Im - b.Im};
}

inline Complex CSub3(Complex a, Complex b, Complex c) {
    return {(a.Re - b.Re) - c.Re, (a.Im - b.Im) - c.Im};
}

inline Complex CMul(Complex a, Complex b) {
    return {a.Re * b.Re - a.Im * b.Im, a.Im * b.Re + a.Re * b.Im};
}

inline bool IsZero(Complex a) {
    return a.Re == 0 && a.Im == 0;
}

// The divisor's squared magnitude, floored so that a zero or tiny divisor never divides by zero.
inline long double GuardedSquaredMagnitude(Complex b) {
    long double d = b.Re * b.Re + b.Im * b.Im;
    if (std::fabs(d) < TinyDenominator) {
        d = d < 0 ? -TinyDenominator : TinyDenominator;
    }
    return d;
}

// a / b given the guarded squared magnitude d of b. A zero numerator gives exactly zero, even for
// a zero divisor: that is how a pivot of zero drops its node out of the network.
inline Complex CDivGuarded(Complex a, Complex b, long double d) {
    if (IsZero(a)) {
        return CZero;
    }
    return {(a.Re * b.Re + a.Im * b.Im) / d, (a.Im * b.Re - a.Re * b.Im) / d};
}

inline Complex CDiv(Complex a, Complex b) {
    if (IsZero(a)) {
        return CZero;
    }
    return CDivGuarded(a, b, GuardedSquaredMagnitude(b));
}

inline long double CAbs(Complex a) {
    return std::sqrt(a.Re * a.Re + a.Im * a.Im);
}

} // namespace kelvor
