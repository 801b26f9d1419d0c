// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/printing/datafile_printing.h"

#include "app/common/event_wait.h"
#include "app/printing/printing_window.h"
#include "app/printing/text_printing.h"
#include "app/state/app_state.h"
#include "text/words.h"

#include <QPageLayout>
#include <QPrinter>
#include <memory>
#include <optional>

namespace kelvor::app {
namespace {

constexpr std::size_t kPrintJobNameCapacity = 30;

} // namespace

void PrintDatafile(AppState& state) {
    if (state.printer().pageLayout().orientation() == QPageLayout::Landscape) {
        bool busy = false;
        TogglePrinterOrientation(state, busy);
        if (busy) {
            return;
        }
    }

    state.shell.PrintJobName = CutText(state.shell.DatafileName, kPrintJobNameCapacity);
    // Shown once the PDF file question, if any, has been answered: over that dialog its Cancel
    // could not be reached. Closed as the job ends.
    auto printing = std::make_shared<std::optional<PrintingWindowShown>>();
    PrintTextFile(
        state, state.shell.DatafileName, "Courier New", 11,
        [printing, &state] {
            printing->emplace(state);
            WaitMs(state.pauses.beforeDatafilePrintMs);
        },
        [printing] { printing->reset(); });
}

} // namespace kelvor::app
