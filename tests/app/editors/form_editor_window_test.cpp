// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editors/form_editor_window.h"
#include "app/editors/record_listing_window.h"
#include "app/help/help_window.h"
#include "app/shell/main_window.h"
#include "app/support/action_captions.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/editor_test_helpers.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>

using namespace kelvor;
using testing::BoxLines;
using testing::FileLines;
using testing::PlaceCaret;
using Entry = testing::RecordingMessages::Entry;
using Lines = std::vector<std::string>;

namespace {

const Lines kSampleBody = {
    "*        HPFILTER  -  Self Generated Version",
    "",
    "         R  1 2       0.2",
    "         L  1 4       2.5mH",
    "         R  2 5       8.0",
    "         C  3 4       50uF",
    "         C  4 5       50uF",
};

struct Editor {
    testing::AppFixture fixture;
    app::TFormEdt2 window{fixture.state};
    void Open() { window.show(); }
    Lines File() const { return FileLines(fixture.folder, "HPFILTER.DAT"); }
    std::string TitleLine(int revision) const {
        return StandardTitleLine("Simple_3_Element_High_Pass_Filter", revision,
                                 fixture.state.shell.TodayText);
    }
    void ReplaceText(QLineEdit* box, const char* text) {
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    QString Kind() const { return window.PanelHint2->text(); }
    QString Syntax() const { return window.PanelHint3->text(); }
    bool StarShown() const { return !window.PanelHint5->isHidden(); }
};

const QString kStandardKind = "Standard Symbols for Circuit Components";

} // namespace

class FormEditorWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensTheSampleDatafile() {
        Editor editor;
        editor.fixture.folder.Write("DATA.TMP", "stale scratch copy");
        editor.Open();
        app::TFormEdt2& window = editor.window;
        QCOMPARE(window.windowTitle(), QString("  EDITING DATAFILE  -  HPFILTER.DAT"));
        QCOMPARE(window.EditBoxFileMessage->text(), QString(" Simple 3 Element High Pass Filter"));
        // The title is wider than its box: the box shows where it starts.
        QCOMPARE(window.EditBoxFileMessage->cursorPosition(), 0);
        QCOMPARE(window.EditBoxRevNo->text(), QString(" 1"));
        QCOMPARE(window.EditBoxFileDate->text(),
                 app::ToQt(" " + editor.fixture.state.shell.TodayText));
        QCOMPARE(window.EditBoxNodeIn->text(), QString(" 3"));
        QCOMPARE(window.EditBoxNodeOut->text(), QString(" 5"));
        QCOMPARE(window.EditBoxNodeCom->text(), QString(" 2"));
        QCOMPARE(BoxLines(window.MemoBoxEDT2), kSampleBody);
        QVERIFY(window.EditBoxRevNo->isReadOnly());
        QVERIFY(window.EditBoxFileDate->isReadOnly());
        // The scratch copy was rewritten from the Datafile, loaded and deleted.
        QVERIFY(!std::filesystem::exists(editor.fixture.folder / "DATA.TMP"));
        QVERIFY(editor.fixture.messages.entries.empty());
        QCOMPARE(editor.Kind(), kStandardKind);
        QCOMPARE(editor.Syntax(),
                 QString(" R : Resistor   C : Capacitor   L : Inductor   M : Mutual   T : "
                         "Transformer   B : Bipolar   F : FET   V : Valve   A : Op-Amp    * # : "
                         "Comments"));
        QVERIFY(editor.StarShown());
        QVERIFY(window.PanelHint1->isHidden());
        QCOMPARE(editor.fixture.dialogs.beeps, 0);

        QCOMPARE(testing::Captions(window.MenuBar->actions()),
                 (QStringList{"Copy  ", "Cut   ", "Paste   ", "Save   ", "Check   ", "Help   ",
                              "View Graphs"}));
        QCOMPARE(window.size(), QSize(730, 549 + window.MenuBar->height()));
    }

