#include "app/printing/print_target.h"

#include "app/common/qt_text.h"
#include "app/shell/dialogs.h"

#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace kelvor::app {
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

    const std::string stem = FromQt(ToQt(std::filesystem::path(jobName).stem().string()).trimmed());
    const QString suggested =
        ToQt((folder / ((stem.empty() ? std::string("KELVOR") : stem) + ".pdf")).string());
    const std::optional<QString> chosen = dialogs.ChoosePdfFile(owner, suggested);
    if (!chosen || chosen->isEmpty()) {
        return std::nullopt;
    }
    const QString pdfFile = QFileInfo(*chosen).absoluteFilePath();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfFile);
    // About what a desk printer cannot reach, so that an 87-column line fits the page.
    printer.setPageMargins(QMarginsF(6.35, 6.35, 6.35, 6.35), QPageLayout::Millimeter);
    return PrintTarget{true, pdfFile};
}

} // namespace kelvor::app
