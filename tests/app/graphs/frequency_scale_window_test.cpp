// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/qt_text.h"
#include "app/graphs/frequency_scale_window.h"
#include "app/graphs/graph_parameters_window.h"
#include "app/graphs/graph_window.h"
#include "app/shell/main_window.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/calculation_wait.h"
#include "app/support/help_opening.h"
#include "app/support/recording_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace kelvor;
using Entry = testing::RecordingMessages::Entry;

namespace {

// Counts the showings of a window, to prove that one never opened.
class ShowCounter : public QObject {
public:
    int shown = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            ++shown;
        }
        return false;
    }
};

} // namespace

class FrequencyScaleWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::AppFixture> fixture;
    std::unique_ptr<app::TFormFResults> parameters;
    std::unique_ptr<app::TFormFreqScales> window;

    app::GraphState& Graph() { return fixture->state.graph; }
    std::string Ini() const { return fixture->folder.Read("KELVOR.INI"); }

    struct Outcome {
        bool parametersOpened = false;
        QString parametersTitle;
        QString parametersRange;
    };

    // Presses "Con&tinue". The graph parameter window runs its own event loop when the sweep
    // finishes: it is looked for from a timer, its texts noted, and it is left again.
    Outcome Continue(const std::function<void()>& inParameters = {}) {
        Outcome outcome;
        QTimer poll;
        poll.setInterval(5);
        connect(&poll, &QTimer::timeout, [&] {
            if (parameters->isVisible() && !outcome.parametersOpened) {
                outcome.parametersOpened = true;
                outcome.parametersTitle = parameters->windowTitle();
                outcome.parametersRange = parameters->EditBoxFreqRange->text();
                if (inParameters) {
                    inParameters();
                } else {
                    parameters->done(QDialog::Accepted);
                }
            }
        });
        poll.start();
        window->ButtonContinueOrReset->click();
        if (!testing::WaitUntilIdle([&] { return window->SweepRunning(); })) {
            QTest::qFail("the sweep did not end", __FILE__, __LINE__);
        }
        poll.stop();
        return outcome;
    }

    void ShowWithScale(int fcode) {
        window->show();
        window->RadioButtons[fcode]->click();
    }

    void VerifyChoosing() {
        QCOMPARE(window->ButtonContinueOrReset->text(), QString("Con&tinue"));
        QVERIFY(window->ButtonContinueOrReset->isEnabled());
        QVERIFY(window->ButtonClose->isEnabled());
        for (QRadioButton* button : window->RadioButtons) {
            QVERIFY(button->isEnabled());
        }
        QVERIFY(window->StaticTextSF->isEnabled());
        QVERIFY(window->StaticTextEF->isEnabled());
        QVERIFY(!window->EditBoxFS->isReadOnly());
        QVERIFY(!window->EditBoxFF->isReadOnly());
        QCOMPARE(window->ProgressBar->value(), 29);
        QVERIFY(!window->SweepRunning());
    }

    bool Sweeping() const {
        bool radiosDisabled = true;
        for (QRadioButton* button : window->RadioButtons) {
            radiosDisabled = radiosDisabled && !button->isEnabled();
        }
        return window->SweepRunning() && window->ButtonContinueOrReset->text() == "&Reset" &&
               window->ButtonContinueOrReset->isEnabled() && !window->ButtonClose->isEnabled() &&
               radiosDisabled && !window->StaticTextSF->isEnabled() &&
               !window->StaticTextEF->isEnabled() && window->EditBoxFS->isReadOnly() &&
               window->EditBoxFF->isReadOnly();
    }

