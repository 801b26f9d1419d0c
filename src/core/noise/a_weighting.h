// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvor {

// The A-weighting curve of IEC 61672-1 as a power gain: R_A(f)^2 with the standard's +2.00 dB
// normalisation, so that 1 kHz passes at (very nearly) 0 dB.
long double AWeightingPowerGain(long double frequency);

} // namespace kelvor
