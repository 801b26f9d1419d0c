// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bode/bode_curve.h"
#include "bode/bode_grid.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kelvor {

struct NamedCurve {
    std::string title; // the circuit's title or the name the user gave the trace
    const BodeCurve* curve = nullptr;
};

// Columns of another analysis of the same Datafile written beside the curves (the noise
// densities), at frequencies of their own, with comment lines that say what they hold.
struct CsvColumns {
    std::vector<std::string> notes;
    std::vector<std::string> headings;
    std::vector<std::vector<long double>> rows;
};

// Where the numbers come from, said in comment lines above the header.
struct BodeCsvContext {
    std::string datafile; // the Datafile's name
    std::string date;     // the day the file is written
    FrequencyRange range;
    int32_t pointsPerDecade = 0; // the least density of the points
    std::vector<CsvColumns> beside;
};

// Comma-separated values, CR LF line ends: comment lines ("# ...") naming the Datafile, the date
// and the range, a header row naming each column with its unit, then one row per frequency.
// Each curve brings its own frequency column and its gain, phase, unwrapped phase, group delay,
// and Zin and Zout each as real and imaginary parts, magnitude and angle; a curve shorter than
// another leaves its cells empty. With several curves each header starts with the curve's
// title. The columns `beside` follow the curves', with their notes among the comment lines.
// Numbers are the shortest text that reads back as the very same long double.
std::string BodeCsvText(const std::vector<NamedCurve>& curves, const BodeCsvContext& context);

// Writes BodeCsvText atomically. Throws KelvorError when it cannot.
void WriteBodeCsv(const std::filesystem::path& path, const std::vector<NamedCurve>& curves,
                  const BodeCsvContext& context);

} // namespace kelvor
