#include "app/printing/print_target.h"

#include "app/common/file_paths.h"
#include "app/common/qt_text.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace kelvor::app {
namespace {

PdfFileChooser& ChooserForTests() {
    static PdfFileChooser chooser;
    return chooser;
}

std::optional<QString> AskForPdfFile(QWidget* owner, const QString& suggestedFile) {
    QString chosen = QFileDialog::getSaveFileName(owner, "Print to PDF File", suggestedFile,
                                                  "PDF files (*.pdf)");
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    if (QFileInfo(chosen).suffix().isEmpty()) {
        chosen += ".pdf";
    }
    return chosen;
}

bool PrinterInstalled() {
    return !QPrinterInfo::availablePrinters().isEmpty();
}

} // namespace

void SetPdfFileChooserForTests(PdfFileChooser chooser) {
    ChooserForTests() = std::move(chooser);
}

std::optional<PrintTarget> ChoosePrintTarget(QPrinter& printer, QWidget* owner,
                                             const std::filesystem::path& folder,
                                             const std::string& jobName) {
    const PdfFileChooser& testChooser = ChooserForTests();
    if (!testChooser && PrinterInstalled()) {
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
    const std::optional<QString> chosen =
        testChooser ? testChooser(owner, suggested) : AskForPdfFile(owner, suggested);
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
