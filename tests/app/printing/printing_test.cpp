// SPDX-License-Identifier: GPL-3.0-or-later
// Printing a Datafile: the lines that reach the page, the PDF file when no printer is installed,
// the printing window with its Cancel, and the page setup window's BoldFont.

#include "app/printing/datafile_printing.h"
#include "app/printing/page_setup_window.h"
#include "app/printing/print_target.h"
#include "app/printing/printing_window.h"
#include "app/printing/rich_text_printing.h"
#include "app/printing/text_printing.h"
#include "app/response/response_window.h"
#include "app/state/app_state.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/recording_dialogs.h"
#include "settings/settings_file.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"
#include "text/words.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <climits>
#include <memory>

using kelvor::testing::RecordingMessages;
using kelvor::testing::TempFolder;

namespace kelvor::app {
namespace {

// Records every string drawn, with its font and page, instead of painting pixels.
class RecordingEngine : public QPaintEngine {
public:
    struct DrawnText {
        int page;
        QPointF baseline;
        QString text;
        QFont font;
        qreal right = 0; // where the text ends on the page, in device pixels
    };

    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF& at, const QTextItem& item) override {
        const qreal right = state->transform().map(at + QPointF(item.width(), 0)).x();
        drawn.push_back({page, at, item.text(), item.font(), right});
    }
    Type type() const override { return QPaintEngine::User; }

    std::vector<DrawnText> drawn;
    int page = 0;
};

class RecordingPage : public QPaintDevice {
public:
    RecordingPage(int width, int height, int dpi) : width_(width), height_(height), dpi_(dpi) {}
    QPaintEngine* paintEngine() const override { return &engine; }

    // Joins the pieces drawn on one baseline into the line the reader sees.
    QStringList Lines(int page) const {
        QStringList lines;
        qreal lastBaseline = -1;
        for (const auto& piece : engine.drawn) {
            if (piece.page != page) {
                continue;
            }
            if (lines.isEmpty() || piece.baseline.y() != lastBaseline) {
                lines.append(QString());
            }
            lines.last() += piece.text;
            lastBaseline = piece.baseline.y();
        }
        return lines;
    }

    mutable RecordingEngine engine;

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return width_;
        case PdmHeight:
            return height_;
        case PdmWidthMM:
            return width_ * 254 / (10 * dpi_);
        case PdmHeightMM:
            return height_ * 254 / (10 * dpi_);
        case PdmNumColors:
            return INT_MAX;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return dpi_;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    int width_;
    int height_;
    int dpi_;
};

PrintOutcome DrawOnPages(RecordingPage& page, const std::vector<PrintLine>& lines,
                         std::function<bool()> cancelled = {}) {
    QPainter painter(&page);
    return TextLineWriter("Courier New", lines)
        .DrawNext(
            painter, lines.size(),
            [&page] {
                ++page.engine.page;
                return true;
            },
            cancelled);
}

RecordingEngine::DrawnText FindDrawn(const RecordingPage& page, const QString& start) {
    for (const auto& piece : page.engine.drawn) {
        if (piece.text.contains(start)) {
            return piece;
        }
    }
    return {-1, {}, {}, {}, 0};
}

const char* const kAmpDatafile =
    "AMP_1_-_common_emitter_stage      Rev. 2         5 Mar 2027\r\n"
    "\r\n"
    "                 NodeIn = 1        NodeOut = 3        NodeCom = 0\r\n"
    "* bias_network stays with underscores\r\n"
    "R1   1  2   10k\r\n"
    "C1   2  3   100n\r\n"
    "END\r\n";

int PdfPageCount(const QByteArray& pdf) {
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") +
                            pdf.count("/Type /Page>"));
}

