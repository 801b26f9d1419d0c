// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/tolerance_report.h"

#include "bode/significant_format.h"
#include "text/words.h"

#include <charconv>

namespace kelvor {
namespace {

constexpr int kSignificantDigits = 5;
constexpr int kColumnWidth = 18; // the longest heading and two spaces

std::string Significant(long double value, const std::string& unit) {
    return FormatSignificant(value, kSignificantDigits, unit, unit == "Hz");
}

} // namespace

std::vector<ToleranceColumn> ToleranceColumns(const ToleranceAnalysis& analysis) {
    const BodeCurve& nominal = analysis.nominal;
    const auto onNominalScale = [&](const std::vector<long double>& unwrapped) {
        std::vector<long double> phase(unwrapped.size());
        for (std::size_t i = 0; i < phase.size(); ++i) {
            phase[i] = unwrapped[i] + (nominal.phase[i] - nominal.unwrappedPhase[i]);
        }
        return phase;
    };
    return {
        {"Frequency (Hz)", nominal.frequency},
        {"Gain (dB)", nominal.gain},
        {"Gain min (dB)", analysis.gain.lowest},
        {"Gain max (dB)", analysis.gain.highest},
        {"Gain 5% (dB)", analysis.gain.low5},
        {"Gain 95% (dB)", analysis.gain.high95},
        {"Gain worst low (dB)", analysis.worstCase.gainLow},
        {"Gain worst high (dB)", analysis.worstCase.gainHigh},
        {"Phase (deg)", nominal.phase},
        {"Phase min (deg)", onNominalScale(analysis.phase.lowest)},
        {"Phase max (deg)", onNominalScale(analysis.phase.highest)},
        {"Phase 5% (deg)", onNominalScale(analysis.phase.low5)},
        {"Phase 95% (deg)", onNominalScale(analysis.phase.high95)},
        {"Phase worst low (deg)", onNominalScale(analysis.worstCase.phaseLow)},
        {"Phase worst high (deg)", onNominalScale(analysis.worstCase.phaseHigh)},
    };
}

std::string ToleranceCsvText(const ToleranceAnalysis& analysis) {
    const std::vector<ToleranceColumn> columns = ToleranceColumns(analysis);
    std::string text;
    for (const ToleranceColumn& column : columns) {
        text += (text.empty() ? "" : ",") + column.heading;
    }
    text += "\r\n";
    for (std::size_t row = 0; row < analysis.nominal.size(); ++row) {
        for (std::size_t index = 0; index < columns.size(); ++index) {
            char number[64];
            const auto result =
                std::to_chars(number, number + sizeof number, columns[index].values[row]);
            if (index != 0) {
                text += ',';
            }
            text.append(number, result.ptr);
        }
        text += "\r\n";
    }
    return text;
}

std::string ToleranceTableText(const ToleranceAnalysis& analysis) {
    const std::vector<ToleranceColumn> columns = ToleranceColumns(analysis);
    std::string text;
    for (const ToleranceColumn& column : columns) {
        // The unit is said once in the heading; the numbers carry only the prefix of hertz.
        text += RightAlign(column.heading.substr(0, column.heading.find(" (")), kColumnWidth);
    }
    text += '\n';
    for (std::size_t row = 0; row < analysis.nominal.size(); ++row) {
        for (std::size_t index = 0; index < columns.size(); ++index) {
            const std::string number = index == 0 ? Significant(columns[index].values[row], "Hz")
                                                  : Significant(columns[index].values[row], "");
            text += RightAlign(number, kColumnWidth);
        }
        text += '\n';
    }
    return text;
}

std::string SpreadText(const MarkerSpread& marker, int runs) {
    const Spread& spread = marker.spread;
    if (spread.found == 0) {
        return spread.nominal
                   ? "nominal " + Significant(*spread.nominal, marker.unit) + ", in no run"
                   : "not in range";
    }
    std::string text = (spread.nominal ? "nominal " + Significant(*spread.nominal, marker.unit)
                                       : "not in the nominal") +
                       ", mean " + Significant(spread.mean, marker.unit) + ", sigma " +
                       Significant(spread.sigma, marker.unit) + ", min " +
                       Significant(spread.lowest, marker.unit) + ", max " +
                       Significant(spread.highest, marker.unit);
    return text + " (" + std::to_string(spread.found) + " of " + std::to_string(runs) + " runs)";
}

std::string YieldText(const MaskOutcome& mask, int runs) {
    if (!mask.checked) {
        return {};
    }
    const int inside = runs - static_cast<int>(mask.failingRuns.size());
    return FormatSignificant(100 * mask.yield, kSignificantDigits, "%", false) + " (" +
           std::to_string(inside) + " of " + std::to_string(runs) +
           " runs inside the mask); the nominal is " + (mask.nominalInside ? "inside" : "outside");
}

} // namespace kelvor
