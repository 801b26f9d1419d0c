// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bode/bode_window.h"

#include "app/common/file_paths.h"
#include "app/printing/print_target.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/calculation_wait.h"
#include "app/support/help_opening.h"
#include "bode/bode_curve.h"
#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QTest>

using namespace kelvor;

class BodeWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::AppFixture> fixture;
    std::unique_ptr<app::TFormBode> window;

    void SetRange(const char* start, const char* end, int perDecade) {
        window->EditBoxStart->setText(start);
        window->EditBoxEnd->setText(end);
        window->SpinBoxPointsPerDecade->setValue(perDecade);
    }
    // The file dialogs answer with this file.
    void ChooseFile(const std::filesystem::path& path) {
        fixture->dialogs.fileToRead = app::PathToQt(path);
        fixture->dialogs.fileToWrite = app::PathToQt(path);
    }
    QStringList MarkerNames() const {
        QStringList names;
        for (int row = 0; row < window->TableMarkers->rowCount(); ++row) {
            names << window->TableMarkers->item(row, 0)->text();
        }
        return names;
    }
    // A point inside the top plot, at a fraction of its width.
    QPoint InsidePlot(double across) const {
        QCPAxisRect* rect = window->Plot->axisRects().front();
        return {rect->left() + static_cast<int>(across * rect->width()),
                rect->top() + rect->height() / 2};
    }

