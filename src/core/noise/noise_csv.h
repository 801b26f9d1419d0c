// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bode/bode_csv.h"
#include "noise/noise_analysis.h"

#include <string>
#include <vector>

namespace kelvor {

// One row per point: the frequency, the output and input-referred densities, the gain and each
// generator's density under "Line 12 R thermal (V/rtHz)"; full precision.
CsvColumns NoiseCsvColumns(const NoiseAnalysis& analysis);

// The columns as comma-separated lines (LF ends), headings first, as the command-line tool
// writes them.
std::string NoiseCsvText(const NoiseAnalysis& analysis);

// Comment lines for a file of the densities: the band, its weighting, the temperature, the
// totals and the ranked contributors.
std::vector<std::string> NoiseCsvNotes(const NoiseAnalysis& analysis, const NoiseRequest& request,
                                       long double temperatureCelsius);

// The columns as the analyser's CSV holds them beside its curves: each heading starts with
// "Noise: ", and the notes are NoiseCsvNotes.
CsvColumns NoiseColumnsBesideCurves(const NoiseAnalysis& analysis, const NoiseRequest& request,
                                    long double temperatureCelsius);

} // namespace kelvor
