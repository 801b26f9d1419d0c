// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/pivot_elimination.h"

#include <cstddef>

namespace kelvor {

// Written for the x87 stack by hand: the compiler keeps only part of the loop's values in the
// eight registers and reloads the pivot at every entry, and an 80-bit load costs about as much
// as the arithmetic of a whole update. Here the pivot and Y[i][k] stay in registers, each result
// is combined by the popping form of its last operation instead of a separate store to the
// stack, and only the pivot's squared magnitude, worked out here once, is reloaded (the stack
// has no room for it). The row loop is inside too, so a step of one or two rows (every step of
// a ladder) costs no call and no reload of the pivot per row.
// Exchanging the operands of a multiplication or an addition, or choosing the reversed form of a
// subtraction or division, leaves every bit as it is: these are the same IEEE operations.
void EliminatePivot(Complex* cells, int stride, int k, const EliminationRow* rows,
                    const EliminationRow* rowsEnd, const int* columns) {
    static_assert(sizeof(Complex) == 32 && offsetof(Complex, Im) == 16);
    static_assert(sizeof(EliminationRow) == 8 && offsetof(EliminationRow, columns) == 4);
    if (rows == rowsEnd) {
        return;
    }
    const Complex* pivotRow = cells + static_cast<std::ptrdiff_t>(k) * stride;
    long double pivotSquared;
    const long rowBytes = static_cast<long>(stride) * static_cast<long>(sizeof(Complex));
    const long pivotColumnBytes = static_cast<long>(k) * static_cast<long>(sizeof(Complex));
    long offset;
    Complex* row;
    const int* column;
    const int* columnsEnd;
    // Stack comments list st(0) first; c = Y[i][k], p = pivot, a = Y[k][j], m = a * c, n the
    // numerators of m / p, d the pivot's squared magnitude, t = m / p, y = Y[i][j]. In AT&T
    // syntax "fsubp %st, %st(i)" is st(i) = st - st(i) and "fsubrp" st(i) - st; likewise for
    // the divisions.
    asm volatile("fldt 16(%[pivotRow],%[pivotColumn])\n\t" // pI
                 "fldt (%[pivotRow],%[pivotColumn])\n\t"   // pR pI
                 // GuardedSquaredMagnitude: pR*pR+pI*pI, raised to the floor when below it (a sum
                 // of squares is never negative).
                 "fld %%st(0)\n\t"           // pR pR pI
                 "fmul %%st(0), %%st\n\t"    // pR*pR pR pI
                 "fld %%st(2)\n\t"           // pI pR*pR pR pI
                 "fmul %%st(0), %%st\n\t"    // pI*pI pR*pR pR pI
                 "faddp %%st, %%st(1)\n\t"   // d pR pI
                 "fldt %[floor]\n\t"         // floor d pR pI
                 "fucomi %%st(1), %%st\n\t"  // floor > d, or not (a NaN d stays)
                 "fcmovbe %%st(1), %%st\n\t" // d' d pR pI
                 "fstp %%st(1)\n\t"          // d' pR pI
                 "fstpt %[d]\n"              // pR pI
                 "5:\n\t"
                 "movslq (%[rows]), %[row]\n\t"
                 "movslq 4(%[rows]), %[columnsEnd]\n\t"
                 "imul %[rowBytes], %[row]\n\t"
                 "add %[cells], %[row]\n\t"
                 "lea (%[columnsBegin],%[columnsEnd],4), %[columnsEnd]\n\t"
                 "fldt 16(%[row],%[pivotColumn])\n\t" // cI pR pI
                 "fldt (%[row],%[pivotColumn])\n\t"   // cR cI pR pI
                 "mov %[columnsBegin], %[column]\n\t"
                 ".p2align 4\n"
                 "1:\n\t"
                 "movslq (%[column]), %[offset]\n\t"
                 "shl $5, %[offset]\n\t"
                 "fldt 16(%[pivotRow],%[offset])\n\t" // aI | cR cI pR pI
                 "fldt (%[pivotRow],%[offset])\n\t"   // aR aI | cR(2) cI(3)
                 "fld %%st(0)\n\t"                    // aR aR aI | cR(3) cI(4)
                 "fmul %%st(3), %%st\n\t"             // aR*cR aR aI
                 "fld %%st(2)\n\t"                    // aI aR*cR aR aI | cR(4) cI(5)
                 "fmul %%st(5), %%st\n\t"             // aI*cI aR*cR aR aI
                 "fsubrp %%st, %%st(1)\n\t"           // mR=aR*cR-aI*cI aR aI | cR(3) cI(4)
                 "fxch %%st(1)\n\t"                   // aR mR aI
                 "fmul %%st(4), %%st\n\t"             // aR*cI mR aI
                 "fxch %%st(2)\n\t"                   // aI mR aR*cI
                 "fmul %%st(3), %%st\n\t"             // aI*cR mR aR*cI
                 "faddp %%st, %%st(2)\n\t"            // mR mI=aI*cR+aR*cI | cR cI pR(4) pI(5)
                 "fldz\n\t"
                 "fucomip %%st(1), %%st\n\t"
                 "jp 2f\n\t"
                 "jne 2f\n\t"
                 "fldz\n\t"
                 "fucomip %%st(2), %%st\n\t"
                 "jp 2f\n\t"
                 "jne 2f\n\t"
                 "fstp %%st(0)\n\t"
                 "fstp %%st(0)\n\t"
                 "jmp 4f\n"
                 "2:\n\t"                        // mR mI | pR(4) pI(5)
                 "fld %%st(0)\n\t"               // mR mR mI | pR(5) pI(6)
                 "fmul %%st(5), %%st\n\t"        // mR*pR mR mI
                 "fld %%st(2)\n\t"               // mI mR*pR mR mI | pR(6) pI(7)
                 "fmul %%st(7), %%st\n\t"        // mI*pI mR*pR mR mI
                 "faddp %%st, %%st(1)\n\t"       // nR=mR*pR+mI*pI mR mI | pR(5) pI(6)
                 "fxch %%st(1)\n\t"              // mR nR mI
                 "fmul %%st(6), %%st\n\t"        // mR*pI nR mI
                 "fxch %%st(2)\n\t"              // mI nR mR*pI
                 "fmul %%st(5), %%st\n\t"        // mI*pR nR mR*pI
                 "fsubp %%st, %%st(2)\n\t"       // nR nI=mI*pR-mR*pI
                 "fldt %[d]\n\t"                 // d nR nI
                 "fdivr %%st, %%st(1)\n\t"       // d tR=nR/d nI
                 "fdivrp %%st, %%st(2)\n\t"      // tR tI=nI/d
                 "fldt (%[row],%[offset])\n\t"   // yR tR tI
                 "fsubp %%st, %%st(1)\n\t"       // yR-tR tI
                 "fstpt (%[row],%[offset])\n\t"  // tI
                 "fldt 16(%[row],%[offset])\n\t" // yI tI
                 "fsubp %%st, %%st(1)\n\t"       // yI-tI
                 "fstpt 16(%[row],%[offset])\n"  // | cR cI pR pI
                 "4:\n\t"
                 "add $4, %[column]\n\t"
                 "cmp %[column], %[columnsEnd]\n\t"
                 "jne 1b\n\t"
                 "fstp %%st(0)\n\t"
                 "fstp %%st(0)\n\t" // pR pI
                 "add $8, %[rows]\n\t"
                 "cmp %[rows], %[rowsEnd]\n\t"
                 "jne 5b\n\t"
                 "fstp %%st(0)\n\t"
                 "fstp %%st(0)\n\t"
                 : [d] "=m"(pivotSquared), [rows] "+r"(rows), [row] "=&r"(row),
                   [column] "=&r"(column), [offset] "=&r"(offset), [columnsEnd] "=&r"(columnsEnd)
                 : [rowsEnd] "r"(rowsEnd), [columnsBegin] "r"(columns), [cells] "r"(cells),
                   [rowBytes] "r"(rowBytes), [pivotRow] "r"(pivotRow),
                   [pivotColumn] "r"(pivotColumnBytes), [floor] "m"(TinyDenominator)
                 : "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)", "memory",
                   "cc");
}

} // namespace kelvor