private slots:
    void init() {
        fixture = std::make_unique<testing::AppFixture>();
        QVERIFY(fixture->Parse());
        window = std::make_unique<app::TFormBode>(fixture->state);
        window->resize(1000, 700);
        SetRange("10", "100k", 100);
        window->ShowForCurrentDatafile();
        QVERIFY(testing::WaitUntilIdle([&] { return window->Computing(); }));
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        // The plots are laid out when they are drawn, once the events have run.
        QTRY_VERIFY(window->Plot->axisRects().front()->width() > 0);
    }
    void cleanup() {
        window.reset();
        fixture.reset();
    }

    // The readout names the computed point nearest the mouse, and its values are the solver's.
    void readoutFollowsTheMouse() {
        // The grid's 401 points and more where the resonance bends.
        QVERIFY(window->traces().current().curve.size() > std::size_t{401});
        QTest::mouseMove(window->Plot, InsidePlot(0.5));
        const QString readout = window->LabelReadout->text();
        const QRegularExpression pattern("^f (\\S+) (\\S*)Hz +Gain (\\S+) dB +Phase (\\S+)");
        const auto match = pattern.match(readout);
        QVERIFY2(match.hasMatch(), qPrintable(readout));
        // Half-way across 10 Hz .. 100 kHz is 1 kHz.
        QCOMPARE(match.captured(1) + match.captured(2), QString("1.0000k"));
        // The sample circuit at 1 kHz: -0.6045 dB, 42.03 degrees (published to 4 digits).
        QVERIFY2(qAbs(match.captured(3).toDouble() + 0.6045) < 1e-4, qPrintable(readout));
        QVERIFY2(qAbs(match.captured(4).toDouble() - 42.03) < 1e-2, qPrintable(readout));
    }

    void clickPinsAMarkerThatCanBeRemoved() {
        const int automatic = window->TableMarkers->rowCount();
        QVERIFY(MarkerNames().contains("Peak gain"));
        // A marker adds a line to each plot and a label to the top one; the curves stay.
        const QPointer<QCPGraph> curve = window->Plot->graph(0);
        const int items = window->Plot->itemCount();
        const int plots = window->Plot->axisRectCount();
        QTest::mouseClick(window->Plot, Qt::LeftButton, {}, InsidePlot(0.25));
        QCOMPARE(window->pinnedMarkers().size(), std::size_t{1});
        QCOMPARE(MarkerNames().last(), QString("M1"));
        QVERIFY(!curve.isNull());
        QCOMPARE(window->Plot->itemCount(), items + plots + 1);
        window->TableMarkers->selectRow(automatic);
        window->ButtonRemoveMarker->click();
        QVERIFY(window->pinnedMarkers().empty());
        QCOMPARE(window->Plot->itemCount(), items);
        window->CheckBoxAutoMarkers->click();
        QCOMPARE(window->TableMarkers->rowCount(), 0);
    }

    void cancelKeepsTheCurvesAsTheyWere() {
        // A 40-section RC ladder over 27 decades at 2000 per decade: the first event slice, and
        // with it the Cancel, comes long before the end.
        std::string ladder = "Ladder Rev. 1 7 Dec 2026\r\n\r\nNodeIn = 1 NodeOut = 41 "
                             "NodeCom = 42\r\n\r\n";
        for (int node = 1; node <= 40; ++node) {
            ladder += "R " + std::to_string(node) + " " + std::to_string(node + 1) + " 1k\r\n";
            ladder += "C " + std::to_string(node + 1) + " 42 1n\r\n";
        }
        fixture->folder.Write("HPFILTER.DAT", ladder);
        SetRange("1p", "1000000G", 2000);
        const std::size_t points = window->traces().current().curve.size();
        const testing::OnFirstDisable cancel(window->ButtonCompute,
                                             [this] { window->ButtonCancelClick(); });
        window->ButtonCompute->click();
        QVERIFY(testing::WaitUntilIdle([&] { return window->Computing(); }));
        QCOMPARE(window->traces().current().curve.size(), points);
        QCOMPARE(window->ProgressBar->value(), 0);
        QVERIFY(window->LabelReadout->text().startsWith("Cancelled"));
        QVERIFY(window->ButtonCompute->isEnabled());
        QVERIFY(!window->ButtonCancel->isEnabled());
    }

    // Compute reads the Datafile as it is now: an edit counts, a broken Datafile is refused.
    void computeReadsTheDatafileAfresh() {
        window->ButtonKeep->click();
        std::string text = SampleDatafileText(fixture->state.shell.TodayText);
        text.replace(text.find("8.0"), 3, "16");
        fixture->folder.Write("HPFILTER.DAT", text);
        window->ButtonCompute->click();
        QVERIFY(testing::WaitUntilIdle([&] { return window->Computing(); }));
        const auto& plotted = window->Plot->traces();
        QVERIFY(plotted[0].curve.gain.back() != plotted[1].curve.gain.back());
        const std::size_t points = window->traces().current().curve.size();

        fixture->folder.Write("HPFILTER.DAT", "bad\r\n");
        window->ButtonCompute->click();
        QVERIFY(testing::WaitUntilIdle([&] { return window->Computing(); }));
        QCOMPARE(fixture->messages.entries.back().text,
                 std::string("\r\nCannot Run  -  Error in Datafile  "));
        QCOMPARE(window->traces().current().curve.size(), points);
    }

    // Zooming changes the view only; Refine computes the visible range with as many points as
    // the whole range had: a quarter of the decades at four times the density.
    void refineComputesTheVisibleRange() {
        window->Plot->setFrequencyView(QCPRange(100, 1000));
        const BodeCurve& whole = window->traces().current().curve;
        const auto shown = std::count_if(whole.frequency.begin(), whole.frequency.end(),
                                         [](long double f) { return f >= 100 && f <= 1000; });
        window->ButtonRefine->click();
        QVERIFY(testing::WaitUntilIdle([&] { return window->Computing(); }));
        QCOMPARE(window->SpinBoxPointsPerDecade->value(), 400);
        const BodeCurve& refined = window->traces().current().curve;
        QVERIFY(refined.size() >= std::size_t{401});
        QVERIFY(static_cast<long>(refined.size()) > shown);
        QCOMPARE(static_cast<double>(refined.frequency.front()), 100.0);
        QCOMPARE(static_cast<double>(refined.frequency.back()), 1000.0);
        QCOMPARE(window->Plot->frequencyView().lower, 100.0);
        window->ButtonFit->click();
        QCOMPARE(window->Plot->frequencyView().upper, 1000.0);
    }

    // Each refusal names the box and the reason, and computes nothing.
    void badRangesAreRefusedByBoxAndReason() {
        const struct {
            const char* start;
            const char* end;
            int perDecade;
            const char* message;
        } cases[] = {
            {"1k", "1k", 100, "End (Hz): must be above the start"},
            {"1k", "fast", 100, "End (Hz): \"fast\" is not a frequency"},
            {"1x", "1k", 100, "Start (Hz): \"1x\" is not a frequency"},
            {"0", "1k", 100, "Start (Hz): must be above 0"},
            {"1e-20", "1e20", 100, "End (Hz): the range may span at most 30 decades"},
            {"10", "100k", 2001, "Points per decade: 2001 is outside 1 to 2000"},
        };
        const std::size_t computed = window->traces().current().curve.size();
        for (const auto& bad : cases) {
            fixture->messages.entries.clear();
            SetRange(bad.start, bad.end, bad.perDecade);
            window->ButtonCompute->click();
            QVERIFY(testing::WaitUntilIdle([&] { return window->Computing(); }));
            QCOMPARE(fixture->messages.entries.size(), std::size_t{1});
            QVERIFY2(fixture->messages.entries[0].text.rfind(bad.message, 0) == 0,
                     fixture->messages.entries[0].text.c_str());
            QCOMPARE(window->traces().current().curve.size(), computed);
        }
    }

    void keepAndAddDatafileOverlayTheirCurves() {
        window->ButtonKeep->click();
        fixture->folder.Write("RC.DAT", "   RC_Low_Pass   Rev. 1   7 Dec 2026\r\n\r\n"
                                        "   NodeIn = 1   NodeOut = 2   NodeCom = 3\r\n\r\n"
                                        "   R  1 2   1k\r\n   C  2 3   159.15nF\r\n");
        ChooseFile(fixture->folder / "RC.DAT");
        window->ButtonAddDatafile->click();
        QVERIFY(testing::WaitUntilIdle([&] { return window->Computing(); }));
        QVERIFY2(fixture->messages.entries.empty(),
                 fixture->messages.entries.empty() ? ""
                                                   : fixture->messages.entries[0].text.c_str());
        const auto& plotted = window->Plot->traces();
        QCOMPARE(plotted.size(), std::size_t{3});
        QVERIFY(plotted[1].title.endsWith("(kept 1)"));
        QCOMPARE(plotted[2].title, QString("RC_Low_Pass"));
        QVERIFY(plotted[2].curve.size() >= std::size_t{401});
        QCOMPARE(window->ListTraces->count(), 3);

        window->ListTraces->item(1)->setCheckState(Qt::Unchecked);
        QVERIFY(!window->Plot->traces()[1].visible);
        window->ListTraces->setCurrentRow(1);
        window->ButtonRemoveTrace->click();
        QCOMPARE(window->Plot->traces().size(), std::size_t{2});
    }

    // Step... lays one curve per value over the Datafile's, each the curve of the Datafile
    // written with that value by hand, and lists each one's markers.
    void stepOverlaysOneCurvePerValue() {
        SetRange("10", "10k", 20);
        fixture->dialogs.step = StepRequest{{9, 1}, {4, 16}};
        window->ButtonStep->click();
        QVERIFY(testing::WaitUntilIdle([&] { return window->Computing(); }));
        QVERIFY2(fixture->messages.entries.empty(),
                 fixture->messages.entries.empty() ? ""
                                                   : fixture->messages.entries[0].text.c_str());
        QCOMPARE(fixture->dialogs.offeredStepLines.size(), std::size_t{5});
        const auto& plotted = window->Plot->traces();
        QCOMPARE(plotted.size(), std::size_t{3});
        const char* values[] = {"4", "16"};
        for (int index = 0; index < 2; ++index) {
            QCOMPARE(plotted[index + 1].title, QString("R 2 5 = ") + values[index]);
            std::string byHand = SampleDatafileText(fixture->state.shell.TodayText);
            byHand.replace(byHand.find("R  2 5       8.0"), 16,
                           std::string("R  2 5       ") + values[index]);
            CircuitState state;
            ParseOutcome outcome = ParseDatafileText(byHand, state, fixture->state.shell.TodayText);
            QVERIFY(outcome.ok);
            ResponseSolver solver;
            const BodeCurve separate =
                ComputeBodeCurve(MakeLoadedCircuit(std::move(outcome.records), state),
                                 plotted[index + 1].curve.frequency, solver, fixture->messages)
                    .curve;
            QVERIFY(plotted[index + 1].curve.gain == separate.gain);
            QVERIFY(plotted[index + 1].curve.phase == separate.phase);
            QVERIFY(MarkerNames().filter(QString("[R 2 5 = ") + values[index] + "]").size() > 0);
        }
        // Another step replaces the earlier one.
        fixture->dialogs.step = StepRequest{{7, 1}, {0.1L}};
        window->ButtonStep->click();
        QVERIFY(testing::WaitUntilIdle([&] { return window->Computing(); }));
        QCOMPARE(window->Plot->traces().size(), std::size_t{2});
    }

    void exportsCsvSvgAndPdf() {
        const auto csv = fixture->folder / "bode.csv";
        ChooseFile(csv);
        window->ButtonExportCsv->click();
        const std::string text = fixture->folder.Read("bode.csv");
        // Comments, the header and every point of the curve.
        QCOMPARE(std::count(text.begin(), text.end(), '\n'),
                 static_cast<long>(3 + 1 + window->traces().current().curve.size()));

        const auto svg = fixture->folder / "bode.svg";
        ChooseFile(svg);
        window->ButtonExportPicture->click();
        QSvgRenderer renderer(app::PathToQt(svg));
        QVERIFY(renderer.isValid());
        QVERIFY(fixture->folder.Read("bode.svg").find("Gain (dB)") != std::string::npos);

        ChooseFile(fixture->folder / "bode.pdf");
        window->ButtonExportPicture->click();
        const std::string pdf = fixture->folder.Read("bode.pdf");
        QVERIFY(pdf.rfind("%PDF-", 0) == 0);
        // The trailer points at the cross-reference table.
        const auto start = pdf.rfind("startxref");
        QVERIFY(start != std::string::npos);
        const long offset = std::stol(pdf.substr(start + 9));
        QCOMPARE(pdf.substr(static_cast<std::size_t>(offset), 4), std::string("xref"));
        QVERIFY(fixture->messages.entries.empty());

        // An existing file is replaced only when the user agrees.
        fixture->folder.Write("bode.csv", "mine");
        ChooseFile(csv);
        fixture->messages.answers.push_back(kelvor::Answer::No);
        window->ButtonExportCsv->click();
        QCOMPARE(fixture->folder.Read("bode.csv"), std::string("mine"));
        QCOMPARE(fixture->messages.entries.size(), std::size_t{1});
    }

    // The printed page reads: title, Datafile, date and markers are there as text, and no word
    // is enormous or off the page (pdftotext gives each word's box in points).
    void printedPageReads() {
        const auto pdf = fixture->folder / "BODE.pdf";
        fixture->dialogs.pdfFile = app::PathToQt(pdf);
        window->ButtonPrintClick();
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-bbox", app::PathToQt(pdf), "-"});
        QVERIFY(pdftotext.waitForFinished(10000));
        const QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());
        const QRegularExpression pagePattern(R"re(<page width="([\d.]+)" height="([\d.]+)")re");
        const auto pageMatch = pagePattern.match(html);
        QVERIFY2(pageMatch.hasMatch(), qPrintable(html.left(400)));
        const double pageWidth = pageMatch.captured(1).toDouble();
        const double pageHeight = pageMatch.captured(2).toDouble();
        QStringList words;
        const QRegularExpression wordPattern(
            R"re(<word xMin="([\d.-]+)" yMin="([\d.-]+)" xMax="([\d.-]+)" yMax="([\d.-]+)">([^<]*)</word>)re");
        for (auto it = wordPattern.globalMatch(html); it.hasNext();) {
            const auto word = it.next();
            const double xMin = word.captured(1).toDouble(), yMin = word.captured(2).toDouble();
            const double xMax = word.captured(3).toDouble(), yMax = word.captured(4).toDouble();
            QVERIFY2(xMin >= 0 && yMin >= 0 && xMax <= pageWidth && yMax <= pageHeight,
                     qPrintable(word.captured(5)));
            // The text's size is the box's smaller side: an axis title stands on its end.
            QVERIFY2(std::min(yMax - yMin, xMax - xMin) < pageHeight / 20,
                     qPrintable(word.captured(5)));
            words << word.captured(5);
        }
        const QString text = words.join(' ');
        QVERIFY(text.contains(QString::fromStdString(fixture->state.shell.TodayText)));
        QVERIFY(text.contains("HPFILTER.DAT"));
        QVERIFY(text.contains("Peak gain"));
        QCoreApplication::processEvents(); // the plots are laid out again for the screen
        int labels = 0;
        for (QCPAxisRect* rect : window->Plot->axisRects()) {
            for (QCPAxis* axis : rect->axes()) {
                if (!axis->visible() || !axis->tickLabels()) {
                    continue;
                }
                for (const QString& label : axis->tickVectorLabels()) {
                    const QString spaced = label.simplified();
                    QVERIFY2(text.contains(spaced), qPrintable(spaced));
                    ++labels;
                }
            }
        }
        QVERIFY(labels > 10);
    }

    // Marker labels never print over each other or the legend, however close the markers are;
    // the phase axis keeps at least three labels on a span of a few degrees.
    void labelsStayReadable() {
        std::vector<plot::PlotMarker> markers;
        for (int index = 0; index < 12; ++index) {
            markers.push_back({5000 * (1 + 0.008 * index), QString("Marker %1").arg(index)});
        }
        markers.push_back({5.48e3, "Near the legend"});
        window->Plot->setMarkers(markers);
        window->Plot->setFrequencyView(QCPRange(5e3, 5.5e3)); // a few degrees of phase
        window->Plot->replot();
        std::vector<QRectF> boxes;
        for (int index = 0; index < window->Plot->itemCount(); ++index) {
            auto* label = qobject_cast<QCPItemText*>(window->Plot->item(index));
            if (label != nullptr && label->visible()) {
                boxes.push_back(
                    QRectF(label->topLeft->pixelPosition(), label->bottomRight->pixelPosition()));
            }
        }
        QVERIFY(boxes.size() >= 4);
        const QRect legend =
            window->Plot->axisRects().front()->insetLayout()->elementAt(0)->outerRect();
        for (std::size_t a = 0; a < boxes.size(); ++a) {
            QVERIFY2(!boxes[a].intersects(legend), qPrintable(QString::number(a)));
            for (std::size_t b = a + 1; b < boxes.size(); ++b) {
                QVERIFY2(!boxes[a].intersects(boxes[b]),
                         qPrintable(QString("%1 and %2").arg(a).arg(b)));
            }
        }
        QCPAxis* phase = window->Plot->axisRects()[1]->axis(QCPAxis::atLeft);
        QVERIFY2(phase->range().size() < 20, qPrintable(QString::number(phase->range().size())));
        QVERIFY(phase->tickVectorLabels().size() >= 3);
    }

    // A dark desktop theme gives a dark plot with light text, and the plots redraw at once.
    void followsTheDarkPalette() {
        QPalette dark;
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        dark.setColor(QPalette::Window, QColor(45, 45, 45));
        dark.setColor(QPalette::Text, QColor(230, 230, 230));
        dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
        window->setPalette(dark);
        QCoreApplication::processEvents(); // the plots are drawn when the events run
        const QImage picture = window->Plot->grab().toImage();
        QCPAxisRect* top = window->Plot->axisRects().front();
        // Outside the axes: the background; on the left axis line: the text colour.
        QCOMPARE(picture.pixelColor(2, 2), QColor(30, 30, 30));
        const QPoint onAxis(top->left(), top->center().y());
        const double ratio = picture.devicePixelRatio();
        QVERIFY(picture.pixelColor((QPointF(onAxis) * ratio).toPoint()).lightness() > 200);
    }

    void f1OpensTheBodeTopic() {
        const testing::HelpOpening opening = testing::ReleaseF1(window.get(), fixture->state);
        QCOMPARE(opening.position, 33844);
    }
};

KELVOR_APP_TEST_MAIN(BodeWindowTest)
#include "bode_window_test.moc"