    void savingAChangedDescriptionRaisesTheRevisionAtClose() {
        Editor editor;
        editor.Open();
        editor.ReplaceText(editor.window.EditBoxFileMessage, "  Low pass  filter ");
        QVERIFY(editor.window.SaveClick());
        const Lines saved = editor.File();
        QCOMPARE(saved.size(), 4 + kSampleBody.size());
        QCOMPARE(saved[0],
                 StandardTitleLine("Low_pass__filter", 1, editor.fixture.state.shell.TodayText));
        QCOMPARE(saved[1], std::string());
        QCOMPARE(saved[2], StandardNodeLine("3", "5", "2"));
        QCOMPARE(saved[3], std::string());
        QCOMPARE(Lines(saved.begin() + 4, saved.end()), kSampleBody);
        // The revision shown and written is not raised until the window closes.
        QCOMPARE(editor.window.EditBoxRevNo->text(), QString(" 1"));

        QVERIFY(editor.window.close());
        QCOMPARE(editor.File()[0],
                 StandardTitleLine("Low_pass__filter", 2, editor.fixture.state.shell.TodayText));
        QCOMPARE(editor.fixture.state.circuit.RevisionNumber, 2);
        QVERIFY(editor.fixture.messages.entries.empty());

        // The next opening shows the new header.
        editor.Open();
        QCOMPARE(editor.window.EditBoxRevNo->text(), QString(" 2"));
        QCOMPARE(editor.window.EditBoxFileMessage->text(), QString(" Low pass  filter"));
    }

