// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editors/record_listing_window.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/window_placement.h"

#include <QPlainTextEdit>
#include <QTest>

using namespace kelvor;

class RecordListingWindowTest : public QObject {
    Q_OBJECT

private slots:
    void listsTheLastParseAndDeletesTheListingFile() {
        testing::AppFixture fixture;
        QVERIFY(fixture.Parse());
        app::TFormChk window(fixture.state);
        window.show();
        const QString text = window.TextBox->toPlainText();
        QVERIFY(text.contains("    #0    NoNodes = 5        NodeIn = 3        NodeOut = 5"));
        QVERIFY(text.contains(QString("    #1    R   1   2") + QString(17, ' ') +
                              "2.00000000000000E-0001"));
        QVERIFY(text.contains("    #5    C"));
        QVERIFY(text.trimmed().endsWith("HPFILTER.DAT    Rev.1"));
        QCOMPARE(window.TextBox->font().family(), QString("Courier New"));
        QVERIFY(!std::filesystem::exists(fixture.folder / "CHKFILE.TMP"));
        QVERIFY(fixture.messages.entries.empty());
        QCOMPARE(window.windowTitle(), QString("   DISPLAY  RECORD  FILE"));
    }

    // Centred on the screen like every other window, not over an owner that stands elsewhere.
    void opensCentredOnTheScreen() {
        testing::AppFixture fixture;
        QVERIFY(fixture.Parse());
        QWidget owner;
        owner.setGeometry(10, 40, 200, 100);
        owner.show();
        app::TFormChk window(fixture.state, &owner);
        window.show();
        QVERIFY(testing::CentredOnScreen(window));
    }

    void reloadsOnEveryShowing() {
        testing::AppFixture fixture;
        QVERIFY(fixture.Parse());
        app::TFormChk window(fixture.state);
        window.show();
        window.hide();
        fixture.folder.Write("HPFILTER.DAT", "T Rev. 2 d\r\n\r\n1 2 3\r\nR 1 2 0\r\nR 2 3 1\r\n");
        QVERIFY(fixture.Parse());
        window.show();
        const QString text = window.TextBox->toPlainText();
        QVERIFY(text.contains(" 1.00000000000000E-0006")); // a zero resistor is floored
        QVERIFY(text.trimmed().endsWith("Rev.2"));
    }

    void missingRecordFileIsReported() {
        testing::AppFixture fixture;
        app::TFormChk window(fixture.state);
        window.show();
        QCOMPARE(fixture.messages.entries.size(), size_t{1});
        QVERIFY(fixture.messages.entries[0].text.find("RECORDS.TMP") != std::string::npos);
        QVERIFY(window.TextBox->toPlainText().isEmpty());
    }
};

KELVOR_APP_TEST_MAIN(RecordListingWindowTest)
#include "record_listing_window_test.moc"
