// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/printing/text_printing.h"

#include "app/common/file_paths.h"
#include "app/common/qt_text.h"
#include "app/printing/print_target.h"
#include "app/printing/printing_window.h"
#include "app/state/app_state.h"
#include "files/file_io.h"
#include "kelvor_error.h"
#include "text/words.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <system_error>

namespace kelvor::app {
namespace {

constexpr int kHeadingWidth = 72;
constexpr std::size_t kBodyColumns = 87;

QFont PrintFont(const QString& fontName, const PrintLine& line) {
    QFont font(fontName);
    // Without the named font the columns must still line up.
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(std::max(1, line.pointSize));
    font.setBold(line.bold);
    return font;
}

void RemoveFile(const QString& path) {
    if (!path.isEmpty()) {
        QFile::remove(path);
    }
}

} // namespace

std::vector<std::string> SplitTextLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const char c = bytes[at];
        if (c != '\r' && c != '\n') {
            ++at;
            continue;
        }
        lines.emplace_back(bytes.substr(start, at - start));
        if (c == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') {
            ++at;
        }
        start = ++at;
    }
    if (start < bytes.size()) {
        lines.emplace_back(bytes.substr(start));
    }
    return lines;
}

std::vector<PrintLine> TextPrintLines(const std::string& fileName,
                                      const std::vector<std::string>& fileLines, int size,
                                      bool boldBody) {
    const int headingSize = size + 2;
    std::vector<PrintLine> lines{{"", true, headingSize},
                                 {CentreText(fileName, kHeadingWidth), true, headingSize},
                                 {"", true, headingSize}};
    lines.reserve(lines.size() + fileLines.size());
    for (std::size_t index = 0; index < fileLines.size(); ++index) {
        std::string text = CutText(fileLines[index], kBodyColumns);
        if (index == 0) {
            // A Datafile title is written with "_" between its words.
            std::replace(text.begin(), text.end(), '_', ' ');
        }
        lines.push_back({std::move(text), boldBody, size});
    }
    return lines;
}

PrintOutcome DrawTextLines(QPainter& painter, const QString& fontName,
                           const std::vector<PrintLine>& lines,
                           const std::function<bool()>& newPage,
                           const std::function<bool()>& cancelled) {
    const int pageHeight = painter.device()->height();
    int top = 0;
    bool pageUsed = false;
    for (const PrintLine& line : lines) {
        if (cancelled && cancelled()) {
            return PrintOutcome::Cancelled;
        }
        painter.setFont(PrintFont(fontName, line));
        const QFontMetrics metrics = painter.fontMetrics();
        // A line taller than the page still goes on a page of its own rather than looping.
        if (pageUsed && top + metrics.height() > pageHeight) {
            if (!newPage || !newPage()) {
                return PrintOutcome::Failed;
            }
            top = 0;
        }
        if (!line.text.empty()) {
            painter.drawText(QPointF(0, top + metrics.ascent()), ToQt(line.text));
        }
        top += metrics.lineSpacing();
        pageUsed = true;
    }
    return PrintOutcome::Finished;
}

std::optional<std::vector<PrintLine>> TextFilePrintJob(AppState& state, const std::string& fileName,
                                                       int size) {
    const std::filesystem::path path = state.File(fileName);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        state.messages.ShowWarning(CutText("Error in " + fileName, 39));
        return std::nullopt;
    }
    std::string bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const KelvorError& fault) {
        state.messages.ShowWarning(fault.what());
        return std::nullopt;
    }
    return TextPrintLines(fileName, SplitTextLines(bytes), size, state.settings.BoldFont);
}

void PrintTextFile(AppState& state, const std::string& fileName, const std::string& fontName,
                   int size, const std::function<void()>& beforePrinting) {
    const std::optional<std::vector<PrintLine>> lines = TextFilePrintJob(state, fileName, size);
    if (!lines) {
        return;
    }
    QPrinter& printer = state.printer();
    // Events run while a job prints, so a second print command can arrive during the first.
    if (printer.printerState() == QPrinter::Active) {
        state.messages.ShowInfo("Printer Busy - Cannot Print Yet");
        return;
    }
    const std::optional<PrintTarget> target = ChoosePrintTarget(
        state.dialogs, printer, QApplication::activeWindow(), state.workingFolder, fileName);
    if (!target) {
        return;
    }
    if (beforePrinting) {
        beforePrinting();
    }
    if (target->toPdf && state.windows.Has<TFormPrinting>()) {
        state.windows.Get<TFormPrinting>().ShowPdfFile(QFileInfo(target->pdfFile).fileName());
    }
    printer.setDocName(ShownText(fileName));

    QPainter painter;
    if (!painter.begin(&printer)) {
        state.messages.ShowWarning(target->toPdf
                                       ? "Cannot print to " + PathFromQt(target->pdfFile).string()
                                       : "Cannot print on " + MessageText(printer.printerName()));
        return;
    }
    const PrintOutcome outcome = DrawTextLines(
        painter, ToQt(fontName), *lines, [&printer] { return printer.newPage(); },
        [&state] {
            // The Cancel click is an event: let it in between lines.
            QCoreApplication::processEvents();
            return PrintCancelRequested(state);
        });
    if (outcome == PrintOutcome::Cancelled) {
        printer.abort();
    }
    painter.end();

    if (outcome == PrintOutcome::Cancelled) {
        if (target->toPdf) {
            RemoveFile(target->pdfFile);
        }
        return;
    }
    const bool written = !target->toPdf || QFileInfo(target->pdfFile).size() > 0;
    if (outcome == PrintOutcome::Failed || !written) {
        if (target->toPdf) {
            RemoveFile(target->pdfFile);
        }
        state.messages.ShowWarning("Printing of " + fileName + " failed");
    }
}

void TogglePrinterOrientation(AppState& state, bool& busy) {
    QPrinter& printer = state.printer();
    if (printer.printerState() == QPrinter::Active) {
        busy = true;
        state.messages.ShowInfo("Printer Busy - Cannot Change Page Orientation Yet");
        return;
    }
    busy = false;
    printer.setPageOrientation(printer.pageLayout().orientation() == QPageLayout::Portrait
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
}

} // namespace kelvor::app
