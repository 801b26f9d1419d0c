// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/qt_text.h"
#include "app/printing/print_target.h"
#include "app/response/response_window.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/help_opening.h"
#include "app/support/window_placement.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

using namespace kelvor;

class ResponseWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::AppFixture> fixture;
    std::unique_ptr<app::TFormResponse> window;

    void Respond(const QString& frequency) {
        window->EditBoxFreq->setText(frequency);
        window->ButtonRespClick();
    }
    QString Table() const { return window->RichEditBoxDisplay->toPlainText(); }

private slots:
    void init() {
        fixture = std::make_unique<testing::AppFixture>();
        QVERIFY(fixture->Parse());
        window = std::make_unique<app::TFormResponse>(fixture->state);
        window->show();
    }
    void cleanup() {
        window.reset();
        fixture.reset();
    }

    void showsTheWorkedExampleAt1000Hz() {
        QCOMPARE(window->windowTitle(), QString("      RESPONSE   -   HPFILTER.DAT"));
        QCOMPARE(window->EditBoxFreq->text(), QString("  "));
        Respond("1000");
        QCOMPARE(window->EditBoxGain->text(), QString("  -0.605"));
        QCOMPARE(window->EditBoxPhase->text(), QString("  42.0"));
        QCOMPARE(window->EditBoxZin->text(), QString("  9.00 "));
        QCOMPARE(window->EditBoxZout->text(), QString("  5.34 "));
        QVERIFY(window->ButtonStoreResult->isEnabled());
        QVERIFY(window->ButtonPrint->isEnabled());
        QVERIFY(fixture->messages.entries.empty());

        window->CheckBoxResponse->click(); // the extended form clears the old results
        QVERIFY(window->EditBoxGain->text().isEmpty());
        QVERIFY(!window->ButtonStoreResult->isEnabled());
        Respond("1k");
        QVERIFY(window->EditBoxGain->text().startsWith("  -6.04"));
        QVERIFY(window->EditBoxGain->text().endsWith("E-0001"));
        QCOMPARE(window->EditBoxGain->text().size(), 2 + 22); // sign, 14 digits, point, exponent
    }

    // The standard close button carries its access key and closes the window.
    void closeButtonClosesTheWindow() {
        auto* close = window->findChild<QPushButton*>("BitBtnClose");
        QVERIFY(close != nullptr);
        QCOMPARE(close->text(), QString("&Close"));
        QCOMPARE(close->geometry(), QRect(616, 58, 89, 54));
        close->click();
        QVERIFY(!window->isVisible());
    }

    // Centred on the screen, not over an owner that stands elsewhere.
    void opensCentredOnTheScreen() {
        QWidget owner;
        owner.setGeometry(10, 40, 200, 100);
        owner.show();
        app::TFormResponse owned(fixture->state, &owner);
        owned.show();
        QVERIFY(testing::CentredOnScreen(owned));
    }

    void storesEachResultOnceUnderOneHeading() {
        Respond("10k");
        window->ButtonStoreResultClick();
        QVERIFY(!window->ButtonStoreResult->isEnabled());
        Respond("100");
        window->ButtonStoreResultClick();
        const QStringList lines = Table().split('\n');
        QCOMPARE(
            lines.count("  Frequency (Hz)     Gain (dB)         Phase (deg)        Zin (ohms)  "
                        "      Zout (ohms)"),
            1);
        // 22 - 12 / 2 = 16 spaces before the name.
        QVERIFY(Table().contains(QString(16, ' ') + "HPFILTER.DAT   Rev.1" + QString(11, ' ')));
        // Five fields right-aligned to 12, 16, 18, 19 and 19 columns.
        const QString tenK = lines[lines.size() - 2];
        QVERIFY(tenK.startsWith("         10k"));
        QCOMPARE(tenK.size(), 84);
        QCOMPARE(lines.last().size(), 84);
        QVERIFY(lines.last().startsWith("         100"));
        QVERIFY(lines.last().contains("-37.469"));

        // Typing disables storing until the next successful computation.
        Respond("1k");
        window->EditBoxFreq->setText("1k5");
        QVERIFY(!window->ButtonStoreResult->isEnabled());
    }

    void refusesAnInvalidFrequencyWithoutAHeading() {
        for (const char* entry : {"-1", "5K", "abc", ""}) {
            fixture->messages.entries.clear();
            Respond(entry);
            QCOMPARE(fixture->messages.entries.size(), size_t{1});
            QCOMPARE(fixture->messages.entries[0].text, std::string("Not a Valid Frequency"));
            QCOMPARE(fixture->messages.entries[0].kind, testing::RecordingMessages::Entry::Warning);
        }
        QVERIFY(Table().isEmpty());
        QVERIFY(window->ButtonResp->isEnabled());
    }

    void zeroOutputShowsStars() {
        // At 0 Hz the capacitors are open and the output rests on the common node.
        Respond("0");
        QCOMPARE(window->EditBoxGain->text(), QString("   * * * "));
        window->CheckBoxResponse->click();
        Respond("0");
        QCOMPARE(window->EditBoxGain->text(), QString(" * * * * *    "));
    }

    void escapeClearsAndShowingAgainStartsANewTable() {
        Respond("1k");
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(window->isVisible());
        QCOMPARE(window->EditBoxFreq->text(), QString("  "));
        QVERIFY(window->EditBoxGain->text().isEmpty());
        window->hide();
        window->show();
        QVERIFY(Table().isEmpty());
        Respond("1k");
        QCOMPARE(Table().count("Frequency (Hz)"), 1);
    }

    void reportsTheTimeWhenAsked() {
        fixture->state.TimeResponse = true;
        Respond("1k");
        QCOMPARE(fixture->messages.entries.size(), size_t{1});
        QVERIFY(fixture->messages.entries[0].text.starts_with("Time = "));
        QVERIFY(fixture->messages.entries[0].text.ends_with(" ms\r\n"));
    }

    void printsTheTableAsTheResponseJob() {
        Respond("1k");
        window->ButtonStoreResultClick();
        const QString pdf = QString::fromStdString((fixture->folder / "table.pdf").string());
        fixture->dialogs.pdfFile = pdf;
        window->ButtonPrintClick();
        QVERIFY(QFileInfo(pdf).size() > 0);
        QCOMPARE(fixture->state.printer().docName(), QString("RESPONSE"));
        QVERIFY(fixture->messages.entries.empty());
    }

    // Key preview: F1 opens help over the window and over the frequency box, which has the
    // focus after every command.
    void f1OpensHelpAtTheResponseTopicFromAnywhere() {
        Respond("1k");
        for (QWidget* target :
             {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(window->EditBoxFreq),
              static_cast<QWidget*>(window->RichEditBoxDisplay)}) {
            fixture->state.shell.HelpPosition = 0;
            const testing::HelpOpening help = testing::ReleaseF1(target, fixture->state);
            QCOMPARE(help.position, 14280);
            QVERIFY(help.shown);
        }
    }

    // The frequency box opens ready for typing: the caret after its two spaces, nothing
    // selected, so the first key typed does not wipe them.
    void frequencyBoxOpensWithTheCaretAfterItsSpaces() {
        window->hide();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(QApplication::focusWidget(), window->EditBoxFreq);
        QVERIFY(!window->EditBoxFreq->hasSelectedText());
        QCOMPARE(window->EditBoxFreq->cursorPosition(), 2);
        QTest::keyClicks(window->EditBoxFreq, "1k");
        QCOMPARE(window->EditBoxFreq->text(), QString("  1k"));
    }

    void missingRecordFileEndsTheCommandWithItsMessage() {
        std::filesystem::remove(fixture->folder / "RECORDS.TMP");
        Respond("1k");
        QCOMPARE(fixture->messages.entries.size(), size_t{1});
        QCOMPARE(fixture->messages.entries[0].kind, testing::RecordingMessages::Entry::Error);
        QVERIFY(fixture->messages.entries[0].text.find("RECORDS.TMP") != std::string::npos);
        QVERIFY(window->EditBoxGain->text().isEmpty());
        QVERIFY(!window->ButtonStoreResult->isEnabled());
    }
};

KELVOR_APP_TEST_MAIN(ResponseWindowTest)
#include "response_window_test.moc"
