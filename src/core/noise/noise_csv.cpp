// SPDX-License-Identifier: GPL-3.0-or-later
#include "noise/noise_csv.h"

#include "bode/significant_format.h"
#include "text/text_lines.h"

#include <charconv>
#include <cmath>

namespace kelvor {
namespace {

constexpr int kBandDigits = 5;

std::string Number(long double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string JoinedLine(const std::vector<std::string>& cells) {
    std::string line;
    for (const std::string& cell : cells) {
        line += (line.empty() ? "" : ",") + cell;
    }
    return line + "\n";
}

} // namespace

CsvColumns NoiseCsvColumns(const NoiseAnalysis& analysis) {
    CsvColumns columns;
    columns.headings = {"Frequency (Hz)", "Output noise (V/rtHz)", "Input noise (V/rtHz)",
                        "Gain (dB)"};
    for (const NoiseGenerator& generator : analysis.generators) {
        columns.headings.push_back(generator.Name() + " (V/rtHz)");
    }
    for (const NoiseDensityPoint& point : analysis.points) {
        std::vector<long double> row = {point.frequency, point.output, point.input, point.gainDb};
        for (long double power : point.powers) {
            row.push_back(std::sqrt(power));
        }
        columns.rows.push_back(std::move(row));
    }
    return columns;
}

std::string NoiseCsvText(const NoiseAnalysis& analysis) {
    const CsvColumns columns = NoiseCsvColumns(analysis);
    std::string text = JoinedLine(columns.headings);
    for (const std::vector<long double>& row : columns.rows) {
        std::vector<std::string> cells;
        for (long double value : row) {
            cells.push_back(Number(value));
        }
        text += JoinedLine(cells);
    }
    return text;
}

std::vector<std::string> NoiseCsvNotes(const NoiseAnalysis& analysis, const NoiseRequest& request,
                                       long double temperatureCelsius) {
    std::vector<std::string> notes = {
        "Noise band: " + FormatSignificant(request.band.start, kBandDigits, "Hz") + " to " +
        FormatSignificant(request.band.end, kBandDigits, "Hz") +
        (request.weighting == NoiseWeighting::A ? ", A-weighted" : "") + ", at " +
        FormatSignificant(temperatureCelsius, kBandDigits, "deg C", false)};
    const std::string summary = NoiseSummaryText(analysis);
    for (TextLines lines(summary); !lines.AtEnd();) {
        notes.emplace_back(lines.Next());
    }
    return notes;
}

CsvColumns NoiseColumnsBesideCurves(const NoiseAnalysis& analysis, const NoiseRequest& request,
                                    long double temperatureCelsius) {
    CsvColumns columns = NoiseCsvColumns(analysis);
    for (std::string& heading : columns.headings) {
        heading = "Noise: " + heading;
    }
    columns.notes = NoiseCsvNotes(analysis, request, temperatureCelsius);
    return columns;
}

} // namespace kelvor
