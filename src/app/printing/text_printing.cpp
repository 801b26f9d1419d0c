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
#include <QTimer>
#include <algorithm>
#include <memory>
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

// A few lines at each turn: a piece of a page takes milliseconds, so Cancel answers at once.
constexpr std::size_t kLinesPerTurn = 40;

// A text job on the window thread, drawn a piece at each turn of the event loop rather than in a
// loop of its own that lets events in: a command of the windows never runs inside the job.
class TextPrintRun : public QObject {
public:
    TextPrintRun(AppState& state, std::string fileName, PrintTarget target, TextLineWriter writer,
                 std::function<void()> afterPrinting)
        : state_(state), fileName_(std::move(fileName)), target_(std::move(target)),
          writer_(std::move(writer)), afterPrinting_(std::move(afterPrinting)) {}

    // The program ends during the job: its pages are dropped.
    ~TextPrintRun() override {
        if (painter_.isActive()) {
            state_.printer().abort();
            painter_.end();
            if (target_.toPdf) {
                RemoveFile(target_.pdfFile);
            }
        }
    }

    // Starts the job; false when the printer cannot begin one, which is reported.
    bool Start() {
        QPrinter& printer = state_.printer();
        if (!painter_.begin(&printer)) {
            state_.messages.ShowWarning(
                target_.toPdf ? "Cannot print to " + PathFromQt(target_.pdfFile).string()
                              : "Cannot print on " + MessageText(printer.printerName()));
            if (afterPrinting_) {
                afterPrinting_();
            }
            return false;
        }
        QTimer::singleShot(0, this, [this] { DrawPiece(); });
        return true;
    }

private:
    void DrawPiece() {
        QPrinter& printer = state_.printer();
        const PrintOutcome outcome = writer_.DrawNext(
            painter_, kLinesPerTurn, [&printer] { return printer.newPage(); },
            [this] { return PrintCancelRequested(state_); });
        if (outcome == PrintOutcome::Unfinished) {
            QTimer::singleShot(0, this, [this] { DrawPiece(); });
            return;
        }
        End(outcome);
    }

    void End(PrintOutcome outcome) {
        const bool cancelled = outcome == PrintOutcome::Cancelled;
        if (cancelled) {
            state_.printer().abort();
        }
        painter_.end();
        const bool written = !target_.toPdf || QFileInfo(target_.pdfFile).size() > 0;
        const bool failed = !cancelled && (outcome == PrintOutcome::Failed || !written);
        if ((cancelled || failed) && target_.toPdf) {
            RemoveFile(target_.pdfFile);
        }
        // The job lets go of itself before anything is shown: a message box runs events.
        const std::function<void()> afterPrinting = std::move(afterPrinting_);
        AppState& state = state_;
        const std::string fileName = fileName_;
        if (state.printJob.get() == this) {
            static_cast<void>(state.printJob.release()); // deleted below, once back in the loop
        }
        deleteLater();
        if (failed) {
            state.messages.ShowWarning("Printing of " + fileName + " failed");
        }
        if (afterPrinting) {
            afterPrinting();
        }
    }

    AppState& state_;
    std::string fileName_;
    PrintTarget target_;
    TextLineWriter writer_;
    std::function<void()> afterPrinting_;
    QPainter painter_;
};

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

TextLineWriter::TextLineWriter(QString fontName, std::vector<PrintLine> lines)
    : fontName_(std::move(fontName)), lines_(std::move(lines)) {}

PrintOutcome TextLineWriter::DrawNext(QPainter& painter, std::size_t count,
                                      const std::function<bool()>& newPage,
                                      const std::function<bool()>& cancelled) {
    const int pageHeight = painter.device()->height();
    const std::size_t end = next_ + std::min(count, lines_.size() - next_);
    for (; next_ < end; ++next_) {
        const PrintLine& line = lines_[next_];
        if (cancelled && cancelled()) {
            return PrintOutcome::Cancelled;
        }
        painter.setFont(PrintFont(fontName_, line));
        const QFontMetrics metrics = painter.fontMetrics();
        // A line taller than the page still goes on a page of its own rather than looping.
        if (pageUsed_ && top_ + metrics.height() > pageHeight) {
            if (!newPage || !newPage()) {
                return PrintOutcome::Failed;
            }
            top_ = 0;
        }
        if (!line.text.empty()) {
            painter.drawText(QPointF(0, top_ + metrics.ascent()), ToQt(line.text));
        }
        top_ += metrics.lineSpacing();
        pageUsed_ = true;
    }
    return next_ < lines_.size() ? PrintOutcome::Unfinished : PrintOutcome::Finished;
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
                   int size, const std::function<void()>& beforePrinting,
                   std::function<void()> afterPrinting) {
    // Refused before the file is read: it may be large, and nothing of it would be used.
    QPrinter& printer = state.printer();
    if (PrinterBusy(printer, state.messages)) {
        return;
    }
    std::optional<std::vector<PrintLine>> lines = TextFilePrintJob(state, fileName, size);
    if (!lines) {
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
    auto run = std::make_unique<TextPrintRun>(state, fileName, *target,
                                              TextLineWriter(ToQt(fontName), std::move(*lines)),
                                              std::move(afterPrinting));
    if (run->Start()) {
        state.printJob = std::move(run);
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
