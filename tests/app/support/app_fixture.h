#pragma once

#include "app/shell/app_state.h"
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
    AppFixture() : state(folder.path(), messages) {
        state.shell.TodayText = TodayText();
        state.shell.DatafileName = "HPFILTER.DAT";
        folder.Write("HPFILTER.DAT", SampleDatafileText(state.shell.TodayText));
    }

    bool Parse() {
        return ParseDatafile(folder.path(), state.shell.DatafileName, ParseMode::Silent,
                             state.circuit, messages, state.shell.TodayText)
            .ok;
    }

    TempFolder folder;
    RecordingMessages messages;
    app::AppState state;
};

} // namespace kelvor::testing
