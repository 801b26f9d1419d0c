// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/state/app_state.h"
#include "app/support/recording_dialogs.h"
#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"
#include "text/date_text.h"

#include <memory>

namespace kelvor::testing {

// A working folder with the sample Datafile parsed into it, and the application state that the
// windows share, with messages recorded instead of shown.
struct AppFixture {
    AppFixture() : state(folder.path(), messages, dialogs) {
        state.pauses = {};
        state.pauses.afterSweepMs = 0;
        state.pauses.beforeGraphPrintMs = 0;
        state.pauses.beforeDatafilePrintMs = 0;
        state.pauses.diagnosticMs = 0;
        state.shell.TodayText = TodayText();
        state.shell.DatafileName = "HPFILTER.DAT";
        folder.Write("HPFILTER.DAT", SampleDatafileText(state.shell.TodayText));
    }

    bool Parse() { return state.ParseCurrentDatafile().ok; }

    TempFolder folder;
    RecordingMessages messages;
    RecordingDialogs dialogs;
    app::AppState state;
};

} // namespace kelvor::testing
