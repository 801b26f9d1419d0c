#include "app/printing/rich_text_printing.h"

#include "app/common/qt_text.h"
#include "app/printing/print_target.h"
#include "app/shell/app_state.h"

#include <QFileInfo>
#include <QPrinter>
#include <QTextDocument>

namespace kelvor::app {

void PrintRichText(AppState& state, QTextDocument& document, const std::string& jobTitle,
                   QWidget* owner) {
    QPrinter& printer = state.printer();
    const std::optional<PrintTarget> target =
        ChoosePrintTarget(state.dialogs, printer, owner, state.workingFolder, jobTitle);
    if (!target) {
        return;
    }
    printer.setDocName(ToQt(jobTitle));
    document.print(&printer);
    // A PDF that could not be written must not pass for a printed job.
    if (target->toPdf && QFileInfo(target->pdfFile).size() == 0) {
        state.messages.ShowWarning("Cannot print to " + FromQt(target->pdfFile));
    }
}

} // namespace kelvor::app
