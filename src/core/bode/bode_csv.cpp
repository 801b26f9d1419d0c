// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/bode_csv.h"

#include "bode/significant_format.h"
#include "files/file_io.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <optional>

namespace kelvor {
namespace {

constexpr int kRangeDigits = 5;

using Cell = std::optional<long double> (*)(const BodeCurve&, std::size_t);

template <std::vector<long double> BodeCurve::*values>
std::optional<long double> Plain(const BodeCurve& curve, std::size_t row) {
    const std::vector<long double>& column = curve.*values;
    return row < column.size() ? std::optional(column[row]) : std::nullopt;
}

// An impedance's part; empty where the curve holds no complex value (a curve read back
// from before they were kept).
template <std::vector<Complex> BodeCurve::*values, long double Complex::*part>
std::optional<long double> Part(const BodeCurve& curve, std::size_t row) {
    const std::vector<Complex>& column = curve.*values;
    return row < column.size() ? std::optional(column[row].*part) : std::nullopt;
}

// The magnitude is the window's number, without the sign that marks a negative real part.
template <std::vector<long double> BodeCurve::*values>
std::optional<long double> Magnitude(const BodeCurve& curve, std::size_t row) {
    const std::optional<long double> signedMagnitude = Plain<values>(curve, row);
    return signedMagnitude ? std::optional(std::fabs(*signedMagnitude)) : std::nullopt;
}

template <std::vector<Complex> BodeCurve::*values>
std::optional<long double> AngleDegrees(const BodeCurve& curve, std::size_t row) {
    const std::vector<Complex>& column = curve.*values;
    if (row >= column.size()) {
        return std::nullopt;
    }
    return std::atan2(column[row].Im, column[row].Re) * (180 / std::numbers::pi_v<long double>);
}

struct Column {
    const char* heading;
    Cell cell;
};

constexpr Column kColumns[] = {
    {"Frequency (Hz)", Plain<&BodeCurve::frequency>},
    {"Gain (dB)", Plain<&BodeCurve::gain>},
    {"Phase (deg)", Plain<&BodeCurve::phase>},
    {"Unwrapped phase (deg)", Plain<&BodeCurve::unwrappedPhase>},
    {"Group delay (s)", Plain<&BodeCurve::groupDelay>},
    {"Zin real (ohm)", Part<&BodeCurve::zinComplex, &Complex::Re>},
    {"Zin imaginary (ohm)", Part<&BodeCurve::zinComplex, &Complex::Im>},
    {"|Zin| (ohm)", Magnitude<&BodeCurve::zin>},
    {"Zin angle (deg)", AngleDegrees<&BodeCurve::zinComplex>},
    {"Zout real (ohm)", Part<&BodeCurve::zoutComplex, &Complex::Re>},
    {"Zout imaginary (ohm)", Part<&BodeCurve::zoutComplex, &Complex::Im>},
    {"|Zout| (ohm)", Magnitude<&BodeCurve::zout>},
    {"Zout angle (deg)", AngleDegrees<&BodeCurve::zoutComplex>},
};

// A field in quotes when it holds a comma, a quote or a line end; quotes doubled.
std::string Field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char character : text) {
        quoted += character;
        if (character == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

// A comment line holds no line end of its own, whatever a name holds.
std::string CommentLine(const std::string& text) {
    std::string line = "# " + text;
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return line + "\r\n";
}

void AppendNumber(std::string& line, long double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    line.append(text, result.ptr);
}

} // namespace

std::string BodeCsvText(const std::vector<NamedCurve>& curves, const BodeCsvContext& context) {
    std::string text = CommentLine("Datafile: " + context.datafile);
    text += CommentLine("Written: " + context.date);
    text +=
        CommentLine("Range: " + FormatSignificant(context.range.start, kRangeDigits, "Hz") +
                    " to " + FormatSignificant(context.range.end, kRangeDigits, "Hz") +
                    ", at least " + std::to_string(context.pointsPerDecade) + " points per decade");
    for (const CsvColumns& columns : context.beside) {
        for (const std::string& note : columns.notes) {
            text += CommentLine(note);
        }
    }
    std::size_t rows = 0;
    std::string line;
    const auto addCell = [&](const std::string& cell) {
        if (!line.empty()) {
            line += ',';
        }
        line += cell;
    };
    for (const NamedCurve& named : curves) {
        for (const Column& column : kColumns) {
            addCell(Field(curves.size() > 1 ? named.title + ": " + column.heading
                                            : std::string(column.heading)));
        }
        rows = std::max(rows, named.curve->size());
    }
    for (const CsvColumns& columns : context.beside) {
        for (const std::string& heading : columns.headings) {
            addCell(Field(heading));
        }
        rows = std::max(rows, columns.rows.size());
    }
    text += line + "\r\n";
    for (std::size_t row = 0; row < rows; ++row) {
        std::string cells;
        bool first = true;
        const auto addNumber = [&](std::optional<long double> value) {
            if (!first) {
                cells += ',';
            }
            first = false;
            if (value) {
                AppendNumber(cells, *value);
            }
        };
        for (const NamedCurve& named : curves) {
            for (const Column& column : kColumns) {
                addNumber(column.cell(*named.curve, row));
            }
        }
        for (const CsvColumns& columns : context.beside) {
            for (std::size_t column = 0; column < columns.headings.size(); ++column) {
                const bool held = row < columns.rows.size() && column < columns.rows[row].size();
                addNumber(held ? std::optional(columns.rows[row][column]) : std::nullopt);
            }
        }
        text += cells + "\r\n";
    }
    return text;
}

void WriteBodeCsv(const std::filesystem::path& path, const std::vector<NamedCurve>& curves,
                  const BodeCsvContext& context) {
    WriteFileAtomically(path, BodeCsvText(curves, context));
}

} // namespace kelvor