QByteArray ReadBytes(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::string LongDatafile(int bodyLines) {
    std::string text = "LONG_LADDER      Rev. 1         5 Mar 2027\r\n";
    for (int line = 1; line < bodyLines; ++line) {
        text += "R" + std::to_string(line) + "   1  2   1k\r\n";
    }
    return text;
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> folder_;
    std::unique_ptr<RecordingMessages> messages_;
    std::unique_ptr<testing::RecordingDialogs> dialogs_;
    std::unique_ptr<AppState> state_;

    AppState& State() { return *state_; }
    // A text job prints at the event loop's pace: the checks read what it left.
    void WaitForPrinting() { QTRY_VERIFY_WITH_TIMEOUT(!State().printJob, 60000); }
    std::filesystem::path Pdf(const std::string& name) const { return *folder_ / name; }

    // Answers the PDF question with a file of the temporary folder.
    void ChoosePdf(const std::string& name, std::function<void()> whileAsked = {}) {
        dialogs_->pdfFile = QString::fromStdString(Pdf(name).string());
        dialogs_->whilePdfAsked = std::move(whileAsked);
    }
    int PdfQuestions() const { return int(dialogs_->suggestedPdfFiles.size()); }

private slots:
    void init() {
        folder_ = std::make_unique<TempFolder>();
        messages_ = std::make_unique<RecordingMessages>();
        dialogs_ = std::make_unique<testing::RecordingDialogs>();
        state_ = std::make_unique<AppState>(folder_->path(), *messages_, *dialogs_);
        state_->shell.TodayText = "5 Mar 2027";
        state_->pauses.beforeDatafilePrintMs = 0;
    }

    void cleanup() {
        state_.reset();
        dialogs_.reset();
        messages_.reset();
        folder_.reset();
    }

    void linesSplitOnEveryKindOfLineEnd() {
        QCOMPARE(SplitTextLines(""), std::vector<std::string>{});
        QCOMPARE(SplitTextLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
        QCOMPARE(SplitTextLines("a\r\n"), std::vector<std::string>{"a"});
        QCOMPARE(SplitTextLines("a\r\n\r\n\r\nb"), (std::vector<std::string>{"a", "", "", "b"}));
        QCOMPARE(SplitTextLines("\n"), std::vector<std::string>{""});
        QCOMPARE(SplitTextLines("\n\r"), (std::vector<std::string>{"", ""}));
    }

    void jobLinesHaveTheCentredHeadingAndCutBody() {
        const std::string cut(87, 'a');
        const auto lines = TextPrintLines("amp12.dat", {"A_B__C_", "x_y", cut + "b_"}, 11, true);
        const std::vector<PrintLine> expected{
            {"", true, 13},
            // An odd length leaves the extra space at the end.
            {std::string(31, ' ') + "amp12.dat" + std::string(32, ' '), true, 13},
            {"", true, 13},
            {"A B  C ", true, 11},
            {"x_y", true, 11},
            {cut, true, 11}};
        QCOMPARE(lines, expected);
        QVERIFY(!TextPrintLines("a.dat", {"x"}, 9, false)[3].bold);
        // A name wider than 72 columns is printed whole.
        const std::string longName(80, 'n');
        QCOMPARE(TextPrintLines(longName, {}, 11, false)[1].text, longName);
    }

    void drawnPageCarriesHeadingAndBodyInTheirFonts() {
        RecordingPage page(4000, 6000, 600);
        const auto lines = TextPrintLines("amp1.dat", SplitTextLines(kAmpDatafile), 11, false);
        QCOMPARE(DrawOnPages(page, lines), PrintOutcome::Finished);
        QCOMPARE(page.engine.page, 0);

        const QStringList drawn = page.Lines(0);
        QCOMPARE(drawn.size(), 7); // the heading and the six non-empty lines of the file
        QCOMPARE(drawn[0].trimmed(), QString("amp1.dat"));
        QCOMPARE(drawn[0].indexOf("amp1.dat"), 32);
        QCOMPARE(drawn[1], QString("AMP 1 - common emitter stage      Rev. 2         5 Mar 2027"));
        QCOMPARE(drawn[3], QString("* bias_network stays with underscores"));
        QCOMPARE(drawn[6], QString("END"));

        for (const auto& piece : page.engine.drawn) {
            const bool heading = piece.text.contains("amp1.dat");
            QCOMPARE(piece.font.bold(), heading);
            QCOMPARE(piece.font.pointSize(), heading ? 13 : 11);
        }
        // Text starts at the left edge, and empty lines keep their height in their own font.
        QFont headingFont("Courier New", 13);
        headingFont.setBold(true);
        const QFontMetrics heading(headingFont, &page);
        const QFontMetrics body(QFont("Courier New", 11), &page);
        const auto& name = page.engine.drawn.front();
        QCOMPARE(name.baseline, QPointF(0, heading.lineSpacing() + heading.ascent()));
        const auto title = FindDrawn(page, "AMP");
        const auto nodes = FindDrawn(page, "NodeIn");
        QCOMPARE(title.baseline.y(), 3.0 * heading.lineSpacing() + body.ascent());
        QCOMPARE(nodes.baseline.y(), title.baseline.y() + 2 * body.lineSpacing());
    }

    void fullPagesContinueOnTheNextPage() {
        // About ten body lines fit on this page at 11 points and 100 dots per inch.
        RecordingPage page(1200, 200, 100);
        std::vector<std::string> fileLines;
        for (int line = 0; line < 40; ++line) {
            fileLines.push_back("line " + std::to_string(line));
        }
        QCOMPARE(DrawOnPages(page, TextPrintLines("a.dat", fileLines, 11, false)),
                 PrintOutcome::Finished);
        QVERIFY(page.engine.page >= 3);

        QStringList all;
        for (int number = 0; number <= page.engine.page; ++number) {
            const QStringList lines = page.Lines(number);
            QVERIFY2(!lines.isEmpty(), "no page is left blank");
            all += lines;
        }
        QCOMPARE(all.size(), 41);
        for (int line = 0; line < 40; ++line) {
            QCOMPARE(all[line + 1], QString("line %1").arg(line));
        }
        const QFontMetrics body(QFont("Courier New", 11), &page);
        for (const auto& piece : page.engine.drawn) {
            QVERIFY2(piece.baseline.y() + body.descent() <= 200, "every line lies on its page");
        }
        // A new page starts at the top again.
        const auto firstOnSecondPage =
            std::find_if(page.engine.drawn.begin(), page.engine.drawn.end(),
                         [](const auto& piece) { return piece.page == 1; });
        QCOMPARE(firstOnSecondPage->baseline.y(), qreal(body.ascent()));
    }

    void cancellingStopsBetweenLines() {
        RecordingPage page(4000, 6000, 600);
        std::vector<std::string> fileLines(100, "R1 1 2 1k");
        int asked = 0;
        const PrintOutcome outcome = DrawOnPages(
            page, TextPrintLines("a.dat", fileLines, 11, false), [&asked] { return ++asked > 10; });
        QCOMPARE(outcome, PrintOutcome::Cancelled);
        // The first ten lines (three of them the heading) were printed and nothing after.
        QCOMPARE(page.Lines(0).size(), 1 + 7);
    }

    void aPageThatCannotBeStartedFailsTheJob() {
        RecordingPage page(1200, 100, 100);
        QPainter painter(&page);
        const PrintOutcome outcome =
            TextLineWriter("Courier New",
                           TextPrintLines("a.dat", std::vector<std::string>(30, "x"), 11, false))
                .DrawNext(painter, 33, [] { return false; }, {});
        QCOMPARE(outcome, PrintOutcome::Failed);
    }

    void missingFileIsReportedWithItsNameCutTo39Characters() {
        PrintTextFile(State(), "amp1.dat", "Courier New", 11);
        WaitForPrinting();
        QCOMPARE(messages_->entries.size(), std::size_t{1});
        QCOMPARE(messages_->entries[0].kind, RecordingMessages::Entry::Warning);
        QCOMPARE(messages_->entries[0].text, std::string("Error in amp1.dat"));

        PrintTextFile(State(), "a_very_long_datafile_name_of_30c.dat", "Courier New", 11);
        QCOMPARE(messages_->entries[1].text,
                 std::string("Error in a_very_long_datafile_name_of_3"));
        QCOMPARE(messages_->entries[1].text.size(), std::size_t{39});
        QCOMPARE(PdfQuestions(), 0);
    }

    void datafilePrintsToTheChosenPdfFile() {
        folder_->Write("amp1.dat", kAmpDatafile);
        State().shell.DatafileName = "amp1.dat";
        ChoosePdf("amp1.pdf");
        PrintDatafile(State());
        WaitForPrinting();

        QCOMPARE(PdfQuestions(), 1);
        QVERIFY(messages_->entries.empty());
        const QByteArray pdf = ReadBytes(Pdf("amp1.pdf"));
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(PdfPageCount(pdf), 1);
        QCOMPARE(State().printer().printerState(), QPrinter::Idle);
    }

    void longDatafileFillsAsManyPdfPagesAsTheLayoutSays() {
        folder_->Write("long.dat", LongDatafile(300));
        ChoosePdf("long.pdf");
        PrintTextFile(State(), "long.dat", "Courier New", 11);
        WaitForPrinting();
        QVERIFY(messages_->entries.empty());

        // The same lines laid out on a page of the printer's size and resolution.
        QPrinter& printer = State().printer();
        RecordingPage page(printer.width(), printer.height(), printer.resolution());
        const auto job = TextFilePrintJob(State(), "long.dat", 11);
        QVERIFY(job.has_value());
        QCOMPARE(DrawOnPages(page, *job), PrintOutcome::Finished);
        QVERIFY(page.engine.page >= 4);
        QCOMPARE(PdfPageCount(ReadBytes(Pdf("long.pdf"))), page.engine.page + 1);
    }

    void cancellingTheFileQuestionPrintsNothingAndSaysNothing() {
        folder_->Write("amp1.dat", kAmpDatafile);
        PrintTextFile(State(), "amp1.dat", "Courier New", 11);
        WaitForPrinting();
        QCOMPARE(PdfQuestions(), 1);
        // The question offers the job's name beside it.
        QCOMPARE(dialogs_->suggestedPdfFiles[0], QString::fromStdString(Pdf("amp1.pdf").string()));
        QVERIFY(messages_->entries.empty());
        QVERIFY(!std::filesystem::exists(Pdf("amp1.pdf")));
        QCOMPARE(State().printer().printerState(), QPrinter::Idle);
    }

    void aPdfFileThatCannotBeWrittenIsReported() {
        folder_->Write("amp1.dat", kAmpDatafile);
        ChoosePdf("no such folder/amp1.pdf");
        PrintTextFile(State(), "amp1.dat", "Courier New", 11);
        WaitForPrinting();
        QCOMPARE(messages_->entries.size(), std::size_t{1});
        QCOMPARE(messages_->entries[0].kind, RecordingMessages::Entry::Warning);
        QVERIFY(QString::fromStdString(messages_->entries[0].text).startsWith("Cannot print to "));
        QVERIFY(QString::fromStdString(messages_->entries[0].text).endsWith("amp1.pdf"));
        // The printer is free for the next job.
        ChoosePdf("amp1.pdf");
        PrintTextFile(State(), "amp1.dat", "Courier New", 11);
        WaitForPrinting();
        QCOMPARE(messages_->entries.size(), std::size_t{1});
        QVERIFY(ReadBytes(Pdf("amp1.pdf")).startsWith("%PDF"));
    }

    void printingWindowNamesTheJobCentredIn35Columns() {
        TFormPrinting window(State());
        State().windows.Use(&window);
        State().shell.PrintJobName = "amp1.dat";
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();

        const QString expected =
            "          Now printing :-\n\n" + QString(13, ' ') + "amp1.dat" + QString(14, ' ');
        QCOMPARE(window.LabelPrinting->text(), expected);

        // A new job name shows at the next paint.
        State().shell.PrintJobName = "KELVOR.BMP";
        window.update();
        QTRY_COMPARE(window.LabelPrinting->text(), "          Now printing :-\n\n" +
                                                       QString(12, ' ') + "KELVOR.BMP" +
                                                       QString(13, ' '));
        State().windows.Use<TFormPrinting>(nullptr);
    }

    void printingWindowSaysWhichPdfFileTheJobGoesTo() {
        folder_->Write("amp1.dat", kAmpDatafile);
        State().shell.DatafileName = "amp1.dat";
        TFormPrinting window(State());
        State().windows.Use(&window);
        QString shownDuringJob;
        // The file is asked for first: the printing window, with its Cancel, must not stand
        // over the dialog.
        bool windowShownWhileAsked = true;
        ChoosePdf("amp1.pdf", [&] { windowShownWhileAsked = window.isVisible(); });
        PrintDatafile(State());
        shownDuringJob = window.PrintingText();
        WaitForPrinting();
        QVERIFY(!windowShownWhileAsked);
        QVERIFY(!window.isVisible());
        QCOMPARE(State().printer().resolution(), 600);
        const QStringList lines = shownDuringJob.split('\n');
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[2], QString(13, ' ') + "amp1.dat" + QString(14, ' '));
        QCOMPARE(lines[3].trimmed(), QString("into amp1.pdf"));
        QCOMPARE(lines[3].size(), 35);

        // The next showing starts a new job without that line.
        window.show();
        QCOMPARE(window.PrintingText().split('\n').size(), 3);
        window.close();
        State().windows.Use<TFormPrinting>(nullptr);
    }

    void cancelDuringAJobStopsItAndDiscardsThePdf() {
        folder_->Write("long.dat", LongDatafile(20000));
        State().shell.DatafileName = "long.dat";
        TFormPrinting window(State());
        State().windows.Use(&window);
        ChoosePdf("long.pdf", [&window] {
            // Clicked as soon as events run inside the job.
            QTimer::singleShot(0, window.ButtonCancel, &QPushButton::click);
        });
        PrintDatafile(State());
        WaitForPrinting();

        QCOMPARE(PdfQuestions(), 1);
        QVERIFY(window.CancelRequested());
        QVERIFY(!window.isVisible());
        QVERIFY(messages_->entries.empty());
        QVERIFY(!std::filesystem::exists(Pdf("long.pdf")));
        QCOMPARE(State().printer().printerState(), QPrinter::Idle);

        // The next job is not cancelled by the last one's click.
        ChoosePdf("again.pdf");
        folder_->Write("amp1.dat", kAmpDatafile);
        State().shell.DatafileName = "amp1.dat";
        PrintDatafile(State());
        WaitForPrinting();
        QVERIFY(!window.CancelRequested());
        QVERIFY(ReadBytes(Pdf("again.pdf")).startsWith("%PDF"));
        State().windows.Use<TFormPrinting>(nullptr);
    }

    void escapeInThePrintingWindowCancelsRatherThanHides() {
        TFormPrinting window(State());
        State().windows.Use(&window);
        window.show();
        QVERIFY(!PrintCancelRequested(State()));
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(window.isVisible());
        QVERIFY(PrintCancelRequested(State()));
        // Once closed, an old click no longer cancels anything.
        window.close();
        QVERIFY(!PrintCancelRequested(State()));
        State().windows.Use<TFormPrinting>(nullptr);
    }

    void printingWindowIsMadeOnDemandAndClosedAfterTheJob() {
        folder_->Write("amp1.dat", kAmpDatafile);
        State().shell.DatafileName = "amp1.dat";
        ChoosePdf("amp1.pdf");
        QVERIFY(!State().windows.Has<TFormPrinting>());
        PrintDatafile(State());
        WaitForPrinting();
        QVERIFY(State().windows.Has<TFormPrinting>());
        QVERIFY(!State().windows.Get<TFormPrinting>().isVisible());
        QCOMPARE(State().shell.PrintJobName, std::string("amp1.dat"));
        State().windows.Use<TFormPrinting>(nullptr);
    }

    void orientationTogglesUnlessAJobIsPrinting() {
        QPrinter& printer = State().printer();
        printer.setPageOrientation(QPageLayout::Portrait);
        bool busy = true;
        TogglePrinterOrientation(State(), busy);
        QVERIFY(!busy);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
        TogglePrinterOrientation(State(), busy);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
        QVERIFY(messages_->entries.empty());

        printer.setOutputFileName(QString::fromStdString(Pdf("busy.pdf").string()));
        QPainter job(&printer);
        TogglePrinterOrientation(State(), busy);
        QVERIFY(busy);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
        QCOMPARE(messages_->entries.size(), std::size_t{1});
        QCOMPARE(messages_->entries[0].kind, RecordingMessages::Entry::Info);
        QCOMPARE(messages_->entries[0].text,
                 std::string("Printer Busy - Cannot Change Page Orientation Yet"));
        job.end();
    }

    void datafilePrintsInPortraitAfterALandscapeGraph() {
        folder_->Write("amp1.dat", kAmpDatafile);
        State().shell.DatafileName = "amp1.dat";
        State().printer().setPageOrientation(QPageLayout::Landscape);
        ChoosePdf("amp1.pdf");
        PrintDatafile(State());
        WaitForPrinting();
        QCOMPARE(State().printer().pageLayout().orientation(), QPageLayout::Portrait);

        const QByteArray pdf = ReadBytes(Pdf("amp1.pdf"));
        const auto box = QRegularExpression(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])").match(pdf);
        QVERIFY(box.hasMatch());
        QVERIFY(box.captured(1).toDouble() < box.captured(2).toDouble());
    }

    void busyLandscapePrinterEndsThePrintCommand() {
        folder_->Write("amp1.dat", kAmpDatafile);
        State().shell.DatafileName = "amp1.dat";
        QPrinter& printer = State().printer();
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setOutputFileName(QString::fromStdString(Pdf("graph.pdf").string()));
        QPainter graphJob(&printer);

        TFormPrinting window(State());
        State().windows.Use(&window);
        PrintDatafile(State());
        WaitForPrinting();
        QCOMPARE(messages_->entries.size(), std::size_t{1});
        QCOMPARE(messages_->entries[0].text,
                 std::string("Printer Busy - Cannot Change Page Orientation Yet"));
        QCOMPARE(State().shell.PrintJobName, std::string(" Untitled "));
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
        graphJob.end();
        State().windows.Use<TFormPrinting>(nullptr);
    }

    void aJobPrintsWhileTheWindowsRunAndEndingTheProgramDropsIt() {
        folder_->Write("long.dat", LongDatafile(20000));
        State().shell.DatafileName = "long.dat";
        auto window = std::make_unique<TFormPrinting>(State());
        State().windows.Use(window.get());
        ChoosePdf("long.pdf");
        PrintDatafile(State());
        // The call is back with the job under way, and events run outside it.
        QVERIFY(State().printJob);
        QVERIFY(window->isVisible());
        QCoreApplication::processEvents();
        QCOMPARE(State().printer().printerState(), QPrinter::Active);
        // A second job of either kind is refused before it asks for a file.
        PrintTextFile(State(), "long.dat", "Courier New", 11);
        QTextDocument document("RESPONSE");
        PrintRichText(State(), document, "RESPONSE", nullptr);
        QCOMPARE(messages_->entries.size(), std::size_t{2});
        for (const auto& entry : messages_->entries) {
            QCOMPARE(entry.text, std::string("Printer Busy - Cannot Print Yet"));
        }
        QCOMPARE(PdfQuestions(), 1);

        // The program ends: the main window goes with the printing window, then the state.
        State().windows.Use<TFormPrinting>(nullptr);
        window.reset();
        State().printJob.reset();
        QVERIFY(!std::filesystem::exists(Pdf("long.pdf")));
        QVERIFY(State().printer().printerState() != QPrinter::Active);
    }

    void aSecondJobWhileOneIsPrintingIsRefused() {
        folder_->Write("amp1.dat", kAmpDatafile);
        QPrinter& printer = State().printer();
        printer.setOutputFileName(QString::fromStdString(Pdf("first.pdf").string()));
        QPainter firstJob(&printer);
        PrintTextFile(State(), "amp1.dat", "Courier New", 11);
        WaitForPrinting();
        QCOMPARE(messages_->entries.size(), std::size_t{1});
        QCOMPARE(messages_->entries[0].text, std::string("Printer Busy - Cannot Print Yet"));
        QCOMPARE(PdfQuestions(), 0);
        firstJob.end();
    }

    void pageSetupKeepsBoldFontAndTheNextPrintIsBold() {
        folder_->Write("amp1.dat", kAmpDatafile);
        State().settings.Datafilename = "amp1.dat";
        TFormPSet window(State());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.CheckBoxBold->isChecked());

        QTest::mouseClick(window.CheckBoxBold, Qt::LeftButton, {},
                          window.CheckBoxBold->rect().center());
        QVERIFY(window.CheckBoxBold->isChecked());
        // A repaint while open keeps the user's tick.
        window.repaint();
        QCoreApplication::processEvents();
        QVERIFY(window.CheckBoxBold->isChecked());
        QTest::mouseClick(window.ButtonClose, Qt::LeftButton);
        QVERIFY(!window.isVisible());

        QVERIFY(State().settings.BoldFont);
        const std::string ini = folder_->Read("KELVOR.INI");
        QVERIFY2(ini.find("BoldFont=1\r\n") != std::string::npos, ini.c_str());
        QVERIFY(ini.find("Datafilename=amp1.dat") != std::string::npos);

        // The body of the next printed Datafile is bold; the heading always was.
        RecordingPage page(4000, 6000, 600);
        const auto job = TextFilePrintJob(State(), "amp1.dat", 11);
        QVERIFY(job.has_value());
        QCOMPARE(DrawOnPages(page, *job), PrintOutcome::Finished);
        QVERIFY(!page.engine.drawn.empty());
        for (const auto& piece : page.engine.drawn) {
            QVERIFY(piece.font.bold());
        }

        // Opening again shows the box ticked, even if it was cleared meanwhile without closing.
        window.CheckBoxBold->setChecked(false);
        window.show();
        QVERIFY(window.CheckBoxBold->isChecked());
        window.close();

        // And after a restart, read back from the settings file.
        RecordingMessages restartMessages;
        AppState restarted(folder_->path(), restartMessages, *dialogs_);
        restarted.settings = ReadSettings(folder_->path(), restartMessages, "6 Mar 2027");
        QVERIFY(restartMessages.entries.empty());
        TFormPSet reopened(restarted);
        reopened.show();
        QVERIFY(reopened.CheckBoxBold->isChecked());
        reopened.CheckBoxBold->setChecked(false);
        reopened.close();
        QVERIFY(folder_->Read("KELVOR.INI").find("BoldFont=0\r\n") != std::string::npos);
    }

    void pageSetupReportsASettingsFileItCannotWrite() {
        State().workingFolder = folder_->path() / "gone";
        TFormPSet window(State());
        window.show();
        window.CheckBoxBold->setChecked(true);
        window.close();
        QVERIFY(State().settings.BoldFont);
        QCOMPARE(messages_->entries.size(), std::size_t{1});
        QCOMPARE(messages_->entries[0].kind, RecordingMessages::Entry::Warning);
    }

    // The response table as printed: its widest lines (the extended form) are scaled to the
    // page, so the right-most column and its last digit stand on the page, on an 8 by 11 inch
    // page at 600 dots per inch as on a narrower one.
    void responseTableFitsThePageWithItsRightColumn() {
        testing::AppFixture fixture;
        QVERIFY(fixture.Parse());
        TFormResponse window(fixture.state);
        window.show();
        for (bool extended : {false, true}) {
            window.CheckBoxResponse->setChecked(extended);
            window.EditBoxFreq->setText("1k");
            window.ButtonRespClick();
            window.ButtonStoreResultClick();
        }
        const QStringList shown = window.RichEditBoxDisplay->toPlainText().split('\n');
        const QString widestRow = shown.last();
        QVERIFY(widestRow.trimmed().endsWith("E+0000")); // the extended Zout

        for (const QSize pageSize : {QSize(4800, 6600), QSize(2400, 6600)}) {
            RecordingPage page(pageSize.width(), pageSize.height(), 600);
            QPainter painter(&page);
            DrawDocumentPages(painter, *window.RichEditBoxDisplay->document(), [] { return true; });
            painter.end();
            for (const QString& wanted : {QString("Zout (ohms)"), widestRow.trimmed()}) {
                const RecordingEngine::DrawnText drawn = FindDrawn(page, wanted.right(12));
                QCOMPARE(drawn.page, 0);
                QVERIFY2(drawn.text.endsWith(wanted.right(12)), qPrintable(drawn.text));
                QVERIFY2(drawn.right <= pageSize.width(), qPrintable(QString::number(drawn.right)));
            }
        }
    }
};

} // namespace kelvor::app

KELVOR_APP_TEST_MAIN(kelvor::app::PrintingTest)
#include "printing_test.moc"
