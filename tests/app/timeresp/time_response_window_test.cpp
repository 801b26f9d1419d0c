// SPDX-License-Identifier: GPL-3.0-or-later
// The square-wave and pulse menu windows under the offscreen platform: the entry stage, the
// calculation with its progress bar and Reset, the graph parameters, the plot on the graph
// window (the renderer's picture of the kept harmonics), the gain limits, and the ways back
// through the graph window.

#include "app/common/screen_checks.h"
#include "app/graphs/graph_window.h"
#include "app/help/help_window.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/calculation_wait.h"
#include "app/support/help_opening.h"
#include "app/timeresp/pulse_window.h"
#include "app/timeresp/square_wave_window.h"
#include "render/graph_canvas.h"
#include "render/time_response_graph.h"
#include "settings/settings_file.h"
#include "timeresp/graph_gain.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace kelvor;
using Entry = testing::RecordingMessages::Entry;

class TimeResponseWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::AppFixture> fixture;
    std::unique_ptr<app::TFormVGA> graph;
    std::unique_ptr<app::TFormSqWMenu> square;
    std::unique_ptr<app::TFormPMenu> pulse;

    app::AppState& State() { return fixture->state; }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& entry : fixture->messages.entries) {
            texts.push_back(entry.text);
        }
        return texts;
    }

    // A circuit that passes nothing to its output.
    void UseOpenCircuit() {
        fixture->folder.Write("OPEN.DAT", "Open Rev. 2 7 Dec 2026\r\n\r\nNodeIn = 1 NodeOut = 2 "
                                          "NodeCom = 3\r\nR 1 3 1k\r\nR 2 3 1k\r\n");
        State().shell.DatafileName = "OPEN.DAT";
        QVERIFY(fixture->Parse());
    }

    void Calculate(app::TimeResponseMenu& menu, const char* value, QRadioButton* choice) {
        menu.show();
        menu.EditBoxValue->setText(value);
        choice->setChecked(true);
        menu.ButtonContinueOrResetClick();
        QVERIFY(testing::WaitUntilIdle([&] { return menu.Running(); }));
    }

    render::TimeResponsePlotInput ExpectedInput(const app::TimeResponseMenu& menu,
                                                const std::string& valueText) {
        render::TimeResponsePlotInput input;
        input.GraphGain = RoundedDefaultGain(menu.PlotGain());
        input.PlotGain = menu.PlotGain();
        input.GraphBoxColour = State().settings.GraphBoxColour;
        input.Bold = menu.CheckBoxBold->isChecked();
        input.ShowOriginal = menu.CheckBoxShowOrig->isChecked();
        input.ValueText = valueText;
        input.DatafileName = State().shell.DatafileName;
        input.RevisionNumber = State().circuit.RevisionNumber;
        input.TodayText = State().shell.TodayText;
        return input;
    }

    QImage Shown() {
        return graph->ImageVGA->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    }

