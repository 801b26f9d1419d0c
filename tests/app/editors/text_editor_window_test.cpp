// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editors/record_listing_window.h"
#include "app/editors/text_editor_window.h"
#include "app/support/action_captions.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/editor_test_helpers.h"

#include <QLabel>
#include <QMenuBar>
#include <QTest>

using namespace kelvor;
using testing::BoxLines;
using testing::FileLines;
using testing::PlaceCaret;
using Entry = testing::RecordingMessages::Entry;
using Lines = std::vector<std::string>;

namespace {

struct Editor {
    testing::AppFixture fixture;
    app::TFormEdt window{fixture.state};

    void Open() { window.show(); }
    Lines File() const { return FileLines(fixture.folder, fixture.state.shell.DatafileName); }
    // Line 1 as the text editor writes it when it closes after a save.
    std::string ClosingLine(int revision) const {
        return std::string(15, ' ') + fixture.state.shell.DatafileName + std::string(8, ' ') +
               "Rev. " + std::to_string(revision) + std::string(8, ' ') +
               fixture.state.shell.TodayText;
    }
    QString Kind() const { return window.PanelHint2->text(); }
    QString Syntax() const { return window.PanelHint3->text(); }
};

const QString kStandardKind = "Standard Symbols to use in the Editor";

} // namespace

class TextEditorWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensTheWholeFileWithTheCaretOnLineFive() {
        Editor editor;
        editor.Open();
        app::TFormEdt& window = editor.window;
        QCOMPARE(window.windowTitle(), QString("  EDITING DATAFILE  -  HPFILTER.DAT"));
        QCOMPARE(BoxLines(window.MemoBox), editor.File());
        const QTextCursor caret = window.MemoBox->textCursor();
        QCOMPARE(caret.blockNumber(), 4);
        QCOMPARE(caret.positionInBlock(), 0);
        QCOMPARE(caret.block().text(), QString("*        HPFILTER  -  Self Generated Version"));
        QCOMPARE(editor.Kind(), kStandardKind);
        QCOMPARE(editor.Syntax(),
                 QString("R : Resistor    C : Capacitor    L : Inductor    M : Mutual    T : "
                         "Transformer    B : Bipolar    F : FET    V : Valve    A : Op-Amp    *  "
                         "# : for comments"));
        QVERIFY(window.PanelHint1->isHidden());
        QCOMPARE(window.PanelHint4->text(), QString());
        QCOMPARE(window.MemoBox->font().family(), QString("Courier New"));
        QVERIFY(window.MemoBox->font().bold());
        QVERIFY(!window.MemoBox->document()->isModified());
        QVERIFY(editor.fixture.messages.entries.empty());

