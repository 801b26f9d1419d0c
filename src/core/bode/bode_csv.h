// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bode/bode_curve.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kelvor {

struct NamedCurve {
    std::string title; // the circuit's title or the name the user gave the trace
    const BodeCurve* curve = nullptr;
};

// Comma-separated values, CR LF line ends: a header row naming each column with its unit, then
// one row per frequency. Each curve brings its own frequency column and its gain, phase,
// unwrapped phase, group delay, Zin and Zout; a curve shorter than another leaves its cells
// empty. With several curves each header starts with the curve's title. Numbers are the
// shortest text that reads back as the very same long double.
std::string BodeCsvText(const std::vector<NamedCurve>& curves);

// Writes BodeCsvText atomically. Throws KelvorError when it cannot.
void WriteBodeCsv(const std::filesystem::path& path, const std::vector<NamedCurve>& curves);

} // namespace kelvor
