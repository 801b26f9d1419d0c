// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/printing/print_target.h"

#include "app/common/file_paths.h"
#include "app/common/qt_text.h"
#include "app/state/dialogs.h"
#include "messages.h"

#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace kelvor::app {

bool PrinterBusy(QPrinter& printer, MessageSink& messages) {
    if (printer.printerState() != QPrinter::Active) {
        return false;
    }
    messages.ShowInfo("Printer Busy - Cannot Print Yet");
    return true;
}

std::optional<PrintTarget> ChoosePrintTarget(Dialogs& dialogs, QPrinter& printer, QWidget* owner,
                                             const std::filesystem::path& folder,
                                             const std::string& jobName) {
    if (dialogs.PrinterInstalled()) {
        printer.setOutputFileName(QString());
        printer.setOutputFormat(QPrinter::NativeFormat);
        if (printer.printerName().isEmpty()) {
            printer.setPrinterName(QPrinterInfo::defaultPrinterName());
        }
        return PrintTarget{};
    }

    const QString stem = PathToQt(std::filesystem::path(jobName).stem()).trimmed();
    const QString suggested =
        PathToQt(folder) + '/' + (stem.isEmpty() ? QString("KELVOR") : stem) + ".pdf";
    const std::optional<QString> chosen = dialogs.ChoosePdfFile(owner, suggested);
    if (!chosen || chosen->isEmpty()) {
        return std::nullopt;
    }
    const QString pdfFile = QFileInfo(*chosen).absoluteFilePath();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfFile);
    // The resolution the page setup's sizes are worked out for: at the printer's own 1200 a graph
    // would come out at half the size the page setup shows.
    printer.setResolution(kPdfDotsPerInch);
    // About what a desk printer cannot reach, so that an 87-column line fits the page.
    printer.setPageMargins(QMarginsF(6.35, 6.35, 6.35, 6.35), QPageLayout::Millimeter);
    return PrintTarget{true, pdfFile};
}

} // namespace kelvor::app
