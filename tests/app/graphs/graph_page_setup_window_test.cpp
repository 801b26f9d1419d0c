// SPDX-License-Identifier: GPL-3.0-or-later
// The graph print page setup: the boxes filled from the settings, the size label that follows
// the typed scale, the scale's own validation, and the check of all three on closing.

#include "app/graphs/graph_page_setup_window.h"
#include "app/graphs/graph_window.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/help_opening.h"
#include "settings/settings_file.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace kelvor;
using Entry = testing::RecordingMessages::Entry;

class GraphPageSetupWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::AppFixture> fixture;
    std::unique_ptr<app::TFormGraphSetUp> window;

    app::AppState& State() { return fixture->state; }

    Settings SettingsOnDisk() { return ParseSettingsText(fixture->folder.Read(kSettingsFileName)); }

    void Close() { window->ButtonClose->click(); }

private slots:
    void init() {
        fixture = std::make_unique<testing::AppFixture>();
        // The size label's worked example is for a 600 pixels-per-inch printer.
        State().printer().setResolution(600);
        window = std::make_unique<app::TFormGraphSetUp>(State());
        window->show();
    }
    void cleanup() {
        window.reset();
        fixture.reset();
    }

    void showsTheSettingsAndThePrintSize() {
        QCOMPARE(window->windowTitle(), QString("   PAGE SET UP  -  FOR PRINTING"));
        QCOMPARE(window->EditBoxOriginX->text(), QString("  0.5"));
        QCOMPARE(window->EditBoxOriginY->text(), QString("  0.5"));
        QCOMPARE(window->EditBoxScale->text(), QString("   200"));
        QCOMPARE(window->LabelPrintSize->text(),
                 QString("Print Size will be  2.2\"  x  1.7\"  approx."));
        QCOMPARE(window->LabelMargins->text(),
                 QString("Left Margin (in)                     Top Margin (in)"));
        QCOMPARE(window->LabelScale->text(), QString(" Scale   (%)"));
        QVERIFY(fixture->messages.entries.empty());
    }

    void sizeFollowsTheTypedScale() {
        window->EditBoxScale->selectAll();
        QTest::keyClicks(window->EditBoxScale, "400");
        QCOMPARE(window->LabelPrintSize->text(),
                 QString("Print Size will be  4.5\"  x  3.5\"  approx."));
        QCOMPARE(State().settings.GraphScaleXY, std::string("400"));
        QVERIFY(fixture->messages.entries.empty());
    }

    void smallScaleBecomesTenSilently() {
        window->EditBoxScale->setText("   5");
        QCOMPARE(State().settings.GraphScaleXY, std::string("10"));
        // The box keeps what was typed.
        QCOMPARE(window->EditBoxScale->text(), QString("   5"));
        QCOMPARE(window->LabelPrintSize->text(),
                 QString("Print Size will be  0.1\"  x  0.1\"  approx."));
        QVERIFY(fixture->messages.entries.empty());
    }

    void scaleThatIsNotANumberIsPutBack() {
        window->EditBoxScale->setText("   300");
        window->EditBoxScale->setText("  1x");
        QCOMPARE(fixture->messages.entries.size(), size_t{1});
        QCOMPARE(fixture->messages.entries[0].kind, Entry::Error);
        QCOMPARE(fixture->messages.entries[0].text, std::string("  Invalid Scale Value   "));
        QCOMPARE(window->EditBoxScale->text(), QString("   300"));
        QCOMPARE(window->EditBoxScale->cursorPosition(), 6);
        QCOMPARE(State().settings.GraphScaleXY, std::string("300"));
    }

    void unreadableScaleFromTheSettingsIsReportedOnce() {
        window->hide();
        State().settings.GraphScaleXY = "abc";
        app::TFormGraphSetUp fresh(State());
        fresh.show();
        // Nothing was accepted yet to put back: one message, an empty scale, no loop.
        QCOMPARE(fixture->messages.entries.size(), size_t{1});
        QCOMPARE(fresh.EditBoxScale->text(), QString("   "));
        fresh.hide();
    }

    void closingKeepsGoodValuesInTheSettingsFile() {
        window->EditBoxOriginX->setText("  500m");
        window->EditBoxOriginY->setText(" 12 ");
        window->EditBoxScale->setText("   250");
        Close();
        QVERIFY(!window->isVisible());
        const Settings onDisk = SettingsOnDisk();
        QCOMPARE(onDisk.GraphOriginX, std::string("500m"));
        QCOMPARE(onDisk.GraphOriginY, std::string("12"));
        QCOMPARE(onDisk.GraphScaleXY, std::string("250"));
        QVERIFY(fixture->messages.entries.empty());
    }

    void closingRaisesASmallScaleToTen() {
        window->EditBoxScale->setText("   7");
        Close();
        QCOMPARE(SettingsOnDisk().GraphScaleXY, std::string("10"));
    }

    void invalidValuesOnClosingLeaveTheFileAlone() {
        for (const char* margin : {"", "-1", "1x"}) {
            fixture->folder.Write(kSettingsFileName, "[Parameters]\r\nGraphOriginX=0.25\r\n");
            window->show();
            window->EditBoxOriginX->setText(margin);
            Close();
            QVERIFY(!window->isVisible());
            QCOMPARE(fixture->messages.entries.back().text, std::string(" Invalid Parameters    "));
            QCOMPARE(SettingsOnDisk().GraphOriginX, std::string("0.25"));
        }
        QCOMPARE(fixture->messages.entries.size(), size_t{3});
    }

    void sizeOfThePictureTheGraphWindowShows() {
        window->hide();
        app::TFormVGA graph(State());
        State().windows.Use(&graph);
        State().shell.AnalysisMode = app::AnalysisMode::TestPattern;
        graph.show();
        window->show();
        // The test pattern is 640 by 480: 2.13 x 0.96 and 1.6 x 0.98 inches at 200 percent.
        QCOMPARE(window->LabelPrintSize->text(),
                 QString("Print Size will be  2.0\"  x  1.6\"  approx."));
        window->hide();
        graph.hide();
        State().windows.Use<app::TFormVGA>(nullptr);
    }

    void f1OpensHelpAtTheGraphTopic() {
        const testing::HelpOpening help = testing::ReleaseF1(window.get(), State());
        QCOMPARE(help.position, 18453);
    }
};

KELVOR_APP_TEST_MAIN(GraphPageSetupWindowTest)
#include "graph_page_setup_window_test.moc"