    void longDescriptionIsCutTo35OnSave() {
        Editor editor;
        editor.Open();
        // The box takes 36 characters; the title keeps 35.
        editor.ReplaceText(editor.window.EditBoxFileMessage,
                           "ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789xyz");
        QCOMPARE(editor.window.EditBoxFileMessage->text().size(), 36);
        QVERIFY(editor.window.SaveClick());
        QCOMPARE(editor.File()[0], StandardTitleLine("ABCDEFGHIJKLMNOPQRSTUVWXYZ_01234567", 1,
                                                     editor.fixture.state.shell.TodayText));
        QCOMPARE(editor.fixture.state.circuit.CircuitTitle,
                 std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ_01234567"));
    }

    void emptyDescriptionKeepsTheRevision() {
        Editor editor;
        editor.Open();
        editor.window.EditBoxFileMessage->selectAll();
        QTest::keyClick(editor.window.EditBoxFileMessage, Qt::Key_Delete);
        QVERIFY(editor.window.SaveClick());
        QVERIFY(editor.window.close());
        // Read back, the revision is 2 and not the day of the date.
        QVERIFY(editor.fixture.Parse());
        QCOMPARE(editor.fixture.state.circuit.RevisionNumber, 2);
        QCOMPARE(editor.fixture.state.circuit.DatafileDate, editor.fixture.state.shell.TodayText);
        editor.Open();
        QCOMPARE(editor.window.EditBoxFileMessage->text().trimmed(), QString());
    }

    void lineBreakInABoxDoesNotSplitTheHeader() {
        Editor editor;
        editor.Open();
        editor.window.EditBoxNodeIn->setText("4\n7");
        editor.window.EditBoxNodeIn->setModified(true);
        editor.window.EditBoxFileMessage->setText("Two\r\nlines");
        editor.window.EditBoxFileMessage->setModified(true);
        QVERIFY(editor.window.SaveClick());
        const Lines saved = editor.File();
        QCOMPARE(saved.size(), 4 + kSampleBody.size());
        QCOMPARE(saved[0].substr(0, 50),
                 std::string(20, ' ') + "Two__lines" + std::string(20, ' '));
        QCOMPARE(saved[2], StandardNodeLine("4 7", "5", "2"));
        QCOMPARE(saved[4], kSampleBody[0]);
    }

    void savingWithoutChangesKeepsTheRevision() {
        Editor editor;
        editor.Open();
        QVERIFY(editor.window.SaveClick());
        QVERIFY(!editor.window.SavedSinceOpening());
        QVERIFY(editor.window.close());
        QCOMPARE(editor.File()[0], editor.TitleLine(1));
        QCOMPARE(editor.fixture.state.circuit.RevisionNumber, 1);
    }

    void savingTwiceThenClosingRaisesTheRevisionByOne() {
        Editor editor;
        editor.Open();
        PlaceCaret(editor.window.MemoBoxEDT2, 1);
        QTest::keyClicks(editor.window.MemoBoxEDT2, "* first");
        QVERIFY(editor.window.SaveClick());
        QTest::keyClicks(editor.window.MemoBoxEDT2, " and second");
        QVERIFY(editor.window.SaveClick());
        QCOMPARE(editor.File()[0], editor.TitleLine(1));
        QVERIFY(editor.window.close());
        const Lines saved = editor.File();
        QCOMPARE(saved[0], editor.TitleLine(2));
        QCOMPARE(saved[5], std::string("* first and second"));
        QCOMPARE(editor.fixture.state.circuit.RevisionNumber, 2);
        // No question: everything had been saved.
        QVERIFY(editor.fixture.messages.entries.empty());
    }

    void closingOffersToSaveAndKeepsDeclinedChangesOffTheDisk() {
        Editor editor;
        editor.Open();
        PlaceCaret(editor.window.MemoBoxEDT2, 1);
        QTest::keyClicks(editor.window.MemoBoxEDT2, "* kept");
        QVERIFY(editor.window.SaveClick());
        QTest::keyClicks(editor.window.MemoBoxEDT2, " but not this");
        editor.ReplaceText(editor.window.EditBoxNodeIn, "4");
        editor.fixture.messages.answers = {Answer::No};
        QVERIFY(editor.window.close());
        QCOMPARE(editor.fixture.messages.entries.size(), size_t{1});
        QCOMPARE(editor.fixture.messages.entries[0].text, std::string(" Save Current Changes ? "));
        const Lines saved = editor.File();
        QCOMPARE(saved[0], editor.TitleLine(2));
        QCOMPARE(saved[2], StandardNodeLine("3", "5", "2"));
        QCOMPARE(saved[5], std::string("* kept"));
    }

    void closingABadDatafileShowsTheReportThenAsks() {
        Editor editor;
        editor.fixture.folder.Write("HPFILTER.DAT",
                                    StandardTitleLine("Bad", 4, "1 Jan 2027") +
                                        "\r\n\r\n1 2 3\r\n\r\nR 1 2\r\nR 2 3 10\r\n");
        editor.Open();
        const Lines body = BoxLines(editor.window.MemoBoxEDT2);
        editor.fixture.messages.answers = {Answer::No};
        QVERIFY(!editor.window.close());
        QVERIFY(editor.window.isVisible());
        auto& entries = editor.fixture.messages.entries;
        QCOMPARE(entries.size(), size_t{2});
        QCOMPARE(entries[0].kind, Entry::Warning);
        QVERIFY(entries[0].text.find("Error in Line") != std::string::npos);
        QCOMPARE(entries[1].kind, Entry::Question);
        QCOMPARE(entries[1].text, std::string(" Close Editor ? "));
        QCOMPARE(BoxLines(editor.window.MemoBoxEDT2), body);

        // Staying did not reopen anything: the user may go on editing, then leave.
        editor.fixture.messages.answers = {Answer::Yes};
        QVERIFY(editor.window.close());
        QCOMPARE(editor.File()[0], StandardTitleLine("Bad", 4, "1 Jan 2027"));
    }

    void nonNumericNodeIsSavedAsTypedAndReportedAtClose() {
        Editor editor;
        editor.Open();
        editor.ReplaceText(editor.window.EditBoxNodeIn, " x ");
        editor.fixture.messages.answers = {Answer::Yes, Answer::Yes};
        QVERIFY(editor.window.close());
        const auto& entries = editor.fixture.messages.entries;
        QCOMPARE(entries.size(), size_t{3});
        QCOMPARE(entries[0].text, std::string(" Save Current Changes ? "));
        QVERIFY(entries[1].text.find("Error in Header - lower line") != std::string::npos);
        QCOMPARE(entries[2].text, std::string(" Close Editor ? "));
        const Lines saved = editor.File();
        QCOMPARE(saved[2], StandardNodeLine("x", "5", "2"));
        QCOMPARE(saved[0], editor.TitleLine(2));
    }

    void hintForAnUpperCaseKeyOnAnEmptyLineOnly() {
        Editor editor;
        editor.fixture.folder.Write("HPFILTER.DAT",
                                    StandardTitleLine("T", 1, "d") +
                                        "\r\n\r\n1 2 3\r\n\r\n\r\nR 1 2 3\r\n\r\n# end\r\n\r\n");
        editor.Open();
        QPlainTextEdit* text = editor.window.MemoBoxEDT2;
        // Body: "", "R 1 2 3", "", "# end", "".
        PlaceCaret(text, 0);
        QTest::keyClick(text, 'r');
        QCOMPARE(editor.Kind(), kStandardKind);
        QVERIFY(!editor.StarShown()); // typing hides the star whatever the key

        QTest::keyClick(text, Qt::Key_Backspace);
        PlaceCaret(text, 0);
        QTest::keyClick(text, 'R');
        QCOMPARE(editor.Kind(), QString("R  for  RESISTOR"));
        QCOMPARE(editor.Syntax(),
                 QString("R       Node_1      Node_2      Resistor Value  (Ohms)"));
        QCOMPARE(editor.window.PanelHint4->text(), QString());

        PlaceCaret(text, 2);
        QTest::keyClick(text, 'L');
        QCOMPARE(editor.Kind(), QString("L  for  INDUCTOR"));
        QCOMPARE(editor.window.PanelHint4->text(), QString("[optional : default value]"));

        // A line that holds text already is not a new component.
        PlaceCaret(text, 1, 3);
        QTest::keyClick(text, 'C');
        QCOMPARE(editor.Kind(), QString("L  for  INDUCTOR"));

        // Below the "#" line nothing is read, so nothing is hinted.
        PlaceCaret(text, 4);
        QTest::keyClick(text, 'V');
        QCOMPARE(editor.Kind(), QString("L  for  INDUCTOR"));
        // On the "#" line itself neither.
        PlaceCaret(text, 3, 5);
        QTest::keyClick(text, 'V');
        QCOMPARE(editor.Kind(), QString("L  for  INDUCTOR"));

        PlaceCaret(text, 2);
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(editor.Kind(), kStandardKind);
        PlaceCaret(text, 2);
        QTest::keyClick(text, 'V');
        QCOMPARE(editor.Kind(), QString("V   for  THERMIONIC  VALVE"));
    }

    void commentHintsUseTheFormEditorsWording() {
        Editor editor;
        editor.Open();
        QPlainTextEdit* text = editor.window.MemoBoxEDT2;
        PlaceCaret(text, 1);
        QTest::keyClick(text, '*');
        QCOMPARE(editor.window.PanelHint1->text(), QString("*"));
        QVERIFY(!editor.window.PanelHint1->isHidden());
        QCOMPARE(editor.Kind(), QString("for  a  COMMENT"));
        QCOMPARE(editor.Syntax(), QString("Add  any  text  you  like  on  this  line"));
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClick(text, '#');
        QCOMPARE(editor.window.PanelHint1->text(), QString("#"));
        QCOMPARE(editor.Kind(), QString("               for  Multiple  Comments"));
        QCOMPARE(editor.Syntax(),
                 QString("ALL  text  after  the  #  sign  to  the  end  of  the  file  will  be  "
                         "ignored"));
        QTest::keyClick(text, Qt::Key_Escape);
        QCOMPARE(editor.Kind(), kStandardKind);
        QVERIFY(editor.window.PanelHint1->isHidden());
        QVERIFY(editor.window.isVisible()); // Escape is a hint key here, not a way out
    }

    void starMarkerFollowsTheStandardHint() {
        Editor editor;
        editor.Open();
        QPlainTextEdit* text = editor.window.MemoBoxEDT2;
        QVERIFY(editor.StarShown());
        PlaceCaret(text, 0, 3);
        QTest::keyClick(text, 'x');
        QVERIFY(!editor.StarShown());
        // Backspace shows the star only while the standard hint shown by Enter or Escape
        // stands; typing ends that.
        QTest::keyClick(text, Qt::Key_Backspace);
        QVERIFY(!editor.StarShown());
        QTest::keyClick(text, Qt::Key_Return);
        QVERIFY(editor.StarShown());
        QTest::keyClick(text, Qt::Key_Backspace);
        QVERIFY(editor.StarShown());
        QTest::keyClick(text, 'y');
        QVERIFY(!editor.StarShown());
        QTest::keyClick(text, Qt::Key_Backspace);
        QVERIFY(!editor.StarShown());
    }

    void nodeBoxTypingNeverHintsButEnterDoes() {
        Editor editor;
        editor.Open();
        PlaceCaret(editor.window.MemoBoxEDT2, 1); // an empty line in the text
        editor.ReplaceText(editor.window.EditBoxNodeIn, "R");
        QCOMPARE(editor.Kind(), kStandardKind);
        QVERIFY(!editor.StarShown());
        PlaceCaret(editor.window.MemoBoxEDT2, 1);
        QTest::keyClick(editor.window.MemoBoxEDT2, 'B');
        QCOMPARE(editor.Kind(), QString("B  for  BIPOLAR  TRANSISTOR"));
        QTest::keyClick(editor.window.EditBoxNodeOut, Qt::Key_Return);
        QCOMPARE(editor.Kind(), kStandardKind);
        QVERIFY(editor.StarShown());
    }

    void newFileHintOnceWithABeep() {
        Editor editor;
        editor.fixture.state.shell.DatafileName = "NEW.DAT";
        editor.fixture.folder.Write("NEW.DAT",
                                    NewDatafileSkeleton(editor.fixture.state.shell.TodayText));
        editor.fixture.state.shell.NewDatafile = true;
        editor.Open();
        QCOMPARE(editor.Kind(), QString("THIS IS A NEW FILE"));
        QCOMPARE(editor.Syntax(), QString("You will need to set Input, Output and Common Nodes"));
        QVERIFY(!editor.StarShown());
        QCOMPARE(editor.fixture.dialogs.beeps, 1);
        QVERIFY(!editor.fixture.state.shell.NewDatafile);
        QCOMPARE(editor.window.EditBoxFileMessage->text(),
                 QString(" NEW FILE - type in description here"));
        QCOMPARE(editor.window.EditBoxNodeIn->text(), QString(" 0"));
        QVERIFY(BoxLines(editor.window.MemoBoxEDT2) == Lines{""});

        editor.fixture.messages.answers = {Answer::Yes}; // the zero nodes fail the check
        QVERIFY(editor.window.close());
        editor.Open();
        QCOMPARE(editor.Kind(), kStandardKind);
        QCOMPARE(editor.fixture.dialogs.beeps, 1);
        // The skeleton's file is untouched: nothing was saved.
        QCOMPARE(editor.fixture.folder.Read("NEW.DAT"),
                 NewDatafileSkeleton(editor.fixture.state.shell.TodayText));
    }

    void componentOnLineFourIsKept() {
        Editor editor;
        editor.fixture.folder.Write("HPFILTER.DAT",
                                    StandardTitleLine("Hand_Made", 3, "1 Jan 2027") +
                                        "\r\n\r\n1 2 3\r\nR 1 2 100\r\nR 2 3 220\r\n");
        QVERIFY(editor.fixture.Parse());
        QCOMPARE(editor.fixture.state.circuit.NoNodes, 3);
        editor.Open();
        QCOMPARE(BoxLines(editor.window.MemoBoxEDT2), (Lines{"R 1 2 100", "R 2 3 220"}));
        QVERIFY(editor.window.SaveClick());
        QCOMPARE(editor.File(),
                 (Lines{StandardTitleLine("Hand_Made", 3, editor.fixture.state.shell.TodayText), "",
                        StandardNodeLine("1", "2", "3"), "", "R 1 2 100", "R 2 3 220"}));
        CircuitState circuit;
        const ParseOutcome outcome =
            ParseDatafileText(editor.fixture.folder.Read("HPFILTER.DAT"), circuit, "d");
        QVERIFY(outcome.ok);
        QCOMPARE(outcome.records.size(), size_t{3});
    }

    void checkSavesWhenAskedAndListsWhatWasSaved() {
        Editor editor;
        editor.Open();
        PlaceCaret(editor.window.MemoBoxEDT2, 1);
        QTest::keyClicks(editor.window.MemoBoxEDT2, "R 4 5 1k");
        editor.fixture.messages.answers = {Answer::Yes};
        QString listing;
        testing::CloseNextModal<app::TFormChk>(
            [&](app::TFormChk* window) { listing = window->TextBox->toPlainText(); });
        editor.window.CheckClick();
        // The new line comes before the sample's components, so it is record 1 of 6.
        QVERIFY(listing.contains("    #1    R   4   5"));
        QVERIFY(listing.contains("    #6    C   4   5"));
        QCOMPARE(editor.File()[5], std::string("R 4 5 1k"));
        QVERIFY(editor.window.SavedSinceOpening());
        QVERIFY(editor.window.isVisible());
    }

    void comingBackFromTheListingOrHelpKeepsUnsavedChanges() {
        Editor editor;
        editor.Open();
        PlaceCaret(editor.window.MemoBoxEDT2, 1);
        QTest::keyClicks(editor.window.MemoBoxEDT2, "R 4 5 1k");
        editor.ReplaceText(editor.window.EditBoxNodeCom, "1");
        const Lines changed = BoxLines(editor.window.MemoBoxEDT2);

        editor.fixture.messages.answers = {Answer::No};
        QString listing;
        testing::CloseNextModal<app::TFormChk>(
            [&](app::TFormChk* window) { listing = window->TextBox->toPlainText(); });
        editor.window.CheckClick();
        QVERIFY(!listing.contains("    #6")); // the file on disk, as it was
        QCOMPARE(BoxLines(editor.window.MemoBoxEDT2), changed);

        int32_t helpPosition = 0;
        testing::CloseNextModal<app::TFormHelp>(
            [&](app::TFormHelp*) { helpPosition = editor.fixture.state.shell.HelpPosition; });
        QTest::keyRelease(editor.window.MemoBoxEDT2, Qt::Key_F1);
        QCOMPARE(helpPosition, 7040);
        testing::CloseNextModal<app::TFormHelp>(
            [&](app::TFormHelp*) { helpPosition = editor.fixture.state.shell.HelpPosition; });
        editor.window.HelpClick();
        QCOMPARE(helpPosition, 7466);

        QCOMPARE(BoxLines(editor.window.MemoBoxEDT2), changed);
        QCOMPARE(editor.window.EditBoxNodeCom->text(), QString("1"));
        QVERIFY(editor.window.EditBoxNodeCom->isModified());
    }

    void undoAndRedoInTheBoxes() {
        Editor editor;
        editor.Open();
        QPlainTextEdit* text = editor.window.MemoBoxEDT2;
        PlaceCaret(text, 1);
        QTest::keyClicks(text, "X");
        QCOMPARE(BoxLines(text)[1], std::string("X"));
        QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(BoxLines(text)[1], std::string());
        QTest::keyClick(text, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(BoxLines(text)[1], std::string("X"));

        QLineEdit* description = editor.window.EditBoxFileMessage;
        description->end(false);
        QTest::keyClicks(description, "!");
        QTest::keyClick(description, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(description->text(), QString(" Simple 3 Element High Pass Filter"));
        QTest::keyClick(description, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(description->text(), QString(" Simple 3 Element High Pass Filter!"));
    }

    void missingDatafileClosesTheEditorUnchanged() {
        Editor editor;
        editor.fixture.state.shell.DatafileName = "GONE.DAT";
        editor.Open();
        QTRY_VERIFY(!editor.window.isVisible());
        QCOMPARE(editor.fixture.messages.entries.size(), size_t{1});
        QCOMPARE(editor.fixture.messages.entries[0].kind, Entry::Error);
        QVERIFY(!std::filesystem::exists(editor.fixture.folder / "GONE.DAT"));
    }

    void editCommandOpensTheFormEditor() {
        testing::AppFixture fixture;
        app::TFormMain main(fixture.state);
        main.show();
        fixture.messages.entries.clear();
        QString description;
        testing::CloseNextModal<app::TFormEdt2>(
            [&](app::TFormEdt2* window) { description = window->EditBoxFileMessage->text(); });
        main.EditClick();
        QCOMPARE(description, QString(" Simple 3 Element High Pass Filter"));
        QVERIFY(fixture.messages.entries.empty());
        QVERIFY(!fixture.state.windows.Get<app::TFormEdt2>().isVisible());
    }

    void editCommandWarnsWhenTheDatafileIsMissing() {
        testing::AppFixture fixture;
        app::TFormMain main(fixture.state);
        fixture.messages.entries.clear();
        fixture.state.shell.DatafileName = "ABCDEFGHIJKLMNOPQRSTUVWXYZ_1234.DAT";
        main.EditClick();
        QCOMPARE(fixture.messages.entries.size(), size_t{1});
        QCOMPARE(fixture.messages.entries[0].kind, Entry::Warning);
        QCOMPARE(fixture.messages.entries[0].text,
                 std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ_1234.DAT does not "));
        fixture.state.shell.DatafileName = "A.DAT";
        main.EditClick();
        QCOMPARE(fixture.messages.entries[1].text, std::string("A.DAT does not exist"));
    }
};

KELVOR_APP_TEST_MAIN(FormEditorWindowTest)
#include "form_editor_window_test.moc"
