// SPDX-License-Identifier: GPL-3.0-or-later
// The noise panel's exports: the densities with the totals, and the sensitivities, as CSV.

#include "app/bode/noise_window.h"

#include "app/common/file_paths.h"
#include "app/common/replace_question.h"
#include "app/state/dialogs.h"
#include "bode/significant_format.h"
#include "files/file_io.h"
#include "kelvor_error.h"
#include "text/text_lines.h"

#include <algorithm>

namespace kelvor::app {
namespace {

constexpr int kSignificantDigits = 5;

const FileKind kNoiseCsvToWrite{"Export Noise CSV", "Comma-separated values (*.csv)", "csv"};
const FileKind kSensitivityCsvToWrite{"Export Sensitivity CSV", "Comma-separated values (*.csv)",
                                      "csv"};

// A CSV file written by the panel: comment lines that say where the numbers come from, then the
// core's table, all with CR LF line ends as the analyser's own export has them. A name holds no
// line end of its own.
std::string CsvFileText(const std::vector<std::string>& comments, const std::string& table) {
    std::string text;
    const auto addLine = [&](std::string line) {
        std::replace_if(
            line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        text += line + "\r\n";
    };
    for (const std::string& comment : comments) {
        addLine("# " + comment);
    }
    for (TextLines lines(table); !lines.AtEnd();) {
        addLine(std::string(lines.Next()));
    }
    return text;
}

} // namespace

std::optional<CsvColumns> TFormNoise::ColumnsBesideCurves() const {
    if (!analysis_) {
        return std::nullopt;
    }
    return NoiseColumnsBesideCurves(*analysis_, *request_, analysedTemperature_);
}

void TFormNoise::ButtonExportCsvClick() {
    if (!analysis_) {
        state_.messages.ShowWarning("Run the noise analysis first: there is nothing to export.");
        return;
    }
    const std::optional<QString> path = state_.dialogs.ChooseFileToWrite(
        this, kNoiseCsvToWrite, PathToQt(state_.File("NOISE.CSV")));
    if (!path || !MayReplaceFile(state_.messages, PathFromQt(*path))) {
        return;
    }
    std::vector<std::string> comments = {"Datafile: " + state_.shell.DatafileName,
                                         "Written: " + state_.shell.TodayText};
    for (std::string& line : NoiseCsvNotes(*analysis_, *request_, analysedTemperature_)) {
        comments.push_back(std::move(line));
    }
    try {
        WriteFileAtomically(PathFromQt(*path), CsvFileText(comments, NoiseCsvText(*analysis_)));
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
    }
}

void TFormNoise::ButtonExportSensitivityClick() {
    if (!sensitivity_) {
        state_.messages.ShowWarning(
            "Point at the analyser's plots first: the sensitivity is taken at the cursor.");
        return;
    }
    const std::optional<QString> path = state_.dialogs.ChooseFileToWrite(
        this, kSensitivityCsvToWrite, PathToQt(state_.File("SENSITIV.CSV")));
    if (!path || !MayReplaceFile(state_.messages, PathFromQt(*path))) {
        return;
    }
    const std::vector<std::string> comments = {
        "Datafile: " + state_.shell.DatafileName, "Written: " + state_.shell.TodayText,
        "Frequency: " + FormatSignificant(sensitivity_->frequency, kSignificantDigits, "Hz")};
    try {
        WriteFileAtomically(PathFromQt(*path),
                            CsvFileText(comments, SensitivityCsvText(*sensitivity_)));
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
    }
}

} // namespace kelvor::app