private slots:
    void init() {
        fixture = std::make_unique<testing::AppFixture>();
        QVERIFY(fixture->Parse());
        parameters = std::make_unique<app::TFormFResults>(fixture->state);
        window = std::make_unique<app::TFormFreqScales>(fixture->state);
        fixture->state.windows.Use(parameters.get());
        fixture->state.windows.Use(window.get());
    }
    void cleanup() {
        window.reset();
        parameters.reset();
        fixture.reset();
    }

    void buttonsCarryTheirCaptionsAndPositionsInOneGroup() {
        window->show();
        QCOMPARE(window->windowTitle(),
                 QString("        GRAPH FREQUENCY SCALES   -   HPFILTER.DAT"));
        QCOMPARE(window->size(), QSize(732, 534));
        const struct {
            int fcode;
            const char* caption;
            QPoint position;
        } cases[] = {
            {0, "  #0  ", {523, 318}},
            {1, "  #1         0.03  -  0.3Hz   ", {53, 46}},
            {8, "  #8          100  -  1kHz   ", {53, 172}},
            {21, "  #21      300M  -  3GHz   ", {53, 406}},
            {22, "  #22       0.03  -  3.0Hz   ", {288, 46}},
            {32, "  #32        0.03  -  30Hz   ", {288, 262}},
            {40, "  #40            3M  -  3GHz   ", {288, 406}},
            {41, "  #41      0.03  -  3kHz   ", {523, 46}},
            {47, "  #47        30k  -  3GHz   ", {523, 154}},
            {48, "  #48         1.0  -  1MHz", {523, 208}},
            {52, "  #52         10k  -  10GHz", {523, 280}},
        };
        for (const auto& entry : cases) {
            const QRadioButton* button = window->RadioButtons[entry.fcode];
            QCOMPARE(button->text(), QString(entry.caption));
            QCOMPARE(button->pos(), entry.position);
            QCOMPARE(button->height(), 17);
        }
        QCOMPARE(window->RadioButtons[0]->width(), 41);
        QCOMPARE(window->RadioGroup1Decade->title(), QString("  1  Decade  "));
        QCOMPARE(window->RadioGroup6Decades->title(), QString("  6 Decades  "));
        QCOMPARE(window->RadioGroup3decades->geometry(), QRect(265, 241, 200, 191));
        QCOMPARE(window->StaticTextUserDefined->text(), QString("   User Defined "));
        QCOMPARE(window->ProgressBar->geometry(), QRect(55, 488, 620, 17));
        QCOMPARE(window->ProgressBar->minimum(), 29);
        QCOMPARE(window->ProgressBar->maximum(), 636);
        QCOMPARE(window->LabelSelectFreq->text(), QString("Select Frequency Range Required"));

        // One exclusive group although the buttons sit in different frames.
        QCOMPARE(window->RadioGroupScales->buttons().size(), 53);
        window->RadioButtons[3]->click();
        window->RadioButtons[45]->click();
        QVERIFY(!window->RadioButtons[3]->isChecked());
        window->RadioButtons[0]->click();
        QCOMPARE(window->RadioGroupScales->checkedId(), 0);
        QVERIFY(!window->RadioButtons[45]->isChecked());
    }

    void showingTicksTheSettingAndFillsTheBoxes() {
        fixture->state.settings.FCode = 41;
        fixture->state.settings.FSStr = "1k";
        fixture->state.settings.FFStr = "1.59154943k"; // longer than typing allows: shown whole
        Graph().NewScale = true;
        fixture->state.shell.ReopenFreqScales = true;
        window->show();
        QVERIFY(window->RadioButtons[41]->isChecked());
        QCOMPARE(window->EditBoxFS->text(), QString("  1k"));
        QCOMPARE(window->EditBoxFF->text(), QString("  1.59154943k"));
        QVERIFY(!Graph().NewScale);
        QVERIFY(!fixture->state.shell.ReopenFreqScales);
        VerifyChoosing();
    }

    void anFCodeOutsideTheScalesIsTakenAsTheDefault() {
        for (int32_t junk : {53, -1, 2147483647}) {
            fixture->state.settings.FCode = junk;
            window->show();
            QVERIFY(window->RadioButtons[8]->isChecked());
            window->ButtonCloseClick();
            QVERIFY(!window->isVisible());
            QCOMPARE(fixture->state.settings.FCode, 8);
            QVERIFY(Ini().find("FCode=8\r\n") != std::string::npos);
        }
    }

    void closeKeepsTheChoiceWithoutSweeping() {
        ShowWithScale(30);
        window->EditBoxFS->setText("  1k  ");
        window->EditBoxFF->setText(QString(12, '9'));
        window->ButtonClose->click();
        QVERIFY(!window->isVisible());
        QCOMPARE(fixture->state.settings.FCode, 30);
        QCOMPARE(fixture->state.settings.FSStr, std::string("1k"));
        QVERIFY(Ini().find("FCode=30\r\n") != std::string::npos);
        QVERIFY(Ini().find("FSStr=1k\r\n") != std::string::npos);
        QVERIFY(Ini().find("FFStr=999999999999\r\n") != std::string::npos);
        QCOMPARE(window->LastSweptColumn(), 0);
        QVERIFY(!Graph().sweep.completed);
    }

    void escapeDoesNotLeaveTheWindow() {
        window->show();
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(window->isVisible());
    }

    void invalidUserRangesAreRefusedAfterTheChoiceIsWritten() {
        const struct {
            const char* start;
            const char* end;
        } cases[] = {
            {"1k", "1k"},          // end not above start
            {"0", "1k"},           // start not positive
            {"-5", "1k"},          // start not positive
            {"2k", "1k"},          // end below start
            {"abc", "1k"},         // unreadable start
            {"1k", "5K"},          // upper-case K is no scale letter
            {"1k", ""},            // empty end
            {"1e-4000", "1e4000"}, // a ratio beyond the extended range
        };
        for (const auto& entry : cases) {
            fixture->messages.entries.clear();
            ShowWithScale(0);
            window->EditBoxFS->setText(entry.start);
            window->EditBoxFF->setText(entry.end);
            const Outcome outcome = Continue();
            QCOMPARE(fixture->messages.entries.size(), size_t{1});
            QCOMPARE(fixture->messages.entries[0].kind, Entry::Error);
            QCOMPARE(fixture->messages.entries[0].text, std::string(" Invalid Frequencies    "));
            QVERIFY(!outcome.parametersOpened);
            QVERIFY(window->isVisible());
            VerifyChoosing();
            QCOMPARE(window->LastSweptColumn(), 0);
            QVERIFY(Ini().find("FCode=0\r\n") != std::string::npos);
            QVERIFY(Ini().find("FSStr=" + std::string(entry.start) + "\r\n") != std::string::npos);
        }
    }

    void aFullSweepOfTheSampleLeadsToTheGraphParameters() {
        ShowWithScale(8);
        std::vector<int> progress;
        const QMetaObject::Connection watch =
            connect(window->ProgressBar, &QProgressBar::valueChanged,
                    [&](int value) { progress.push_back(value); });
        bool continueDisabledAfterTheLastColumn = false;
        fixture->state.pauses.afterSweepMs = 300;
        QElapsedTimer clock;
        clock.start();
        const Outcome outcome = Continue([&] {
            continueDisabledAfterTheLastColumn = !window->ButtonContinueOrReset->isEnabled();
            parameters->done(QDialog::Accepted);
        });
        disconnect(watch);
        QVERIFY(clock.elapsed() >= 300); // the pause after the last column
        QVERIFY(outcome.parametersOpened);
        QVERIFY(continueDisabledAfterTheLastColumn);
        QCOMPARE(outcome.parametersTitle, QString("      GRAPHPLOT PARAMETERS   -   HPFILTER.DAT"));
        QCOMPARE(outcome.parametersRange, QString("   100 - 1kHz"));
        QVERIFY(!window->isVisible());
        QCOMPARE(window->LastSweptColumn(), 642);

        // Every fifth column from 30 on; column 25 shows as the 29 it already was, and 640
        // beyond the bar's end as 636.
        QCOMPARE(progress.size(), size_t{123});
        QCOMPARE(progress.front(), 30);
        QCOMPARE(progress[progress.size() - 2], 635);
        QCOMPARE(progress.back(), 636);

        const SweepResult& sweep = Graph().sweep;
        QVERIFY(sweep.completed);
        // Tolerance: the frequencies are quoted to four figures.
        QVERIFY(std::abs(sweep.Frequency[23 - 23] - 93.0L) < 0.05L);
        QVERIFY(std::abs(sweep.Frequency[44 - 23] - 101.1L) < 0.05L);
        QVERIFY(std::abs(sweep.Frequency[642 - 23] - 1104.0L) < 0.5L);
        // 100 Hz falls at column 41.2 and 1 kHz at 617.2. Below its peak the sample rises
        // steadily, and its gain at 100 Hz is -37.469 dB.
        QVERIFY(sweep.Frequency[41 - 23] < 100 && 100 < sweep.Frequency[42 - 23]);
        QVERIFY(sweep.Frequency[617 - 23] < 1000 && 1000 < sweep.Frequency[618 - 23]);
        QVERIFY(sweep.GainAt(41) < -37.469L && -37.469L < sweep.GainAt(42));
        // The lowest gain is at the first column (-39.43 dB); the peak of 1.83 dB near 375 Hz
        // rounds to 2.
        QCOMPARE(sweep.SweepMinDb, -39);
        QCOMPARE(sweep.SweepMaxDb, 2);
        QVERIFY(sweep.UserFreqLabels.empty());

        // The Datafile was new to the graphs, so the scale is new; the Last values follow it.
        QVERIFY(Graph().NewScale);
        QCOMPARE(Graph().LastFCode, 8);
        QCOMPARE(Graph().LastBaseFrequency, 30.0L);
        QCOMPARE(Graph().LastEndFrequency, 0.0L);
        QVERIFY(fixture->messages.entries.empty());
    }

    // A circuit whose output node never reaches the input: every column is the zero-output
    // gain. The graph still follows as usual, after a warning that says why it is empty.
    void anOutputThatNeverRespondsIsExplained() {
        fixture->folder.Write("OPEN.DAT", "Open Rev. 2 7 Dec 2026\r\n\r\nNodeIn = 1 NodeOut = 2 "
                                          "NodeCom = 3\r\nR 1 3 1k\r\nR 2 3 1k\r\n");
        fixture->state.shell.DatafileName = "OPEN.DAT";
        QVERIFY(fixture->Parse());
        ShowWithScale(8);
        QVERIFY(Continue().parametersOpened);
        QCOMPARE(Graph().sweep.SweepMaxDb, -50000);
        QCOMPARE(fixture->messages.entries.size(), size_t{1});
        QCOMPARE(fixture->messages.entries[0].kind, Entry::Warning);
        QVERIFY(fixture->messages.entries[0].text.find("output never responds") !=
                std::string::npos);
    }

    void aUserRangeSweepsFromStartToEnd() {
        ShowWithScale(0); // FSStr "250" and FFStr "360" by default
        const Outcome outcome = Continue();
        QVERIFY(outcome.parametersOpened);
        QCOMPARE(outcome.parametersRange, QString("   250 - 360"));
        const SweepResult& sweep = Graph().sweep;
        QVERIFY(sweep.completed);
        // Tolerance: a few units in the last place of the extended power.
        QVERIFY(std::abs(sweep.Frequency[44 - 23] / 250 - 1) < 1e-15L);
        QVERIFY(std::abs(sweep.Frequency[620 - 23] / 360 - 1) < 1e-15L);
        QVERIFY(sweep.UserFreqLabels.starts_with(" 250   "));
        QCOMPARE(Graph().LastBaseFrequency, 250.0L);
        QCOMPARE(Graph().LastEndFrequency, 360.0L);
    }

    void resetAbandonsTheSweep() {
        // A finished sweep of another scale, which the abandoned one must leave in place.
        ShowWithScale(30);
        Continue();
        QVERIFY(Graph().sweep.completed);
        const long double keptGain = Graph().sweep.GainAt(300);
        const int32_t keptMax = Graph().sweep.SweepMaxDb;
        Graph().NewScale = true; // as the graph parameter window may leave it

        auto counter = std::make_unique<ShowCounter>();
        parameters->installEventFilter(counter.get());
        ShowWithScale(8);
        Graph().NewScale = false;
        bool sweepingWhenReset = false;
        const testing::OnFirstDisable reset(window->ButtonClose, [&] {
            // Posted before the worker can post its end: seen while the window is locked.
            QTimer::singleShot(0, [&] { sweepingWhenReset = Sweeping(); });
            QTest::mouseClick(window->ButtonContinueOrReset, Qt::LeftButton);
        });
        const Outcome outcome = Continue();
        QVERIFY(sweepingWhenReset);
        QVERIFY(window->LastSweptColumn() < 642);
        QVERIFY(!outcome.parametersOpened);
        QCOMPARE(counter->shown, 0);
        QVERIFY(window->isVisible());
        VerifyChoosing();
        QVERIFY(!Graph().NewScale);
        QCOMPARE(Graph().LastFCode, 30);
        QCOMPARE(Graph().scale.FCode, 30);
        QCOMPARE(Graph().sweep.GainAt(300), keptGain);
        QCOMPARE(Graph().sweep.SweepMaxDb, keptMax);

        // The window is ready for the next sweep at once.
        const Outcome again = Continue();
        QVERIFY(again.parametersOpened);
        QCOMPARE(Graph().LastFCode, 8);
        QCOMPARE(window->LastSweptColumn(), 642);
    }

    void theSameScaleTwiceIsNoNewScale() {
        fixture->state.shell.DatafileChanged = false;
        ShowWithScale(8);
        Continue();
        QVERIFY(Graph().NewScale); // the first graph of the run
        ShowWithScale(8);
        QVERIFY(!Graph().NewScale);
        Continue();
        QVERIFY(!Graph().NewScale);

        ShowWithScale(9);
        Continue();
        QVERIFY(Graph().NewScale);

        // Back on 9, but a File/Open came in between.
        fixture->state.shell.DatafileChanged = true;
        ShowWithScale(9);
        Continue();
        QVERIFY(Graph().NewScale);
    }

    void aUserRangeIsNewWhenOnlyItsEndChanges() {
        fixture->state.shell.DatafileChanged = false;
        ShowWithScale(0);
        Continue();
        ShowWithScale(0);
        Continue();
        QVERIFY(!Graph().NewScale);
        ShowWithScale(0);
        window->EditBoxFF->setText("361");
        Continue();
        QVERIFY(Graph().NewScale);
        QCOMPARE(Graph().LastEndFrequency, 361.0L);
    }

    void aMissingRecordFileEndsTheSweepWithItsMessage() {
        std::filesystem::remove(fixture->folder / "RECORDS.TMP");
        ShowWithScale(8);
        const Outcome outcome = Continue();
        QVERIFY(!outcome.parametersOpened);
        QCOMPARE(fixture->messages.entries.size(), size_t{1});
        QCOMPARE(fixture->messages.entries[0].kind, Entry::Error);
        QVERIFY(fixture->messages.entries[0].text.find("RECORDS.TMP") != std::string::npos);
        QVERIFY(window->isVisible());
        VerifyChoosing();
        QCOMPARE(Graph().LastFCode, -1);
    }

    void f1OpensHelpAtTheAmplitudeTopic() {
        window->show();
        const testing::HelpOpening help = testing::ReleaseF1(window.get(), fixture->state);
        QCOMPARE(help.position, 16807);
        QVERIFY(help.shown);
    }
};