private slots:
    void init() {
        fixture = std::make_unique<testing::AppFixture>();
        QVERIFY(fixture->Parse());
        graph = std::make_unique<app::TFormVGA>(State());
        State().windows.Use(graph.get());
        square = std::make_unique<app::TFormSqWMenu>(State());
        pulse = std::make_unique<app::TFormPMenu>(State());
        State().shell.AnalysisMode = app::AnalysisMode::SquareWave;
    }
    void cleanup() {
        square.reset();
        pulse.reset();
        graph.reset();
        fixture.reset();
    }

    void squareWaveEntryStage() {
        State().shell.ReopenSquareWave = true;
        square->show();
        QCOMPARE(square->windowTitle(), QString("        SQUAREWAVE MENU   -   HPFILTER.DAT"));
        QVERIFY(!State().shell.ReopenSquareWave);
        QCOMPARE(square->LabelSelect->text(), QString("Set Frequency and Resolution Required"));
        QCOMPARE(square->LabelSelect->x(), 230);
        QCOMPARE(square->StaticTextSqW->text(), QString("Squarewave Frequency  (Hz)   :-"));
        QCOMPARE(square->EditBoxFreq->text(), QString("  3k"));
        QCOMPARE(square->RadioGroupResolution->title(), QString("  Resolution  "));
        QVERIFY(square->RadioButtonLow->isChecked());
        QCOMPARE(square->ButtonContinueOrReset->text(), QString("Con&tinue"));
        QVERIFY(square->ButtonContinueOrReset->isVisible());
        QVERIFY(!square->ButtonPlotGraph->isVisible());
        QVERIFY(square->ButtonClose->isEnabled());
        QVERIFY(!square->EditBoxGraphGain->isVisible());
        QVERIFY(!square->RadioGroupGraphBoxColour->isVisible());
        QCOMPARE(square->EditBoxGraphGain->text(), QString(" "));
        QCOMPARE(square->ProgressBar->minimum(), 1);
        QCOMPARE(square->ProgressBar->maximum(), 65);
        QCOMPARE(square->ProgressBar->value(), 1);
        QVERIFY(!square->CheckBoxBold->isChecked());
        QVERIFY(square->CheckBoxShowOrig->isChecked());
        QCOMPARE(square->size(), QSize(732, 534));
    }

    void invalidFrequencyStaysInTheEntryStage() {
        for (const char* text : {"abc", "0", "-5"}) {
            fixture->messages.entries.clear();
            Calculate(*square, text, square->RadioButtonLow);
            QCOMPARE(Texts(), std::vector<std::string>{" Invalid Frequency Value    "});
            QCOMPARE(fixture->messages.entries[0].kind, Entry::Error);
            QVERIFY(square->ButtonContinueOrReset->isVisible());
            QCOMPARE(square->ButtonContinueOrReset->text(), QString("Con&tinue"));
            // The choices were saved before the value was checked.
            QCOMPARE(State().settings.SqFStr, std::string(text));
        }
        QVERIFY(fixture->folder.Read("KELVOR.INI").find("SqFStr=-5") != std::string::npos);
    }

    void calculationLeadsToTheGraphParameters() {
        Calculate(*square, "1k", square->RadioButtonMedium);
        QVERIFY(fixture->messages.entries.empty());
        QCOMPARE(square->Groups(), 16);
        QVERIFY(square->Table().complete);
        QCOMPARE(square->Table().Count(), 4096);
        QCOMPARE(square->Table().fundamental, 1000.0L);
        QCOMPARE(square->ProgressBar->value(), 65);
        QCOMPARE(square->LabelSelect->text(), QString("Set Graph Parameters"));
        QCOMPARE(square->LabelSelect->x(), 168);
        QVERIFY(!square->ButtonContinueOrReset->isVisible());
        QVERIFY(!square->ButtonClose->isVisible());
        QVERIFY(square->ButtonPlotGraph->isVisible());
        QVERIFY(square->EditBoxGraphGain->isVisible());
        QVERIFY(!square->EditBoxGraphGain->isReadOnly());
        QVERIFY(!square->EditBoxFreq->isEnabled());
        QVERIFY(square->RadioButtonGrey->isChecked()); // GraphBoxColour 12632256
        QCOMPARE(square->EditBoxGraphGain->text(),
                 "  " + QString::number(RoundedDefaultGain(square->DefaultGain())));
        QCOMPARE(State().settings.SqFStr, std::string("1k"));
    }

    void plotDrawsTheRenderersPictureOnTheGraphWindow() {
        Calculate(*square, "200", square->RadioButtonLow);
        square->CheckBoxBold->setChecked(true);
        square->RadioButtonBlack->setChecked(true);
        State().graph.SuperimposeArmed = true;
        square->ButtonPlotGraphClick();
        QVERIFY(testing::WaitUntilIdle([&] { return square->Plotting(); }));
        QVERIFY(graph->isVisible());
        QCOMPARE(graph->windowTitle(), QString("    SQUAREWAVE RESPONSE"));
        QCOMPARE(graph->ImageVGA->geometry(), QRect(46, 24, 643, 485));
        QVERIFY(graph->MenuFile->menuAction()->isVisible());
        QVERIFY(graph->MenuRepeat->menuAction()->isVisible());
        QVERIFY(!State().graph.SuperimposeArmed);
        QCOMPARE(State().settings.GraphBoxColour, 0);

        QImage expected = render::BlankTimeResponsePicture();
        render::DrawSquareWaveGraph(expected, ExpectedInput(*square, "200"), square->Table());
        QCOMPARE(State().graph.picture, expected);
        QCOMPARE(Shown(), expected);
    }

    void menusAreHiddenWhileTheTraceIsDrawn() {
        Calculate(*square, "1k", square->RadioButtonLow);
        bool hiddenWhileDrawing = false;
        QTimer::singleShot(0, [&] {
            hiddenWhileDrawing = !graph->MenuFile->menuAction()->isVisible() &&
                                 !graph->MenuRepeat->menuAction()->isVisible();
        });
        square->ButtonPlotGraphClick();
        QVERIFY(testing::WaitUntilIdle([&] { return square->Plotting(); }));
        QVERIFY(hiddenWhileDrawing);
        QVERIFY(graph->MenuFile->menuAction()->isVisible());
    }

    void redrawsAtAnotherGainWithoutSolving() {
        Calculate(*square, "1k", square->RadioButtonLow);
        square->ButtonPlotGraphClick();
        QVERIFY(testing::WaitUntilIdle([&] { return square->Plotting(); }));
        const QImage first = State().graph.picture;
        // With the record file gone any new solve would fail: the kept table is used.
        std::filesystem::remove(fixture->folder / "RECORDS.TMP");
        const int32_t rounded = RoundedDefaultGain(square->DefaultGain());
        square->EditBoxGraphGain->setText(QString::number(rounded + 6));
        square->ButtonPlotGraphClick();
        QVERIFY(testing::WaitUntilIdle([&] { return square->Plotting(); }));
        QVERIFY(fixture->messages.entries.empty());
        QCOMPARE(square->PlotGain(), static_cast<long double>(rounded + 6));
        QVERIFY(State().graph.picture != first);
        QImage expected = render::BlankTimeResponsePicture();
        render::DrawSquareWaveGraph(expected, ExpectedInput(*square, "1k"), square->Table());
        QCOMPARE(State().graph.picture, expected);

        // Clearing "Show Original Waveform" leaves the blue dots out.
        square->CheckBoxShowOrig->setChecked(false);
        square->ButtonPlotGraphClick();
        QVERIFY(testing::WaitUntilIdle([&] { return square->Plotting(); }));
        QCOMPARE(State().graph.picture.pixelColor(78, 103) == QColor(0, 0, 255), false);
        QCOMPARE(first.pixelColor(78, 103) == QColor(0, 0, 255) ||
                     first.pixelColor(78, 103) == QColor(0, 0, 0),
                 true);
    }

    void gainIsLimitedAroundTheDefault() {
        Calculate(*square, "1k", square->RadioButtonLow);
        const int32_t rounded = RoundedDefaultGain(square->DefaultGain());
        square->EditBoxGraphGain->setText(QString::number(rounded + 100));
        square->ButtonPlotGraphClick();
        QVERIFY(testing::WaitUntilIdle([&] { return square->Plotting(); }));
        QCOMPARE(square->EditBoxGraphGain->text(), "  " + QString::number(rounded + 40));
        QVERIFY(fixture->messages.entries.empty());

        square->EditBoxGraphGain->setText("  1.5");
        square->ButtonPlotGraphClick();
        QVERIFY(testing::WaitUntilIdle([&] { return square->Plotting(); }));
        QCOMPARE(Texts(), std::vector<std::string>{" Invalid Graph Gain Value    "});
        QCOMPARE(square->EditBoxGraphGain->text(), QString("  1.5"));
    }

    void zeroGainCircuitWarnsWith5000AndDrawsAt3000() {
        UseOpenCircuit();
        Calculate(*square, "1k", square->RadioButtonLow);
        QCOMPARE(square->EditBoxGraphGain->text(), QString("  5000"));
        square->ButtonPlotGraphClick();
        QVERIFY(testing::WaitUntilIdle([&] { return square->Plotting(); }));
        QCOMPARE(Texts(), std::vector<std::string>{
                              "Gain out of limits 5000 dB  \r\n\r\nResults may not be valid.\r\n"});
        QCOMPARE(fixture->messages.entries[0].kind, Entry::Warning);
        QCOMPARE(square->EditBoxGraphGain->text(), QString("  3000"));
        const QImage& picture = State().graph.picture;
        for (int x : {60, 300, 600}) {
            QCOMPARE(render::ValueFromColour(picture.pixelColor(x, 242)), render::kBlack);
            QCOMPARE(render::ValueFromColour(picture.pixelColor(x, 241)), render::kWhite);
        }
    }

    void resetPartWayReturnsToTheEntryStage() {
        const testing::OnFirstDisable reset(square->RadioButtonLow,
                                            [&] { square->ButtonContinueOrResetClick(); });
        square->show();
        square->EditBoxValue->setText("1k");
        square->RadioButtonHigh->setChecked(true);
        square->ButtonContinueOrResetClick();
        // Locked until the worker's end arrives.
        QVERIFY(square->Running());
        QCOMPARE(square->ButtonContinueOrReset->text(), QString("&Reset"));
        QVERIFY(!square->ButtonClose->isEnabled());
        QVERIFY(square->EditBoxFreq->isReadOnly());
        QVERIFY(!square->RadioButtonLow->isEnabled());
        QVERIFY(testing::WaitUntilIdle([&] { return square->Running(); }));
        QVERIFY(!square->Table().complete);
        QVERIFY(square->SolvedHarmonics() < 16384);
        QVERIFY(!square->ResetRequested());
        QCOMPARE(square->ProgressBar->value(), 1);
        QCOMPARE(square->ButtonContinueOrReset->text(), QString("Con&tinue"));
        QVERIFY(square->ButtonClose->isEnabled());
        QVERIFY(!square->EditBoxFreq->isReadOnly());
        QVERIFY(square->RadioButtonLow->isEnabled());
        QVERIFY(!square->ButtonPlotGraph->isVisible());

        // Continue starts again from the first harmonic and finishes.
        square->ButtonContinueOrResetClick();
        QVERIFY(testing::WaitUntilIdle([&] { return square->Running(); }));
        QVERIFY(square->Table().complete);
        QCOMPARE(square->SolvedHarmonics(), 16384);
    }

    // The inductor trace shows its boxes as the harmonics are solved, on the window thread and
    // in order: the calculation has ended when the click returns.
    void traceShowsItsBoxesWhileCalculating() {
        State().solver.Test1Trace = true;
        square->show();
        square->EditBoxValue->setText("1k");
        square->RadioButtonLow->setChecked(true);
        square->ButtonContinueOrResetClick();
        QVERIFY(!square->Running());
        QVERIFY(square->Table().complete);
        const std::vector<std::string> texts = Texts();
        // The sample has one inductor: one box per harmonic, the fundamental's first.
        QCOMPARE(texts.size(), static_cast<std::size_t>(square->Table().Count()));
        QVERIFY2(texts.front().find(" W       = ") == 0, texts.front().c_str());
    }

    void progressBarTakes64Steps() {
        std::vector<int> positions;
        connect(square->ProgressBar, &QProgressBar::valueChanged,
                [&](int value) { positions.push_back(value); });
        Calculate(*square, "1k", square->RadioButtonLow);
        QCOMPARE(positions.size(), size_t{64});
        QCOMPARE(positions.front(), 2);
        QCOMPARE(positions.back(), 65);
    }

    void closingTheGraphWindowClosesTheMenu() {
        Calculate(*square, "1k", square->RadioButtonLow);
        square->ButtonPlotGraphClick();
        QVERIFY(testing::WaitUntilIdle([&] { return square->Plotting(); }));
        QVERIFY(square->isVisible());

        // Display Again brings the menu forward; it stays open.
        graph->DisplayAgainClick();
        QVERIFY(square->isVisible());

        graph->CalculateAgainClick();
        QVERIFY(State().shell.ReopenSquareWave);
        QVERIFY(!graph->isVisible());
        QVERIFY(!square->isVisible());
        QVERIFY(std::filesystem::exists(fixture->folder / "KELVOR.BMP"));

        // Reopened, the window is at the entry stage again.
        square->show();
        QVERIFY(!State().shell.ReopenSquareWave);
        QVERIFY(square->ButtonContinueOrReset->isVisible());
        QVERIFY(!square->ButtonPlotGraph->isVisible());
        QCOMPARE(square->ProgressBar->value(), 1);
    }

    // The menu runs modally over the main window, and the graph window is used beside it: the
    // menu must not block it.
    void graphWindowIsNotBlockedByTheModalMenu() {
        QWidget mainWindow;
        mainWindow.show();
        app::TFormVGA ownedGraph(State(), &mainWindow);
        State().windows.Use(&ownedGraph);
        app::TFormSqWMenu menu(State(), &mainWindow);
        struct BlockWatch : QObject {
            int blocked = 0;
            bool eventFilter(QObject*, QEvent* event) override {
                blocked += event->type() == QEvent::WindowBlocked ? 1 : 0;
                blocked -= event->type() == QEvent::WindowUnblocked ? 1 : 0;
                return false;
            }
        } watch;
        ownedGraph.installEventFilter(&watch);
        bool shown = false;
        int blockedWhileShown = -1;
        QTimer::singleShot(0, [&] {
            menu.EditBoxFreq->setText("1k");
            menu.ButtonContinueOrResetClick();
            QVERIFY(testing::WaitUntilIdle([&] { return menu.Running(); }));
            menu.ButtonPlotGraphClick();
            QVERIFY(testing::WaitUntilIdle([&] { return menu.Plotting(); }));
            QCoreApplication::processEvents();
            shown = ownedGraph.isVisible();
            blockedWhileShown = watch.blocked;
            ownedGraph.MainMenuClick(); // closes the menu with it
        });
        menu.exec();
        QVERIFY(shown);
        QCOMPARE(blockedWhileShown, 0);
        QVERIFY(!menu.isVisible());
        State().windows.Use(graph.get());
    }

    // After Display Again the menu stands in front; Plot Graph brings the graph window back to
    // the front with the focus, for both plots.
    void plotGraphAfterDisplayAgainBringsTheGraphForward() {
        for (app::TimeResponseMenu* menu : {static_cast<app::TimeResponseMenu*>(square.get()),
                                            static_cast<app::TimeResponseMenu*>(pulse.get())}) {
            State().shell.AnalysisMode =
                menu == square.get() ? app::AnalysisMode::SquareWave : app::AnalysisMode::Pulse;
            Calculate(*menu, "1k", menu->RadioButtonLow);
            menu->ButtonPlotGraphClick();
            QVERIFY(testing::WaitUntilIdle([&] { return menu->Plotting(); }));
            graph->DisplayAgainClick();
            QVERIFY(QTest::qWaitForWindowActive(menu));
            menu->ButtonPlotGraphClick();
            QVERIFY(testing::WaitUntilIdle([&] { return menu->Plotting(); }));
            QVERIFY(QTest::qWaitForWindowActive(graph.get()));
            QCOMPARE(QApplication::activeWindow(), graph.get());
            graph->MainMenuClick();
        }
    }

    void graphWindowOfTheOtherPlotLeavesTheMenuOpen() {
        Calculate(*square, "1k", square->RadioButtonLow);
        square->ButtonPlotGraphClick();
        QVERIFY(testing::WaitUntilIdle([&] { return square->Plotting(); }));
        State().shell.AnalysisMode = app::AnalysisMode::Pulse;
        graph->MainMenuClick();
        QVERIFY(square->isVisible());
    }

    void helpPositions() {
        struct Case {
            QWidget* window;
            app::AnalysisMode mode;
            int32_t position;
        };
        for (const Case c : {Case{square.get(), app::AnalysisMode::SquareWave, 20200},
                             Case{pulse.get(), app::AnalysisMode::Pulse, 21760},
                             Case{graph.get(), app::AnalysisMode::SquareWave, 21073},
                             Case{graph.get(), app::AnalysisMode::Pulse, 21760}}) {
            State().shell.AnalysisMode = c.mode;
            c.window->show();
            const testing::HelpOpening help = testing::ReleaseF1(c.window, State());
            QCOMPARE(help.position, c.position);
            c.window->hide();
        }
    }

    // The typing limit holds what the user types; a remembered value longer than it comes back
    // whole, and the whole value is what is computed and kept.
    void typingLimitAndTheWholeRememberedValue() {
        const struct {
            app::TimeResponseMenu* menu;
            std::string* setting;
            const char* remembered;
            const char* typedOnShortValue;
        } cases[] = {
            {square.get(), &State().settings.SqFStr, "15.9155k", "  3k12345"},
            {pulse.get(), &State().settings.WidthStr, "12.345678u", "  3k1234567"},
        };
        for (const auto& entry : cases) {
            *entry.setting = "3k";
            entry.menu->show();
            entry.menu->EditBoxValue->setFocus();
            entry.menu->EditBoxValue->end(false);
            QTest::keyClicks(entry.menu->EditBoxValue, "123456789");
            QCOMPARE(entry.menu->EditBoxValue->text(), QString(entry.typedOnShortValue));
            entry.menu->ButtonCloseClick();

            *entry.setting = entry.remembered;
            entry.menu->show();
            const QString whole = "  " + QString(entry.remembered);
            QCOMPARE(entry.menu->EditBoxValue->text(), whole);
            entry.menu->EditBoxValue->setFocus();
            entry.menu->EditBoxValue->end(false);
            QTest::keyClicks(entry.menu->EditBoxValue, "9");
            QCOMPARE(entry.menu->EditBoxValue->text(), whole);
            entry.menu->ButtonCloseClick();
            QCOMPARE(*entry.setting, std::string(entry.remembered));
            QVERIFY(fixture->folder.Read("KELVOR.INI").find(entry.remembered) != std::string::npos);
        }
    }

    void pulseEntryStage() {
        State().shell.AnalysisMode = app::AnalysisMode::Pulse;
        State().shell.ReopenPulse = true;
        pulse->show();
        QCOMPARE(pulse->windowTitle(), QString("        PULSE RESPONSE MENU   -   HPFILTER.DAT"));
        QVERIFY(!State().shell.ReopenPulse);
        QCOMPARE(pulse->LabelSelect->text(),
                 QString("Set Pulse Width and Display Expansion Required"));
        QCOMPARE(pulse->LabelSelect->x(), 200);
        QCOMPARE(pulse->StaticTextPulseWidth->text(), QString("Pulse Width   (secs)     :-"));
        QCOMPARE(pulse->EditBoxPulseWidth->text(), QString("  200u"));
        QCOMPARE(pulse->RadioGroupDisplay->title(), QString(" Display Expansion "));
        QCOMPARE(pulse->RadioButtonHigh->text(), QString("   x 10"));
        QCOMPARE(pulse->RadioButtonMedium->text(), QString("    x 3"));
        QCOMPARE(pulse->RadioButtonLow->text(), QString("    x 1"));
        QVERIFY(pulse->RadioButtonLow->isChecked());
        QCOMPARE(pulse->Groups(), 8);
    }

    void pulseCalculatesAtZeroFrequencyAndEveryHarmonic() {
        State().shell.AnalysisMode = app::AnalysisMode::Pulse;
        Calculate(*pulse, "0", pulse->RadioButtonLow);
        QCOMPARE(Texts(), std::vector<std::string>{" Invalid Pulse Width Value    "});
        fixture->messages.entries.clear();

        Calculate(*pulse, "1u", pulse->RadioButtonLow);
        QVERIFY(pulse->Table().complete);
        QCOMPARE(pulse->Table().Count(), 2048);
        // 1u repeats at 10 kHz: harmonics up to 20.48 MHz.
        QCOMPARE(static_cast<double>(pulse->Table().fundamental * 2048), 20.48e6);
        QCOMPARE(pulse->ProgressBar->value(), 65);
        QCOMPARE(State().settings.WidthStr, std::string("1u"));
    }

    void pulsePlotAndItsWiderGainLimit() {
        State().shell.AnalysisMode = app::AnalysisMode::Pulse;
        Calculate(*pulse, "1m", pulse->RadioButtonMedium);
        const int32_t rounded = RoundedDefaultGain(pulse->DefaultGain());
        pulse->EditBoxGraphGain->setText(QString::number(rounded + 60));
        pulse->ButtonPlotGraphClick();
        QVERIFY(testing::WaitUntilIdle([&] { return pulse->Plotting(); }));
        QCOMPARE(pulse->EditBoxGraphGain->text(), "  " + QString::number(rounded + 50));
        QCOMPARE(graph->windowTitle(), QString("    PULSE RESPONSE"));
        render::TimeResponsePlotInput input = ExpectedInput(*pulse, "1m");
        input.GraphGain = rounded + 50;
        input.PlotGain = rounded + 50;
        QImage expected = render::BlankTimeResponsePicture();
        render::DrawPulseGraph(expected, input, pulse->Table());
        QCOMPARE(State().graph.picture, expected);

        graph->CalculateAgainClick();
        QVERIFY(State().shell.ReopenPulse);
        QVERIFY(!pulse->isVisible());
    }

    // GRAPHS.PDF is made by the build and found there by the help window's lookup when the
    // working folder has none.
    void theBuildMakesTheExampleGraphs() {
        const std::filesystem::path found = app::FindHelpFile(
            fixture->folder.path(), app::InstalledHelpFolders(), app::kGraphsDocumentName);
        QVERIFY(found.parent_path() != fixture->folder.path());
        QVERIFY(std::filesystem::is_regular_file(found));
        QFile pdf(QString::fromStdString(found.string()));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
    }

    void pulseWindowGrowsOnAWideDisplay() {
        // One eighth wider and higher at 120 dots per inch, percent 50.
        QCOMPARE(app::ScaledForDpi(740, 50, 120), 832);
        QCOMPARE(app::ScaledForDpi(568, 50, 120), 639);
        QCOMPARE(app::ScaledForDpi(740, 50, 96), 740);
        QCOMPARE(app::ScaledForDpi(740, 50, 72), 648);
        QWidget window;
        window.resize(740, 568);
        app::ScaleFormForDpi(&window, 50, 120);
        QCOMPARE(window.size(), QSize(832, 639));
    }
};

KELVOR_APP_TEST_MAIN(TimeResponseWindowTest)
#include "time_response_window_test.moc"
