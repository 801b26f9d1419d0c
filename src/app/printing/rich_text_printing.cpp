// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/printing/rich_text_printing.h"

#include "app/common/file_paths.h"
#include "app/common/qt_text.h"
#include "app/printing/print_target.h"
#include "app/state/app_state.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>
#include <memory>

namespace kelvor::app {

void DrawDocumentPages(QPainter& painter, const QTextDocument& document,
                       const std::function<bool()>& newPage) {
    QPaintDevice* device = painter.device();
    const QSizeF page(device->width(), device->height());
    std::unique_ptr<QTextDocument> copy(document.clone());
    // Laid out in the device's own pixels; lines are never wrapped, as in the window.
    copy->documentLayout()->setPaintDevice(device);
    QTextOption unwrapped = copy->defaultTextOption();
    unwrapped.setWrapMode(QTextOption::NoWrap);
    copy->setDefaultTextOption(unwrapped);
    copy->setTextWidth(-1);
    const qreal scale = std::min<qreal>(1.0, page.width() / copy->size().width());
    const QSizeF layoutPage(page.width() / scale, page.height() / scale);
    copy->setPageSize(layoutPage);

    for (int index = 0; index < copy->pageCount(); ++index) {
        if (index > 0 && !newPage()) {
            return;
        }
        painter.save();
        painter.scale(scale, scale);
        painter.translate(0, -index * layoutPage.height());
        copy->drawContents(&painter, QRectF(QPointF(0, index * layoutPage.height()), layoutPage));
        painter.restore();
    }
}

void PrintRichText(AppState& state, QTextDocument& document, const std::string& jobTitle,
                   QWidget* owner) {
    QPrinter& printer = state.printer();
    if (PrinterBusy(printer, state.messages)) {
        return;
    }
    const std::optional<PrintTarget> target =
        ChoosePrintTarget(state.dialogs, printer, owner, state.workingFolder, jobTitle);
    if (!target) {
        return;
    }
    printer.setDocName(ShownText(jobTitle));
    QPainter painter;
    const bool started = painter.begin(&printer);
    if (started) {
        DrawDocumentPages(painter, document, [&printer] { return printer.newPage(); });
        painter.end();
    }
    // A PDF that could not be written must not pass for a printed job.
    if (!started || (target->toPdf && QFileInfo(target->pdfFile).size() == 0)) {
        state.messages.ShowWarning(target->toPdf
                                       ? "Cannot print to " + PathFromQt(target->pdfFile).string()
                                       : "Cannot print on " + MessageText(printer.printerName()));
    }
}

} // namespace kelvor::app