// The Graphs menu of the main window leads here, and "&Calculate Again" comes back here
// through the main window's next repaint.
class AmplitudeMenuTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::TempFolder> folder;
    std::unique_ptr<testing::RecordingMessages> messages;
    testing::RecordingDialogs dialogs;
    std::unique_ptr<app::AppState> state;
    std::unique_ptr<app::TFormMain> window;

    QAction* GraphsItem(const QString& caption) {
        for (QAction* top : window->menuBar()->actions()) {
            if (top->text() == " &Graphs ") {
                for (QAction* item : top->menu()->actions()) {
                    if (item->text() == caption) {
                        return item;
                    }
                }
            }
        }
        return nullptr;
    }

    // Notes the title of the frequency scale window when it opens, and leaves it through its
    // Close button.
    QString ModalTitleDuring(const std::function<void()>& command) {
        QString title;
        QTimer poll;
        poll.setInterval(5);
        connect(&poll, &QTimer::timeout, [&] {
            if (state->windows.Get<app::TFormFreqScales>().isVisible() && title.isEmpty()) {
                title = state->windows.Get<app::TFormFreqScales>().windowTitle();
                state->windows.Get<app::TFormFreqScales>().ButtonClose->click();
            }
        });
        poll.start();
        command();
        (void)QTest::qWaitFor([&] { return !title.isEmpty(); }, 2000);
        poll.stop();
        return title;
    }