        QCOMPARE(testing::Captions(window.MenuBar->actions()),
                 (QStringList{"  &Copy", " Cu&t", " &Paste", " &Save", " Chec&k", " &Help",
                              " View &Graphs"}));
        QCOMPARE(window.size(), QSize(732, 554 + window.MenuBar->height()));
    }

    void caretGoesToTheEndOfAShortFile() {
        Editor editor;
        editor.fixture.folder.Write("HPFILTER.DAT", "T Rev. 1 d\r\n\r\n1 2 3\r\n");
        editor.Open();
        const QTextCursor caret = editor.window.MemoBox->textCursor();
        QCOMPARE(caret.blockNumber(), 2);
        QVERIFY(caret.atEnd());
    }

    void closingAfterTwoSavesWritesTheNewLineOneOnce() {
        Editor editor;
        editor.Open();
        QPlainTextEdit* text = editor.window.MemoBox;
        PlaceCaret(text, 5);
        QTest::keyClicks(text, "* one");
        QVERIFY(editor.window.SaveClick());
        QTest::keyClicks(text, " two");
        QVERIFY(editor.window.SaveClick());
        const Lines beforeClose = editor.File();
        QCOMPARE(beforeClose, BoxLines(text));
        QCOMPARE(beforeClose[5], std::string("* one two"));

        QVERIFY(editor.window.close());
        Lines expected = beforeClose;
        expected[0] = editor.ClosingLine(2);
        QCOMPARE(editor.File(), expected);
        QVERIFY(editor.fixture.messages.entries.empty());
        // The title word is now the file's name.
        QCOMPARE(editor.fixture.state.circuit.CircuitTitle, std::string("HPFILTER.DAT"));
        QCOMPARE(editor.fixture.state.circuit.RevisionNumber, 2);

        // An opening without changes leaves the file as it is.
        const std::string bytes = editor.fixture.folder.Read("HPFILTER.DAT");
        editor.Open();
        QVERIFY(editor.window.SaveClick());
        QVERIFY(editor.window.close());
        QCOMPARE(editor.fixture.folder.Read("HPFILTER.DAT"), bytes);
    }

    void closingWritesOnlyWhatWasSaved() {
        Editor editor;
        editor.Open();
        QPlainTextEdit* text = editor.window.MemoBox;
        PlaceCaret(text, 5);
        QTest::keyClicks(text, "* saved");
        QVERIFY(editor.window.SaveClick());
        QTest::keyClicks(text, " declined");
        editor.fixture.messages.answers = {Answer::No};
        QVERIFY(editor.window.close());
        QCOMPARE(editor.fixture.messages.entries.size(), size_t{1});
        QCOMPARE(editor.fixture.messages.entries[0].text, std::string(" Save Current Changes ? "));
        const Lines saved = editor.File();
        QCOMPARE(saved[0], editor.ClosingLine(2));
        QCOMPARE(saved[5], std::string("* saved"));
    }

    void closingABadDatafileAsksAndNoKeepsTheWindow() {
        Editor editor;
        editor.Open();
        QPlainTextEdit* text = editor.window.MemoBox;
        PlaceCaret(text, 5);
        QTest::keyClicks(text, "Q 1 2 3");
        editor.fixture.messages.answers = {Answer::Yes, Answer::No};
        QVERIFY(!editor.window.close());
        QVERIFY(editor.window.isVisible());
        const auto& entries = editor.fixture.messages.entries;
        QCOMPARE(entries.size(), size_t{3});
        QCOMPARE(entries[0].text, std::string(" Save Current Changes ? "));
        QCOMPARE(entries[1].kind, Entry::Warning);
        QVERIFY(entries[1].text.find("Error in Line") != std::string::npos);
        QCOMPARE(entries[2].text, std::string(" Close Editor ? "));
        QCOMPARE(BoxLines(text)[5], std::string("Q 1 2 3"));
        // Still the first line as loaded: nothing rewrites it before the window closes.
        QCOMPARE(editor.File()[0], BoxLines(text)[0]);
    }

    void hintsWithTheTextEditorsWording() {
        Editor editor;
        editor.fixture.folder.Write("HPFILTER.DAT",
                                    "T Rev. 1 d\r\n\r\n1 2 3\r\n\r\n\r\nR 1 2 3\r\n#\r\n\r\n");
        editor.Open();
        QPlainTextEdit* text = editor.window.MemoBox;
        PlaceCaret(text, 4);
        QTest::keyClick(text, 'l');
        QCOMPARE(editor.Kind(), kStandardKind);
        QTest::keyClick(text, Qt::Key_Backspace);
        QTest::keyClick(text, 'L');
        QCOMPARE(editor.Kind(), QString("L  for  INDUCTOR"));
        QCOMPARE(editor.window.PanelHint4->text(), QString("[   ]  optional value  : default"));
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(editor.Kind(), kStandardKind);
        QCOMPARE(editor.window.PanelHint4->text(), QString());

        PlaceCaret(text, 3);
        QTest::keyClick(text, '#');
        QCOMPARE(editor.window.PanelHint1->text(), QString("#"));
        QVERIFY(!editor.window.PanelHint1->isHidden());
        QCOMPARE(editor.Kind(), QString("               for  Multiple  Comments"));
        QCOMPARE(editor.Syntax(),
                 QString("#      ALL  text  after  the  #  sign  to  the  end  of  "
                         "the  file  will  be  ignored"));
        QTest::keyRelease(text, Qt::Key_Down);
        QCOMPARE(editor.Kind(), kStandardKind);
        QVERIFY(editor.window.PanelHint1->isHidden());

        QCOMPARE(BoxLines(text),
                 (Lines{"T Rev. 1 d", "", "1 2 3", "#", "L", "", "R 1 2 3", "#", ""}));
        // Line 2 is ignored by the reader but hints like any empty line above the first "#".
        PlaceCaret(text, 1);
        QTest::keyClick(text, 'V');
        QCOMPARE(editor.Kind(), QString("V  for  THERMIONIC  VALVE"));
        QTest::keyClick(text, Qt::Key_Escape);
        QVERIFY(editor.window.isVisible());
        const int lastLine = text->document()->blockCount() - 1;
        PlaceCaret(text, lastLine);
        QTest::keyClick(text, '*');
        QCOMPARE(editor.Kind(), kStandardKind);
    }

    void newFileHintThenStandardHint() {
        Editor editor;
        editor.fixture.state.shell.NewDatafile = true;
        editor.Open();
        QCOMPARE(editor.Kind(), QString("THIS IS A NEW FILE"));
        QCOMPARE(editor.Syntax(), QString("You will need to set Input, Output and Common Nodes"));
        QVERIFY(!editor.fixture.state.shell.NewDatafile);
        QVERIFY(editor.window.close());
        editor.Open();
        QCOMPARE(editor.Kind(), kStandardKind);
    }

    void checkListsTheFileOnDiskWhenSavingIsDeclined() {
        Editor editor;
        editor.Open();
        PlaceCaret(editor.window.MemoBox, 5);
        QTest::keyClicks(editor.window.MemoBox, "R 1 3 1k");
        const Lines changed = BoxLines(editor.window.MemoBox);
        editor.fixture.messages.answers = {Answer::No};
        QString listing;
        testing::CloseNextModal<app::TFormChk>(
            [&](app::TFormChk* window) { listing = window->TextBox->toPlainText(); });
        editor.window.CheckClick();
        QVERIFY(listing.contains("    #5    C   4   5"));
        QVERIFY(!listing.contains("    #6"));
        QCOMPARE(BoxLines(editor.window.MemoBox), changed);
        QVERIFY(editor.window.MemoBox->document()->isModified());

        editor.fixture.messages.answers = {Answer::Yes};
        testing::CloseNextModal<app::TFormChk>(
            [&](app::TFormChk* window) { listing = window->TextBox->toPlainText(); });
        editor.window.CheckClick();
        QVERIFY(listing.contains("    #1    R   1   3"));
        QCOMPARE(editor.File(), changed);
    }
};

KELVOR_APP_TEST_MAIN(TextEditorWindowTest)
#include "text_editor_window_test.moc"
