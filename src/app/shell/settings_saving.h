#pragma once

namespace kelvor::app {

struct AppState;

// Writes KELVOR.INI from the state's settings. A failure is reported with its reason, once: later
// failures stay quiet until the file can be written again, so that a folder that cannot be
// written does not answer every choice with the same box. The choices hold for the run either way.
void SaveSettingsReported(AppState& state);

} // namespace kelvor::app
