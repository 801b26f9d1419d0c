// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help/help_text_fill.h"
#include "app/help/help_window.h"
#include "app/state/app_state.h"
#include "app/support/app_test_main.h"
#include "app/support/recording_dialogs.h"
#include "files/file_io.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"
#include "text/rtf_reader.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <vector>

using kelvor::testing::RecordingMessages;
using kelvor::testing::TempFolder;

namespace kelvor::app {

class HelpWindowTest : public QObject {
    Q_OBJECT

private:
    struct Fixture {
        TempFolder folder;
        RecordingMessages messages;
        testing::RecordingDialogs dialogs;
        AppState state{folder.path(), messages, dialogs};
        std::unique_ptr<TFormHelp> help;

        Fixture() { help = std::make_unique<TFormHelp>(state); }

        // Shows the window as a user would see it and waits for the activation that loads it.
        bool Open(int32_t position) {
            state.shell.HelpPosition = position;
            help->show();
            return QTest::qWaitForWindowActive(help.get());
        }

        QTextCursor Caret() const { return help->RichEditHelp->textCursor(); }
    };

    static QString LineAtCaret(const QTextCursor& cursor) { return cursor.block().text(); }

private slots:
    void windowLooksAsDesigned() {
        Fixture fixture;
        QCOMPARE(fixture.help->windowTitle(), QString("   HELP"));
        QCOMPARE(fixture.help->size(), QSize(767, 574));
        QCOMPARE(fixture.help->minimumSize(), fixture.help->maximumSize());
        QTextEdit* box = fixture.help->RichEditHelp;
        QCOMPARE(box->geometry(), QRect(0, 0, 767, 574));
        QVERIFY(box->isReadOnly());
        QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(box->frameShape(), QFrame::NoFrame);
        QCOMPARE(box->font().family(), QString("Courier New"));
        QCOMPARE(box->font().pixelSize(), 13);
        QCOMPARE(box->palette().color(QPalette::Text), QColor(128, 0, 0));
    }

    // The installed document, opened at every place the Help menu and the F1 keys point to.
    void caretLandsOnTheTopicHeading_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("line");
        for (const HelpPlace& place : help::kEveryPlace) {
            QTest::newRow(place.heading) << int(place.position) << QString(place.heading);
        }
    }

    void caretLandsOnTheTopicHeading() {
        QFETCH(int, position);
        QFETCH(QString, line);
        Fixture fixture;
        QVERIFY(fixture.Open(position));
        const QTextCursor caret = fixture.Caret();
        QCOMPARE(caret.position(), position);
        QVERIFY(!caret.hasSelection());
        QCOMPARE(caret.positionInBlock(), 0);
        QCOMPARE(LineAtCaret(caret), line);
        QVERIFY(fixture.help->RichEditHelp->hasFocus());
        // The heading is on screen, at the top of the view where the text below allows it.
        const QRect caretRect = fixture.help->RichEditHelp->cursorRect();
        const QRect view = fixture.help->RichEditHelp->viewport()->rect();
        QVERIFY(view.contains(caretRect));
        QScrollBar* scrollBar = fixture.help->RichEditHelp->verticalScrollBar();
        if (position < help::kTolvarnSoftware.position) {
            QVERIFY(scrollBar->value() < scrollBar->maximum());
            QVERIFY2(caretRect.top() < 20, qPrintable(QString::number(caretRect.top())));
        }
        QVERIFY(fixture.messages.entries.empty());
    }

