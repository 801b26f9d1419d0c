// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/qt_text.h"
#include "app/graphs/frequency_scale_window.h"
#include "app/graphs/graph_parameters_window.h"
#include "app/graphs/graph_window.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/calculation_wait.h"
#include "app/support/help_opening.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace kelvor;
using Entry = testing::RecordingMessages::Entry;

class GraphParametersWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::AppFixture> fixture;
    std::unique_ptr<app::TFormFResults> window;

    app::GraphState& Graph() { return fixture->state.graph; }
    std::string Ini() const { return fixture->folder.Read("KELVOR.INI"); }

    void WriteIni(int32_t graphScale, int32_t graphTop) {
        fixture->folder.Write("KELVOR.INI",
                              "[Parameters]\r\nDatafilename=HPFILTER.DAT\r\nGraphScale=" +
                                  std::to_string(graphScale) +
                                  "\r\nGraphTop=" + std::to_string(graphTop) + "\r\n");
    }

    void ShowAfterSweep(int32_t minDb, int32_t maxDb, bool newCircuit) {
        Graph().sweep.SweepMinDb = minDb;
        Graph().sweep.SweepMaxDb = maxDb;
        fixture->state.shell.DatafileChanged = newCircuit;
        window->hide();
        window->show();
    }

    QStringList SelectedSpans() const {
        QStringList spans;
        for (const QListWidgetItem* item : window->ListBoxGraphScale->selectedItems()) {
            spans << item->text();
        }
        return spans;
    }

    void SelectSpan(int32_t span) {
        const QList<QListWidgetItem*> found =
            window->ListBoxGraphScale->findItems("   " + QString::number(span), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        window->ListBoxGraphScale->setCurrentItem(found.front());
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& entry : fixture->messages.entries) {
            texts.push_back(entry.text);
        }
        return texts;
    }

    // A picture that holds a curve, as the graph window leaves it.
    static QImage DrawnPicture() {
        QImage picture(703, 531, QImage::Format_RGB32);
        picture.fill(Qt::white);
        picture.setPixel(100, 59, qRgb(0, 0, 0));
        return picture;
    }

