#include "app/printing/datafile_printing.h"

#include "app/common/event_wait.h"
#include "app/printing/printing_window.h"
#include "app/printing/text_printing.h"
#include "app/shell/app_state.h"
#include "text/words.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPrinter>
#include <memory>

namespace kelvor::app {
namespace {

constexpr std::size_t kPrintJobNameCapacity = 30;

// Closes the printing window however the job ends.
class CloseOnExit {
public:
    explicit CloseOnExit(TFormPrinting& window) : window_(window) {}
    ~CloseOnExit() { window_.close(); }
    CloseOnExit(const CloseOnExit&) = delete;
    CloseOnExit& operator=(const CloseOnExit&) = delete;

private:
    TFormPrinting& window_;
};

} // namespace

void PrintDatafile(AppState& state, QWidget* owner) {
    if (state.printer().pageLayout().orientation() == QPageLayout::Landscape) {
        bool busy = false;
        TogglePrinterOrientation(state, busy);
        if (busy) {
            return;
        }
    }

    state.shell.PrintJobName = CutText(state.shell.DatafileName, kPrintJobNameCapacity);
    std::unique_ptr<TFormPrinting> ownWindow;
    if (!state.windows.printing) {
        if (owner) {
            // Lives as long as its owner, as the windows made at start do.
            state.windows.printing = new TFormPrinting(state, owner);
        } else {
            ownWindow = std::make_unique<TFormPrinting>(state);
        }
    }
    TFormPrinting& window = ownWindow ? *ownWindow : *state.windows.printing;
    TFormPrinting* const savedWindow = state.windows.printing;
    state.windows.printing = &window;

    {
        CloseOnExit closer(window);
        // Shown once the PDF file question, if any, has been answered: over that dialog its
        // Cancel could not be reached.
        PrintTextFile(state, state.shell.DatafileName, "Courier New", 11, [&window] {
            window.show();
            QCoreApplication::processEvents();
            WaitMs(600);
        });
    }
    state.windows.printing = savedWindow;
}

} // namespace kelvor::app
