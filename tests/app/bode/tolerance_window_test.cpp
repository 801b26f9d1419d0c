// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bode/tolerance_window.h"

#include "app/bode/bode_window.h"
#include "app/support/analyser_range.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/calculation_wait.h"
#include "app/support/help_opening.h"
#include "tolerance/tolerance_file.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace kelvor;

class ToleranceWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::AppFixture> fixture;
    std::unique_ptr<app::TFormBode> bode;
    app::TFormTolerances* panel = nullptr;

    void OpenPanel() {
        bode->ButtonTolerances->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
        panel = bode->tolerances();
        QVERIFY(panel != nullptr && panel->isVisible());
    }
    void SetCell(QTableWidget* table, int row, int column, const QString& text) {
        table->item(row, column)->setText(text);
    }

private slots:
    void init() {
        fixture = std::make_unique<testing::AppFixture>();
        QVERIFY(fixture->Parse());
        bode = std::make_unique<app::TFormBode>(fixture->state);
        QVERIFY(testing::ShowAnalyserFrom10HzTo10kHz(*bode, 20));
        QVERIFY(QTest::qWaitForWindowExposed(bode.get()));
    }
    void cleanup() {
        bode.reset();
        fixture.reset();
    }

    // One row per component line of the Datafile; an override and a mask typed into the panel
    // are used by the run, kept in the .tol file, and the spread lies under the Bode curves.
    void runUsesThePanelsSettingsAndKeepsThem() {
        OpenPanel();
        QCOMPARE(panel->TableComponents->rowCount(), 5);
        QCOMPARE(panel->TableComponents->item(1, 2)->text(), QString("2.5mH"));
        panel->SpinBoxRuns->setValue(60);
        SetCell(panel->TableComponents, 0, 3, "0.1%");
        panel->ButtonAddMaskRow->click();
        for (int column = 0; column < 4; ++column) {
            SetCell(panel->TableMask, 0, column, QStringList{"1k", "10k", "-3", "3"}[column]);
        }
        panel->ButtonRun->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
        QVERIFY2(fixture->messages.entries.empty(),
                 fixture->messages.entries.empty() ? ""
                                                   : fixture->messages.entries[0].text.c_str());
        QVERIFY(panel->analysis().has_value());
        QCOMPARE(panel->analysis()->runs.runs, 60);
        QVERIFY(panel->analysis()->nominal.size() >= std::size_t{61}); // the grid and more
        QVERIFY(bode->Plot->spread().has_value());
        QCOMPARE(panel->TableSpreads->rowCount(), 4);
        QVERIFY2(panel->LabelYield->text().contains("100.00 % (60 of 60 runs"),
                 qPrintable(panel->LabelYield->text()));

        const ToleranceFileReading kept = ReadToleranceFile(fixture->folder / "HPFILTER.tol");
        QCOMPARE(kept.problem, std::string());
        QCOMPARE(kept.settings.runs, 60);
        QCOMPARE(kept.settings.linePercent.at("R 1 2 0.2"), 0.1L);
        QCOMPARE(kept.settings.mask.size(), std::size_t{1});

        // The histogram follows the analyser's cursor, once the plots are drawn again.
        QCoreApplication::processEvents();
        QCPAxisRect* top = bode->Plot->axisRects().front();
        const QPoint at(static_cast<int>(top->axis(QCPAxis::atBottom)->coordToPixel(100)),
                        top->center().y());
        QTest::mouseMove(bode->Plot, at);
        QVERIFY2(panel->LabelHistogram->text().startsWith("Gain at 100.00 Hz over 60 runs"),
                 qPrintable(panel->LabelHistogram->text()));

        panel->CheckBoxShowSpread->click();
        QVERIFY(!bode->Plot->spread().has_value());
    }

    void badValuesAndDamagedFilesAreReported() {
        fixture->folder.Write("HPFILTER.tol", "[Tolerances]\r\nC = lots\r\n");
        OpenPanel();
        QCOMPARE(fixture->messages.entries.size(), std::size_t{1});
        QVERIFY(fixture->messages.entries[0].text.find("HPFILTER.tol is damaged") !=
                std::string::npos);
        QCOMPARE(panel->TableKinds->item(1, 1)->text(), QString("5%")); // the default

        SetCell(panel->TableComponents, 2, 3, "many");
        panel->ButtonRun->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
        QCOMPARE(fixture->messages.entries.size(), std::size_t{2});
        QVERIFY(!panel->analysis().has_value());
        QCOMPARE(fixture->folder.Read("HPFILTER.tol"), std::string("[Tolerances]\r\nC = lots\r\n"));
    }

    // A mask cell that cannot be read is refused with its row and column, before anything runs
    // or is saved.
    void maskRefusalNamesRowAndColumn() {
        OpenPanel();
        const struct {
            QStringList cells;
            const char* message;
        } cases[] = {
            {{"1k", "10k", "abc", "3"}, "Gain mask row 1, Lowest (dB): \"abc\" is not a number"},
            {{"1k", "10k", "-3", "3 dB"},
             "Gain mask row 1, Highest (dB): \"3 dB\" is not a number"},
            {{"0", "10k", "-", "-"},
             "Gain mask row 1, From (Hz): \"0\" is not a frequency above 0"},
            {{"10k", "1k", "-", "-"}, "Gain mask row 1, To (Hz): must not be below From"},
            {{"1k", "10k", "3", "-3"}, "Gain mask row 1, Highest (dB): must not be below"},
        };
        panel->ButtonAddMaskRow->click();
        for (const auto& bad : cases) {
            fixture->messages.entries.clear();
            for (int column = 0; column < 4; ++column) {
                SetCell(panel->TableMask, 0, column, bad.cells[column]);
            }
            panel->ButtonRun->click();
            QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
            QCOMPARE(fixture->messages.entries.size(), std::size_t{1});
            QVERIFY2(fixture->messages.entries[0].text.rfind(bad.message, 0) == 0,
                     fixture->messages.entries[0].text.c_str());
            QVERIFY(!panel->analysis().has_value());
        }
        QVERIFY(!std::filesystem::exists(fixture->folder / "HPFILTER.tol"));
    }

    void cancelLeavesNoResults() {
        OpenPanel();
        panel->SpinBoxRuns->setValue(10000);
        const testing::OnFirstDisable cancel(panel->ButtonRun,
                                             [this] { panel->ButtonCancelClick(); });
        panel->ButtonRun->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
        QVERIFY(!panel->analysis().has_value());
        QVERIFY(panel->LabelYield->text().startsWith("Cancelled"));
        QVERIFY(panel->ButtonRun->isEnabled());
        QVERIFY(bode->ButtonCompute->isEnabled());
    }

    // The Datafile changes while the analysis runs: the run stops, shows nothing of the old
    // circuit, and the panel then holds the new one.
    void aRunInterruptedByAnotherDatafileShowsNothing() {
        OpenPanel();
        panel->SpinBoxRuns->setValue(10000);
        fixture->folder.Write("RC.DAT", "   RC_Low_Pass   Rev. 1   7 Dec 2026\r\n\r\n"
                                        "   NodeIn = 1   NodeOut = 2   NodeCom = 3\r\n\r\n"
                                        "   R  1 2   1k\r\n   C  2 3   159.15nF\r\n");
        QTimer::singleShot(0, panel, [this] {
            fixture->state.shell.DatafileName = "RC.DAT";
            emit fixture->state.datafileEvents.currentChanged();
        });
        panel->ButtonRun->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
        QVERIFY(!panel->analysis().has_value());
        QTRY_COMPARE(panel->TableComponents->rowCount(), 2);
        QVERIFY(panel->ButtonRun->isEnabled());
        QVERIFY(!bode->Plot->spread().has_value());
        QTRY_COMPARE(bode->traces().current().title, std::string("RC_Low_Pass"));
    }

    void f1OpensTheToleranceTopic() {
        OpenPanel();
        QCOMPARE(testing::ReleaseF1(panel, fixture->state).position, 36460);
    }
};

KELVOR_APP_TEST_MAIN(ToleranceWindowTest)
#include "tolerance_window_test.moc"