    // Every place help opens at is a heading: bold and larger than the text below the first one.
    void everyHelpPlaceIsAHeading() {
        const RtfDocument document = ReadRtf(ReadWholeFile(
            FindHelpFile(std::filesystem::path(), InstalledHelpFolders(), kHelpDocumentName)));
        std::map<int32_t, const RtfParagraph*> paragraphAt;
        int32_t start = 0;
        for (const RtfParagraph& paragraph : document.paragraphs) {
            paragraphAt[start] = &paragraph;
            start += static_cast<int32_t>(paragraph.Text().size()) + 1;
        }
        const RtfParagraph* body = paragraphAt[help::kIntroduction.position +
                                               int32_t(strlen(help::kIntroduction.heading)) + 2];
        QVERIFY(body != nullptr && !body->runs.empty());
        QVERIFY(!body->runs[0].bold);
        const double bodySize = body->runs[0].pointSize.value_or(0);
        for (const HelpPlace& place : help::kEveryPlace) {
            const RtfParagraph* heading = paragraphAt[place.position];
            QVERIFY2(heading != nullptr, place.heading);
            QCOMPARE(QString::fromStdU16String(heading->Text()), QString(place.heading));
            QCOMPARE(heading->runs.size(), std::size_t(1));
            QVERIFY2(heading->runs[0].bold, place.heading);
            QVERIFY2(heading->runs[0].pointSize.value_or(0) > bodySize, place.heading);
        }
    }

    // The box counts positions as the reader does, so the offsets written into the document
    // are the offsets the box shows.
    void boxCountsPositionsAsTheReader() {
        Fixture fixture;
        QVERIFY(fixture.Open(0));
        const RtfDocument source = ReadRtf(ReadWholeFile(
            FindHelpFile(fixture.folder.path(), InstalledHelpFolders(), kHelpDocumentName)));
        QString raw = fixture.help->RichEditHelp->document()->toRawText();
        raw.replace(QChar::ParagraphSeparator, '\n');
        QCOMPARE(raw + '\n', QString::fromStdU16String(source.PlainText()));
    }

    void positionsBeyondTheTextStayInsideIt() {
        Fixture fixture;
        QVERIFY(fixture.Open(1 << 30));
        QTextDocument* document = fixture.help->RichEditHelp->document();
        QCOMPARE(fixture.Caret().position(), document->characterCount() - 1);
        QVERIFY(fixture.Caret().atEnd());
        fixture.help->close();

        QVERIFY(fixture.Open(-5));
        QCOMPARE(fixture.Caret().position(), 0);
    }