private slots:
    void init() {
        folder = std::make_unique<testing::TempFolder>();
        messages = std::make_unique<testing::RecordingMessages>();
        folder->Write("HPFILTER.DAT", SampleDatafileText("1 Jan 2026"));
        state = std::make_unique<app::AppState>(folder->path(), *messages, dialogs);
        state->pauses.afterSweepMs = 0;
        window = std::make_unique<app::TFormMain>(*state);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        messages->entries.clear();
    }
    void cleanup() {
        window.reset();
        state.reset();
        messages.reset();
        folder.reset();
    }

    void amplitudeOpensTheFrequencyScalesInMode4() {
        QVERIFY(GraphsItem("&Amplitude ...")->isEnabled());
        QVERIFY(GraphsItem("&SquareWave ...")->isEnabled());
        QVERIFY(GraphsItem("&Pulse ...")->isEnabled());
        QVERIFY(state->windows.Has<app::TFormFreqScales>());
        QVERIFY(state->windows.Has<app::TFormFResults>());
        window->GraphsMenuShow();
        const QString title = ModalTitleDuring([&] { GraphsItem("&Amplitude ...")->trigger(); });
        QCOMPARE(title, QString("        GRAPH FREQUENCY SCALES   -   HPFILTER.DAT"));
        QCOMPARE(state->shell.AnalysisMode, app::AnalysisMode::Amplitude);
        QVERIFY(messages->entries.empty());
    }

    void theWholeChainEndsWithTheGraphShown() {
        QVERIFY(state->windows.Has<app::TFormVGA>());
        window->GraphsMenuShow();
        // Each window runs its own event loop; each timer presses that window's Continue.
        QTimer scales;
        scales.setInterval(5);
        connect(&scales, &QTimer::timeout, [&] {
            if (state->windows.Get<app::TFormFreqScales>().isVisible() &&
                !state->windows.Get<app::TFormFreqScales>().SweepRunning()) {
                scales.stop();
                state->windows.Get<app::TFormFreqScales>().ButtonContinueOrReset->click();
            }
        });
        QTimer parameters;
        parameters.setInterval(5);
        connect(&parameters, &QTimer::timeout, [&] {
            if (state->windows.Get<app::TFormFResults>().isVisible()) {
                parameters.stop();
                state->windows.Get<app::TFormFResults>().ButtonContinue->click();
            }
        });
        scales.start();
        parameters.start();
        GraphsItem("&Amplitude ...")->trigger();
        QVERIFY(!scales.isActive());
        QVERIFY(!parameters.isActive());
        QVERIFY(!state->windows.Get<app::TFormFreqScales>().isVisible());
        QVERIFY(!state->windows.Get<app::TFormFResults>().isVisible());
        QVERIFY(state->windows.Get<app::TFormVGA>().isVisible());
        QVERIFY(!state->graph.picture.isNull());
        QVERIFY(state->graph.sweep.completed);
        QVERIFY(messages->entries.empty());
        state->windows.Get<app::TFormVGA>().close();
    }

    void aDatafileThatFailsTheParseIsNotSwept() {
        folder->Write("HPFILTER.DAT", "nonsense\r\n");
        window->GraphsMenuShow();
        QCOMPARE(messages->entries.size(), size_t{1});
        QCOMPARE(messages->entries[0].text, std::string("\r\nCannot Run  -  Error in Datafile  "));
        auto counter = std::make_unique<ShowCounter>();
        state->windows.Get<app::TFormFreqScales>().installEventFilter(counter.get());
        GraphsItem("&Amplitude ...")->trigger();
        QCOMPARE(counter->shown, 0);
    }

    void theNextRepaintReopensTheFrequencyScales() {
        state->shell.ReopenFreqScales = true;
        const QString title = ModalTitleDuring([&] { window->update(); });
        QCOMPARE(title, QString("        GRAPH FREQUENCY SCALES   -   HPFILTER.DAT"));
        QVERIFY(!state->shell.ReopenFreqScales);

        // Once it is cleared, repaints open nothing.
        auto counter = std::make_unique<ShowCounter>();
        state->windows.Get<app::TFormFreqScales>().installEventFilter(counter.get());
        window->repaint();
        QTest::qWait(50);
        QCOMPARE(counter->shown, 0);
    }
};

namespace {

int RunTests(int argc, char** argv) {
    QApplication application(argc, argv);
    int failures = 0;
    {
        FrequencyScaleWindowTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        AmplitudeMenuTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    return failures;
}

} // namespace

KELVOR_APP_TEST_RUN(RunTests)

#include "frequency_scale_window_test.moc"
