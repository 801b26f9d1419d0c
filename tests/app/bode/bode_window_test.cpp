// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bode/bode_window.h"

#include "app/common/file_paths.h"
#include "app/printing/print_target.h"
#include "app/support/app_fixture.h"
#include "app/support/help_opening.h"
#include "circuit/sample_datafile.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

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
        QTest::mouseClick(window->Plot, Qt::LeftButton, {}, InsidePlot(0.25));
        QCOMPARE(window->pinnedMarkers().size(), std::size_t{1});
        QCOMPARE(MarkerNames().last(), QString("M1"));
        window->TableMarkers->selectRow(automatic);
        window->ButtonRemoveMarker->click();
        QVERIFY(window->pinnedMarkers().empty());
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
        QTimer::singleShot(0, window.get(), [this] { window->ButtonCancel->click(); });
        window->ButtonCompute->click();
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
        const auto& plotted = window->Plot->traces();
        QVERIFY(plotted[0].curve.gain.back() != plotted[1].curve.gain.back());
        const std::size_t points = window->traces().current().curve.size();

        fixture->folder.Write("HPFILTER.DAT", "bad\r\n");
        window->ButtonCompute->click();
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

    void invalidRangeIsRefused() {
        SetRange("1k", "1k", 100);
        window->ButtonCompute->click();
        QCOMPARE(fixture->messages.entries.size(), std::size_t{1});
        QCOMPARE(fixture->messages.entries[0].text, std::string(" Invalid Frequencies    "));
    }

    void keepAndAddDatafileOverlayTheirCurves() {
        window->ButtonKeep->click();
        fixture->folder.Write("RC.DAT", "   RC_Low_Pass   Rev. 1   7 Dec 2026\r\n\r\n"
                                        "   NodeIn = 1   NodeOut = 2   NodeCom = 3\r\n\r\n"
                                        "   R  1 2   1k\r\n   C  2 3   159.15nF\r\n");
        ChooseFile(fixture->folder / "RC.DAT");
        window->ButtonAddDatafile->click();
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

    void exportsCsvSvgAndPdf() {
        const auto csv = fixture->folder / "bode.csv";
        ChooseFile(csv);
        window->ButtonExportCsv->click();
        const std::string text = fixture->folder.Read("bode.csv");
        // The header and every point of the curve.
        QCOMPARE(std::count(text.begin(), text.end(), '\n'),
                 static_cast<long>(window->traces().current().curve.size()) + 1);

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

    void printsThroughThePrintPath() {
        const auto pdf = fixture->folder / "BODE.pdf";
        fixture->dialogs.pdfFile = app::PathToQt(pdf);
        window->ButtonPrintClick();
        QVERIFY(fixture->folder.Read("BODE.pdf").rfind("%PDF-", 0) == 0);
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

QTEST_MAIN(BodeWindowTest)
#include "bode_window_test.moc"