private slots:
    void init() {
        fixture = std::make_unique<testing::AppFixture>();
        QVERIFY(fixture->Parse());
        Graph().scale = SetupFrequencyScale(8, 0, 0);
        window = std::make_unique<app::TFormFResults>(fixture->state);
        fixture->state.windows.Use(window.get());
    }
    void cleanup() {
        window.reset();
        fixture.reset();
    }

    void showsTheFactsAndTheList() {
        Graph().SuperimposeArmed = true; // creation disarms it
        window = std::make_unique<app::TFormFResults>(fixture->state);
        QVERIFY(!Graph().SuperimposeArmed);
        ShowAfterSweep(-47, 3, false);
        QCOMPARE(window->windowTitle(), QString("      GRAPHPLOT PARAMETERS   -   HPFILTER.DAT"));
        QCOMPARE(window->size(), QSize(732, 534));
        QCOMPARE(window->EditBoxMaxdB->text(), QString("   3 dB"));
        QCOMPARE(window->EditBoxMindB->text(), QString("   -47 dB"));
        QCOMPARE(window->EditBoxFreqRange->text(), QString("   100 - 1kHz"));
        QVERIFY(window->EditBoxFreqRange->isReadOnly());
        QCOMPARE(window->ListBoxGraphScale->count(), 30);
        QCOMPARE(window->ListBoxGraphScale->item(0)->text(), QString("   5"));
        QCOMPARE(window->ListBoxGraphScale->item(20)->text(), QString("   125"));
        QCOMPARE(window->ListBoxGraphScale->item(29)->text(), QString("   300"));
        QVERIFY(window->CheckBoxGridLines->isChecked()); // ticked at start
        QVERIFY(!window->CheckBoxSuperimpose->isChecked());
        QCOMPARE(window->StaticTextGridLines->text(), QString("Grid Lines        : -"));
        // No new circuit: the settings' defaults, span 25 and top 0.
        QCOMPARE(SelectedSpans(), QStringList{"   25"});
        QCOMPARE(window->EditBoxTop->text(), QString("    0"));
        // Showing reads the settings file and writes it back.
        QVERIFY(Ini().find("GraphScale=25\r\n") != std::string::npos);
    }

    void proposesAScaleForANewCircuit() {
        const struct {
            int32_t maxDb, minDb;
            const char* span;
            const char* top;
        } cases[] = {
            {3, -47, "   50", "    10"},             // 50 is in the list; above 40, so tens
            {-7, -20, "   15", "    0"},             // 13 rounds up to 15; (-7 div 5 + 1) x 5
            {100, -300, "   300", "    110"},        // 400 is limited to 300
            {1, -1, "   10", "    5"},               // 2 becomes 10; 5 is never proposed
            {0, -50000, "   300", "    10"},         // a zero output somewhere in the sweep
            {41, 0, "   45", "    50"},              // 41 rounds up to 45
            {-12, -51, "   40", "    -5"},           // 39 to 40: still fives, truncated toward zero
            {-50000, -50000, "   10", "    -49995"}, // no output anywhere: shown whole
        };
        for (const auto& entry : cases) {
            ShowAfterSweep(entry.minDb, entry.maxDb, true);
            QCOMPARE(SelectedSpans(), QStringList{entry.span});
            QCOMPARE(window->EditBoxTop->text(), QString(entry.top));
            QVERIFY(!fixture->state.shell.DatafileChanged);
        }
        // The next showing for the same circuit keeps what the settings hold.
        WriteIni(75, -20);
        ShowAfterSweep(-47, 3, false);
        QCOMPARE(SelectedSpans(), QStringList{"   75"});
        QCOMPARE(window->EditBoxTop->text(), QString("    -20"));
    }

    void aSpanOutsideTheListLeavesNoSelection() {
        WriteIni(33, 0);
        ShowAfterSweep(-47, 3, false);
        QVERIFY(SelectedSpans().isEmpty());
        window->ButtonContinue->click();
        QCOMPARE(Texts(), std::vector<std::string>{"Invalid Value Selected"});
        QCOMPARE(fixture->messages.entries[0].kind, Entry::Error);
        QVERIFY(window->isVisible());
        QVERIFY(Ini().find("GraphScale=33\r\n") != std::string::npos);
        QCOMPARE(Graph().LastGraphScale, -1);

        SelectSpan(35);
        window->ButtonContinue->click();
        QVERIFY(!window->isVisible());
        QCOMPARE(fixture->state.settings.GraphScale, 35);
        QVERIFY(Ini().find("GraphScale=35\r\n") != std::string::npos);
    }

    void theFirstSpanIsSelectedAlone() {
        WriteIni(5, 0);
        ShowAfterSweep(-47, 3, false);
        QCOMPARE(SelectedSpans(), QStringList{"   5"});
        QCOMPARE(window->ListBoxGraphScale->currentRow(), 0);
    }

    void showsTheRangeOfEachKindOfScale() {
        const struct {
            int32_t fcode;
            const char* range;
        } cases[] = {
            {8, "   100 - 1kHz"}, {39, "  300k - 300MHz"}, // two spaces only
            {40, "   3M - 3GHz"}, {48, "    1.0 - 1MHz"},  {1, "   0.03 - 0.3Hz"},
        };
        for (const auto& entry : cases) {
            Graph().scale = SetupFrequencyScale(entry.fcode, 0, 0);
            ShowAfterSweep(-47, 3, false);
            QCOMPARE(window->EditBoxFreqRange->text(), QString(entry.range));
        }
        Graph().scale = SetupFrequencyScale(0, 250, 360);
        ShowAfterSweep(-47, 3, false);
        QCOMPARE(window->EditBoxFreqRange->text(), QString("   250 - 360"));
        Graph().scale = SetupFrequencyScale(0, 1500, 2.2e6L);
        ShowAfterSweep(-47, 3, false);
        QCOMPARE(window->EditBoxFreqRange->text(), QString("   1.50k - 2.20M"));
    }

    void theTopIsAnIntegerLimitedTo500() {
        const struct {
            const char* typed;
            int32_t stored;
        } accepted[] = {{"900", 500}, {"  -900 ", -500}, {"500", 500}, {"-35", -35}, {"$10", 16}};
        for (const auto& entry : accepted) {
            ShowAfterSweep(-47, 3, false);
            window->EditBoxTop->setText(entry.typed);
            window->ButtonContinue->click();
            QVERIFY(!window->isVisible());
            QCOMPARE(fixture->state.settings.GraphTop, entry.stored);
            QCOMPARE(Graph().LastGraphTop, entry.stored);
            QVERIFY(Ini().find("GraphTop=" + std::to_string(entry.stored) + "\r\n") !=
                    std::string::npos);
        }
        for (const char* typed : {"12.5", "", "ten", "1e2", "1 000", "-"}) {
            fixture->messages.entries.clear();
            ShowAfterSweep(-47, 3, false);
            const std::string before = Ini();
            window->EditBoxTop->setText(typed);
            window->ButtonContinue->click();
            QCOMPARE(Texts(), std::vector<std::string>{"Invalid Value Selected"});
            QVERIFY(window->isVisible());
            QCOMPARE(Ini(), before);
            QCOMPARE(Graph().LastGraphTop, 16);
        }
    }

    void aChangedDbScaleIsANewScale() {
        ShowAfterSweep(-47, 3, false);
        window->ButtonContinue->click();
        QVERIFY(Graph().NewScale); // the first graph
        QCOMPARE(Graph().LastGraphScale, 25);
        QCOMPARE(Graph().LastGraphTop, 0);

        Graph().NewScale = false; // as the next sweep of the same range leaves it
        ShowAfterSweep(-47, 3, false);
        window->ButtonContinue->click();
        QVERIFY(!Graph().NewScale);

        ShowAfterSweep(-47, 3, false);
        window->EditBoxTop->setText("5");
        window->ButtonContinue->click();
        QVERIFY(Graph().NewScale);

        Graph().NewScale = false;
        ShowAfterSweep(-47, 3, false);
        SelectSpan(30);
        window->ButtonContinue->click();
        QVERIFY(Graph().NewScale);
        QCOMPARE(Graph().LastGraphScale, 30);
    }

    void superimposingKeepsThePictureOnlyWhenNothingChanged() {
        const struct {
            const char* name;
            bool superimpose, armed, newScale;
            int32_t span;
            bool kept;
        } cases[] = {
            {"same scales, armed", true, true, false, 25, true},
            {"superimpose not ticked", false, true, false, 25, false},
            {"not armed by a closed graph", true, false, false, 25, false},
            {"new frequency scale", true, true, true, 25, false},
            {"new dB span", true, true, false, 30, false},
        };
        for (const auto& entry : cases) {
            Graph().LastGraphScale = 25;
            Graph().LastGraphTop = 0;
            Graph().NewScale = entry.newScale;
            Graph().SuperimposeArmed = entry.armed;
            Graph().GridLinesPending = false;
            Graph().picture = DrawnPicture();
            window->CheckBoxSuperimpose->setChecked(entry.superimpose);
            ShowAfterSweep(-47, 3, false);
            SelectSpan(entry.span);
            window->ButtonContinue->click();
            QVERIFY2(!window->isVisible(), entry.name);
            QVERIFY2(Graph().picture.isNull() == !entry.kept, entry.name);
            QVERIFY2(Graph().SuperimposeArmed == entry.kept, entry.name);
            // A clean picture gets the grid when the box is ticked; a kept one never again.
            QVERIFY2(Graph().GridLinesPending == !entry.kept, entry.name);
        }
    }

    void theSuperimposeBoxRules() {
        ShowAfterSweep(-47, 3, false);
        window->CheckBoxGridLines->click(); // unticked
        window->CheckBoxSuperimpose->click();
        QVERIFY(Graph().Superimpose);
        QVERIFY(!window->CheckBoxGridLines->isEnabled());
        QVERIFY(!window->StaticTextGridLines->isEnabled());
        QVERIFY(!window->CheckBoxGridLines->isChecked()); // keeps its tick state

        Graph().SuperimposeArmed = true;
        Graph().picture = DrawnPicture();
        Graph().GridLinesPending = true;
        window->CheckBoxSuperimpose->click();
        QVERIFY(!Graph().Superimpose);
        QVERIFY(Graph().picture.isNull());
        QVERIFY(!Graph().SuperimposeArmed);
        QVERIFY(!Graph().GridLinesPending); // the grid box is unticked
        QVERIFY(window->CheckBoxGridLines->isEnabled());
        QVERIFY(window->StaticTextGridLines->isEnabled());

        // The boxes survive a new showing, and the grid box stays disabled while superimposing.
        window->CheckBoxSuperimpose->click();
        ShowAfterSweep(-47, 3, false);
        QVERIFY(window->CheckBoxSuperimpose->isChecked());
        QVERIFY(!window->CheckBoxGridLines->isEnabled());
    }

    void unTickingBoldWhileSuperimposingWarns() {
        ShowAfterSweep(-47, 3, false);
        window->CheckBoxBold->click();
        QVERIFY(Graph().BoldGraph);
        window->CheckBoxBold->click(); // not superimposing yet: no warning
        QVERIFY(fixture->messages.entries.empty());

        Graph().SuperimposeArmed = true;
        window->CheckBoxBold->click(); // ticking is always fine
        QVERIFY(fixture->messages.entries.empty());
        window->CheckBoxBold->click();
        QCOMPARE(Texts(), std::vector<std::string>{
                              "   It is inadvisable to deselect Bold Mode now   \r\n\r\n"
                              "       as you are already Superimposing plots  "});
        QCOMPARE(fixture->messages.entries[0].kind, Entry::Warning);
        QVERIFY(!window->CheckBoxBold->isChecked());
        QVERIFY(!Graph().BoldGraph);
    }

    void theColourAndGridBoxesReachTheGraph() {
        ShowAfterSweep(-47, 3, false);
        window->CheckBoxColour->click();
        QVERIFY(Graph().ColourGraph);
        window->CheckBoxGridLines->click();
        QVERIFY(!Graph().GridLines);
    }

    void continueShowsTheGraphWindow() {
        app::TFormVGA graph(fixture->state);
        fixture->state.windows.Use(&graph);
        ShowAfterSweep(-47, 3, false);
        QVERIFY(!graph.isVisible());
        window->ButtonContinue->click();
        QVERIFY(graph.isVisible());
        graph.hide();
        fixture->state.windows.Use<app::TFormVGA>(nullptr);
    }

    void escapeDoesNotLeaveTheWindow() {
        ShowAfterSweep(-47, 3, false);
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(window->isVisible());
    }

    void f1OpensHelpAtTheAmplitudeTopic() {
        ShowAfterSweep(-47, 3, false);
        const testing::HelpOpening help = testing::ReleaseF1(window.get(), fixture->state);
        QCOMPARE(help.position, 16807);
        QVERIFY(help.shown);
    }

    // The whole road twice: sweep, parameters, a drawn graph closed with Superimpose ticked,
    // then the same scales again, which draws over the same picture.
    void superimposingAcrossTwoGraphCycles() {
        app::TFormFreqScales scales(fixture->state);
        fixture->state.windows.Use(&scales);
        std::function<void()> inParameters;
        QTimer poll;
        poll.setInterval(5);
        connect(&poll, &QTimer::timeout, [&] {
            if (window->isVisible() && inParameters) {
                auto step = std::move(inParameters);
                inParameters = nullptr;
                step();
            }
        });
        poll.start();
        const auto cycle = [&](int fcode, std::function<void()> step) {
            inParameters = std::move(step);
            scales.show();
            scales.RadioButtons[fcode]->click();
            scales.ButtonContinueOrReset->click();
            QVERIFY(testing::WaitUntilIdle([&] { return scales.SweepRunning(); }));
            QVERIFY(!inParameters); // the parameter window was reached
            QVERIFY(!window->isVisible());
        };
        // What closing the graph window leaves: a curve, and superimposing armed.
        const auto closeGraph = [&] {
            Graph().picture = DrawnPicture();
            Graph().GridLinesPending = false;
            if (window->CheckBoxSuperimpose->isChecked()) {
                Graph().SuperimposeArmed = true;
            }
        };

        cycle(8, [&] {
            QCOMPARE(SelectedSpans(), QStringList{"   45"}); // proposed: -39 to 2 dB
            window->CheckBoxSuperimpose->click();
            window->ButtonContinue->click();
        });
        QVERIFY(Graph().NewScale);
        QVERIFY(Graph().picture.isNull());
        QVERIFY(Graph().GridLinesPending);
        closeGraph();

        cycle(8, [&] { window->ButtonContinue->click(); });
        QVERIFY(!Graph().NewScale);
        QVERIFY(Graph().SuperimposeArmed);
        QVERIFY(!Graph().picture.isNull());
        QVERIFY(!Graph().GridLinesPending);
        closeGraph();

        // Another range: a clean picture, with the grid of the box at this moment.
        cycle(9, [&] { window->ButtonContinue->click(); });
        QVERIFY(Graph().NewScale);
        QVERIFY(Graph().picture.isNull());
        QVERIFY(!Graph().SuperimposeArmed);
        QVERIFY(Graph().GridLinesPending);
        QVERIFY(fixture->messages.entries.empty());
        fixture->state.windows.Use<app::TFormFreqScales>(nullptr);
    }
};

KELVOR_APP_TEST_MAIN(GraphParametersWindowTest)
#include "graph_parameters_window_test.moc"
