// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/bode_csv.h"

#include "bode/significant_format.h"
#include "files/file_io.h"

#include <algorithm>
#include <charconv>

namespace kelvor {
namespace {

constexpr int kRangeDigits = 5;

struct Column {
    const char* heading;
    std::vector<long double> BodeCurve::*values;
};

constexpr Column kColumns[] = {
    {"Frequency (Hz)", &BodeCurve::frequency},
    {"Gain (dB)", &BodeCurve::gain},
    {"Phase (deg)", &BodeCurve::phase},
    {"Unwrapped phase (deg)", &BodeCurve::unwrappedPhase},
    {"Group delay (s)", &BodeCurve::groupDelay},
    {"Zin (ohm)", &BodeCurve::zin},
    {"Zout (ohm)", &BodeCurve::zout},
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
    std::size_t rows = 0;
    bool first = true;
    for (const NamedCurve& named : curves) {
        for (const Column& column : kColumns) {
            if (!first) {
                text += ',';
            }
            first = false;
            text += Field(curves.size() > 1 ? named.title + ": " + column.heading
                                            : std::string(column.heading));
        }
        rows = std::max(rows, named.curve->size());
    }
    text += "\r\n";
    for (std::size_t row = 0; row < rows; ++row) {
        first = true;
        for (const NamedCurve& named : curves) {
            for (const Column& column : kColumns) {
                if (!first) {
                    text += ',';
                }
                first = false;
                const std::vector<long double>& values = named.curve->*column.values;
                if (row < values.size()) {
                    AppendNumber(text, values[row]);
                }
            }
        }
        text += "\r\n";
    }
    return text;
}

void WriteBodeCsv(const std::filesystem::path& path, const std::vector<NamedCurve>& curves,
                  const BodeCsvContext& context) {
    WriteFileAtomically(path, BodeCsvText(curves, context));
}

} // namespace kelvor