    void formatsOfTheRunsReachTheBox() {
        Fixture fixture;
        fixture.folder.Write("KELVOR.RTF",
                             "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green0\\blue255;}"
                             "plain {\\b bold}\\par{\\f0\\fs40\\i\\ul\\cf1 big}\\tab x\\line y}");
        QVERIFY(fixture.Open(0));
        QTextDocument* document = fixture.help->RichEditHelp->document();
        QCOMPARE(document->blockCount(), 2);
        QCOMPARE(document->firstBlock().text(), QString("plain bold"));
        QCOMPARE(document->lastBlock().text(), QString("big\tx") + QChar::LineSeparator + "y");

        QTextCursor cursor(document);
        cursor.setPosition(2);
        QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Normal));
        QCOMPARE(cursor.charFormat().fontPointSize(), 12.0);
        QVERIFY(!cursor.charFormat().hasProperty(QTextFormat::ForegroundBrush));
        cursor.setPosition(8);
        QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Bold));
        cursor.setPosition(13);
        const QTextCharFormat big = cursor.charFormat();
        QCOMPARE(big.fontPointSize(), 20.0);
        QVERIFY(big.fontItalic());
        QVERIFY(big.fontUnderline());
        QCOMPARE(big.fontFamilies().toStringList(), QStringList{"Arial"});
        QCOMPARE(big.foreground().color(), QColor(0, 0, 255));
    }

    // Paragraphs whose format changes from one to the next, empty ones and those with a word too
    // long to wrap: each block keeps its paragraph's text, runs and wrapping.
    void paragraphsKeepTheirRunsAndWrapping() {
        Fixture fixture;
        const std::string longWord(300, 'w');
        const std::string rtf = "{\\rtf1 a{\\b b\\par c}\\par\\par{\\b " + longWord +
                                "}x\\par\\par{\\i " + longWord + "\\par}d\\b e\\b0 f\\par\\b\\par}";
        fixture.folder.Write("KELVOR.RTF", rtf);
        QVERIFY(fixture.Open(0));
        const RtfDocument source = ReadRtf(rtf);
        QTextDocument* document = fixture.help->RichEditHelp->document();
        QCOMPARE(document->blockCount(), int(source.paragraphs.size()));
        QTextBlock block = document->firstBlock();
        for (const RtfParagraph& paragraph : source.paragraphs) {
            QCOMPARE(block.text(), QString::fromStdU16String(paragraph.Text()));
            QCOMPARE(block.blockFormat().nonBreakableLines(), paragraph.HasOverlongWord());
            int position = block.position();
            for (const RtfRun& run : paragraph.runs) {
                for (std::size_t i = 0; i < run.text.size(); ++i) {
                    QTextCursor cursor(document);
                    cursor.setPosition(++position);
                    QCOMPARE(cursor.charFormat().fontWeight(),
                             int(run.bold ? QFont::Bold : QFont::Normal));
                    QCOMPARE(cursor.charFormat().fontItalic(), run.italic);
                }
            }
            block = block.next();
        }
    }

    // A help file too long to go in at once: the caret's topic shows at once and the rest
    // follows while the window waits, formats and wrapping intact across the steps; a reload on
    // the way starts afresh rather than mixing two fillings.
    void longDocumentArrivesWholeInSteps() {
        Fixture fixture;
        std::string rtf = "{\\rtf1 ";
        for (std::size_t i = 0; i < 3 * kParagraphsBelowCaret; ++i) {
            rtf += (i % 3 == 0 ? "{\\b p" : "{\\i p") + std::to_string(i) + "}";
            rtf += i % 1000 == 999 ? std::string(300, 'w') + "\\par " : "\\par ";
        }
        fixture.folder.Write("KELVOR.RTF", rtf + "}");
        const RtfDocument source = ReadRtf(rtf + "}");
        const QString whole = QString::fromStdU16String(source.PlainText());
        const int position = int(whole.indexOf("p100\n"));

        QVERIFY(fixture.Open(position));
        fixture.help->FormActivate();
        QCOMPARE(LineAtCaret(fixture.Caret()), QString("p100"));
        QTextDocument* document = fixture.help->RichEditHelp->document();
        QTRY_COMPARE(document->blockCount(), int(source.paragraphs.size()));
        QString raw = document->toRawText();
        raw.replace(QChar::ParagraphSeparator, '\n');
        QCOMPARE(raw + '\n', whole);
        QTextBlock block = document->firstBlock();
        for (const RtfParagraph& paragraph : source.paragraphs) {
            QCOMPARE(block.blockFormat().nonBreakableLines(), paragraph.HasOverlongWord());
            QTextCursor cursor(block);
            cursor.movePosition(QTextCursor::NextCharacter);
            QCOMPARE(cursor.charFormat().fontWeight(),
                     int(paragraph.runs[0].bold ? QFont::Bold : QFont::Normal));
            block = block.next();
        }
    }

    void workingFolderCopyComesFirst() {
        Fixture fixture;
        fixture.folder.Write("KELVOR.RTF", "{\\rtf1 local copy\\par}");
        QVERIFY(fixture.Open(0));
        QCOMPARE(fixture.help->RichEditHelp->toPlainText(), QString("local copy"));
    }

    void plainTextDocumentUsesTheBoxFont() {
        Fixture fixture;
        fixture.folder.Write("KELVOR.RTF", "first line\r\nsecond line\r\n");
        QVERIFY(fixture.Open(11));
        QCOMPARE(LineAtCaret(fixture.Caret()), QString("second line"));
        QTextCursor cursor = fixture.Caret();
        cursor.movePosition(QTextCursor::Right);
        // No font or size of its own: the text shows in the box's 13-pixel Courier New.
        QVERIFY(!cursor.charFormat().hasProperty(QTextFormat::FontFamilies));
        QVERIFY(!cursor.charFormat().hasProperty(QTextFormat::FontPointSize));
        QVERIFY(!cursor.charFormat().hasProperty(QTextFormat::FontPixelSize));
        const QFont documentFont = fixture.help->RichEditHelp->document()->defaultFont();
        QCOMPARE(documentFont.family(), QString("Courier New"));
        QCOMPARE(documentFont.pixelSize(), 13);
    }

    void editedDocumentIsReloadedAtTheNextOpening() {
        Fixture fixture;
        fixture.folder.Write("KELVOR.RTF", "{\\rtf1 first version\\par}");
        QVERIFY(fixture.Open(6));
        QCOMPARE(fixture.help->RichEditHelp->toPlainText(), QString("first version"));
        fixture.help->close();

        fixture.folder.Write("KELVOR.RTF", "{\\rtf1 second\\par version\\par}");
        QVERIFY(fixture.Open(7));
        QCOMPARE(fixture.help->RichEditHelp->toPlainText(), QString("second\nversion"));
        QCOMPARE(LineAtCaret(fixture.Caret()), QString("version"));
    }

    // Coming back from another window (the PDF viewer, say) loads the document again and
    // returns the caret to the topic.
    void reactivationReloadsAndReturnsToTheTopic() {
        Fixture fixture;
        fixture.folder.Write("KELVOR.RTF", "{\\rtf1 one\\par two\\par three\\par}");
        QVERIFY(fixture.Open(4));
        QTextCursor moved = fixture.Caret();
        moved.setPosition(9);
        fixture.help->RichEditHelp->setTextCursor(moved);
        fixture.folder.Write("KELVOR.RTF", "{\\rtf1 one\\par TWO\\par three\\par}");

        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        fixture.help->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fixture.help.get()));
        QCOMPARE(fixture.Caret().position(), 4);
        QCOMPARE(LineAtCaret(fixture.Caret()), QString("TWO"));
    }

    void releasingF1Closes() {
        Fixture fixture;
        QVERIFY(fixture.Open(1466));
        QTest::keyPress(fixture.help->RichEditHelp, Qt::Key_F2);
        QTest::keyRelease(fixture.help->RichEditHelp, Qt::Key_F2);
        QVERIFY(fixture.help->isVisible());
        QTest::keyRelease(fixture.help->RichEditHelp, Qt::Key_F1, Qt::NoModifier);
        QVERIFY(!fixture.help->isVisible());
    }

    void rightButtonOpensGraphsPdfAndKeepsTheWindow() {
        Fixture fixture;
        fixture.folder.Write("GRAPHS.PDF", "%PDF-1.4\n");
        QVERIFY(fixture.Open(1466));
        QTest::mousePress(fixture.help->RichEditHelp->viewport(), Qt::RightButton, {},
                          QPoint(40, 40));
        QCOMPARE(fixture.dialogs.openedDocuments.size(), 1);
        QCOMPARE(fixture.dialogs.openedDocuments[0], fixture.folder / "GRAPHS.PDF");
        QVERIFY(fixture.help->isVisible());

        // The left button keeps its ordinary text behaviour.
        QTest::mouseClick(fixture.help->RichEditHelp->viewport(), Qt::LeftButton, {},
                          QPoint(40, 40));
        QCOMPARE(fixture.dialogs.openedDocuments.size(), 1);
    }

    void graphsPdfFallsBackToTheInstalledCopy() {
        Fixture fixture;
        TempFolder installed;
        installed.Write("GRAPHS.PDF", "%PDF-1.4\n");
        fixture.help->SetInstalledFolders({fixture.folder / "missing", installed.path()});
        fixture.help->RichEditHelpMouseDown(Qt::RightButton);
        fixture.help->RichEditHelpMouseDown(Qt::MiddleButton);
        QCOMPARE(fixture.dialogs.openedDocuments.size(), 1);
        QCOMPARE(fixture.dialogs.openedDocuments[0], installed / "GRAPHS.PDF");

        // None anywhere: the desktop is asked for the working folder's copy and reports it.
        fixture.help->SetInstalledFolders({});
        fixture.help->RichEditHelpMouseDown(Qt::RightButton);
        QCOMPARE(fixture.dialogs.openedDocuments.size(), 2);
        QCOMPARE(fixture.dialogs.openedDocuments[1], fixture.folder / "GRAPHS.PDF");
        QVERIFY(fixture.messages.entries.empty());
    }

    void missingDocumentIsReportedOncePerOpening() {
        Fixture fixture;
        fixture.help->SetInstalledFolders({});
        fixture.folder.Write("KELVOR.RTF", "{\\rtf1 was here\\par}");
        QVERIFY(fixture.Open(0));
        QCOMPARE(fixture.help->RichEditHelp->toPlainText(), QString("was here"));
        fixture.help->close();
        std::filesystem::remove(fixture.folder / "KELVOR.RTF");

        QVERIFY(fixture.Open(1466));
        QCOMPARE(fixture.messages.entries.size(), size_t(1));
        QCOMPARE(fixture.messages.entries[0].kind, RecordingMessages::Entry::Error);
        QVERIFY(QString::fromStdString(fixture.messages.entries[0].text).contains("KELVOR.RTF"));
        QVERIFY(fixture.help->RichEditHelp->toPlainText().isEmpty());
        QCOMPARE(fixture.Caret().position(), 0);

        // The box that reports it deactivates the window; coming back must not report again.
        fixture.help->FormActivate();
        QCOMPARE(fixture.messages.entries.size(), size_t(1));
        fixture.help->close();

        QVERIFY(fixture.Open(1466));
        QCOMPARE(fixture.messages.entries.size(), size_t(2));
    }

    // A folder, a pipe (which would block the open) and a file too large to lay out.
    void unreadableDocumentIsReported() {
        const std::vector<std::function<void(const std::filesystem::path&)>> makers = {
            [](const std::filesystem::path& path) { std::filesystem::create_directory(path); },
            [](const std::filesystem::path& path) { QCOMPARE(::mkfifo(path.c_str(), 0644), 0); },
            [](const std::filesystem::path& path) {
                std::ofstream{path};
                std::filesystem::resize_file(path, kHelpFileSizeLimit + 1);
            },
        };
        for (const auto& make : makers) {
            Fixture fixture;
            make(fixture.folder / "KELVOR.RTF");
            QVERIFY(fixture.Open(0));
            QCOMPARE(fixture.messages.entries.size(), size_t(1));
            QCOMPARE(fixture.messages.entries[0].kind, RecordingMessages::Entry::Error);
            QVERIFY(fixture.messages.entries[0].text.find("KELVOR.RTF") != std::string::npos);
            QVERIFY(fixture.help->RichEditHelp->toPlainText().isEmpty());
        }
    }

    void openHelpSetsThePositionAndWaits() {
        Fixture fixture;
        fixture.state.windows.Use(fixture.help.get());
        int caretWhileOpen = -1;
        QString lineWhileOpen;
        QTimer::singleShot(0, [&] {
            QVERIFY(QTest::qWaitForWindowActive(fixture.help.get()));
            caretWhileOpen = fixture.Caret().position();
            lineWhileOpen = LineAtCaret(fixture.Caret());
            QTest::keyRelease(fixture.help->RichEditHelp, Qt::Key_F1);
        });
        OpenHelp(fixture.state, help::kCalculateResponse.position);
        QCOMPARE(fixture.state.shell.HelpPosition, help::kCalculateResponse.position);
        QCOMPARE(caretWhileOpen, help::kCalculateResponse.position);
        QCOMPARE(lineWhileOpen, QString("2.5  Calculate Response"));
        QVERIFY(!fixture.help->isVisible());
    }

    void openHelpMakesTheHelpWindowWhenThereIsNoneYet() {
        TempFolder folder;
        folder.Write("KELVOR.RTF", "{\\rtf1 alpha\\par beta\\par}");
        RecordingMessages messages;
        testing::RecordingDialogs dialogs;
        AppState state(folder.path(), messages, dialogs);
        QString lineWhileOpen;
        QTimer::singleShot(0, [&] {
            auto* help = qobject_cast<TFormHelp*>(QApplication::activeModalWidget());
            QVERIFY(help != nullptr);
            QVERIFY(QTest::qWaitForWindowActive(help));
            lineWhileOpen = help->RichEditHelp->textCursor().block().text();
            help->close();
        });
        OpenHelp(state, 6);
        QCOMPARE(lineWhileOpen, QString("beta"));
        QCOMPARE(state.shell.HelpPosition, 6);
        QVERIFY(state.windows.Has<TFormHelp>());
    }
};

} // namespace kelvor::app

KELVOR_APP_TEST_MAIN(kelvor::app::HelpWindowTest)
#include "help_window_test.moc"
