#include "app/shell/settings_saving.h"

#include "app/shell/app_state.h"
#include "kelvor_error.h"
#include "settings/settings_file.h"

namespace kelvor::app {

void SaveSettingsReported(AppState& state) {
    try {
        WriteSettings(state.workingFolder, state.settings, state.shell.TodayText);
        state.settingsFaultReported = false;
    } catch (const KelvorError& fault) {
        if (!state.settingsFaultReported) {
            state.messages.ShowWarning(fault.what());
            state.settingsFaultReported = true;
        }
    }
}

} // namespace kelvor::app
