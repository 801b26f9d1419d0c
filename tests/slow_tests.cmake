# SPDX-License-Identifier: GPL-3.0-or-later
# The widest trace-equivalence cases take most of the suite's time. They run with the rest;
# `ctest -LE slow` leaves them out while iterating.
set_tests_properties(
    SquareWaveTrace.WidestFoldedSumDrawsTheSamePixelsAsTheDirectSum
    PulseTrace.WidestFoldedSumDrawsTheSamePixelsAsTheDirectSum
    PROPERTIES LABELS slow)
