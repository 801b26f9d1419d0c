// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bode/panel_datafile.h"

#include "app/state/app_state.h"
#include "files/file_io.h"
#include "kelvor_error.h"
#include "solver/loaded_datafile.h"

namespace kelvor::app {

void PanelDatafile::Load(AppState& state) {
    *this = PanelDatafile{};
    path = state.DatafilePath();
    try {
        LoadedDatafile loaded = LoadDatafile(path, state.shell.TodayText);
        text = std::move(loaded.bytes);
        good = loaded.ok;
        componentLines = std::move(loaded.componentLines);
        sourceLines = std::move(loaded.sourceLines);
        circuit = std::make_shared<const LoadedCircuit>(std::move(loaded.circuit));
    } catch (const KelvorError& error) {
        state.messages.ShowError(error.what());
    }
}

bool PanelDatafile::IsCurrent(const AppState& state) const {
    if (path != state.DatafilePath()) {
        return false;
    }
    try {
        return ReadWholeFile(path) == text;
    } catch (const KelvorError&) {
        return false;
    }
}

} // namespace kelvor::app
