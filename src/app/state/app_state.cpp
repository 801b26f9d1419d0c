// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/state/app_state.h"

#include "kelvor_error.h"

#include <QObject>
#include <QPrinter>

namespace kelvor::app {

AppState::AppState(std::filesystem::path folder, MessageSink& sink, Dialogs& dialogChoices)
    : workingFolder(std::move(folder)), messages(sink), dialogs(dialogChoices) {}

AppState::~AppState() {
    // The job paints on the printer, which would otherwise go first.
    printJob.reset();
}

QPrinter& AppState::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *printer_;
}

ParseOutcome AppState::ParseCurrentDatafile(ParseMode mode) {
    return ParseDatafile(workingFolder, shell.DatafileName, mode, circuit, messages,
                         shell.TodayText);
}

std::optional<ParseOutcome> AppState::ParseForAnalysis() {
    try {
        ParseOutcome outcome = ParseCurrentDatafile();
        if (outcome.ok) {
            return outcome;
        }
        messages.ShowWarning(kDatafileErrorsWarning);
    } catch (const KelvorError& error) {
        messages.ShowError(error.what());
    }
    return std::nullopt;
}

void AppState::ReloadSettings() {
    try {
        settings = ReadSettings(workingFolder, messages, shell.TodayText);
    } catch (const KelvorError& fault) {
        messages.ShowError(fault.what());
    }
}

void AppState::KeepSettings() {
    try {
        WriteSettings(workingFolder, settings, shell.TodayText);
        settingsFaultReported = false;
    } catch (const KelvorError& fault) {
        if (!settingsFaultReported) {
            messages.ShowWarning(fault.what());
            settingsFaultReported = true;
        }
    }
}

} // namespace kelvor::app
