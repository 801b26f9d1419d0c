// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvor::app {

struct AppState;

// File/Print: prints the current Datafile in portrait, in the text editor's font, while the
// printing window shows the job. A landscape printer that is busy ends the command with a note.
void PrintDatafile(AppState& state);

} // namespace kelvor::app
