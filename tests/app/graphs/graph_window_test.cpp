// SPDX-License-Identifier: GPL-3.0-or-later
// The graph window under the offscreen platform: the amplitude graph it shows is the renderer's
// picture of the shared sweep, superimposing across two graph cycles, Save As, closing (the
// closing picture and superimposing), Print, Display Again, Calculate Again, F1, the colour
// choice, and the test pattern with its big-bitmap option.

#include "analysis/sweep.h"
#include "app/common/file_paths.h"
#include "app/graphs/graph_parameters_window.h"
#include "app/graphs/graph_window.h"
#include "app/printing/print_target.h"
#include "app/printing/printing_window.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/help_opening.h"
#include "app/support/unwritable_folder.h"
#include "render/amplitude_graph.h"
#include "render/graph_canvas.h"
#include "render/test_pattern.h"
#include "settings/settings_file.h"
#include "solver/response.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>
#include <sys/stat.h>

using namespace kelvor;
using Entry = testing::RecordingMessages::Entry;

class GraphWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::AppFixture> fixture;
    std::unique_ptr<app::TFormVGA> window;

    app::AppState& State() { return fixture->state; }

    // What the frequency scale window leaves: the sample swept over 100 Hz to 1 kHz.
    void Sweep(int32_t fcode = 8) {
        const FrequencyScale scale = SetupFrequencyScale(fcode, 0, 0);
        const LoadedCircuit circuit = LoadCircuit(fixture->folder.path(), State().circuit);
        State().graph.scale = scale;
        State().graph.sweep = RunSweep(scale, circuit, State().solver, State().messages);
    }

    // What the graph parameter window leaves in the settings file, which the window reads.
    void Choose(int32_t span, int32_t top) {
        State().settings.GraphScale = span;
        State().settings.GraphTop = top;
        WriteSettings(fixture->folder.path(), State().settings, State().shell.TodayText);
    }

    render::AmplitudeGraphInput ExpectedInput() {
        render::AmplitudeGraphInput input;
        input.FCode = State().graph.scale.FCode;
        input.SweepGain = State().graph.sweep.SweepGain;
        input.GraphScale = State().settings.GraphScale;
        input.GraphTop = State().settings.GraphTop;
        input.Bold = State().graph.BoldGraph;
        input.DatafileName = "HPFILTER.DAT";
        input.RevisionNumber = 1;
        input.TodayText = State().shell.TodayText;
        return input;
    }

    QImage Loaded(const char* name) {
        return QImage(QString::fromStdString((fixture->folder / name).string()))
            .convertToFormat(QImage::Format_RGB32);
    }

    bool Exists(const char* name) { return std::filesystem::exists(fixture->folder / name); }

    QStringList Captions(QMenu* menu) {
        QStringList captions;
        for (QAction* action : menu->actions()) {
            captions << (action->isSeparator() ? QString("-") : action->text());
        }
        return captions;
    }

private slots:
    void init() {
        fixture = std::make_unique<testing::AppFixture>();
        QVERIFY(fixture->Parse());
        State().shell.AnalysisMode = app::AnalysisMode::Amplitude;
        State().graph.GridLinesPending = true;
        Choose(50, 10);
        Sweep();
        window = std::make_unique<app::TFormVGA>(State());
    }
    void cleanup() {
        window.reset();
        fixture.reset();
    }

    void drawsTheSweptGraphWithTheRenderersPixels() {
        window->show();
        QCOMPARE(window->windowTitle(), QString("   AMPLITUDE/FREQUENCY RESPONSE"));
        QCOMPARE(window->ImageVGA->geometry(), QRect(9, 4, 703, 531));
        QCOMPARE(window->centralWidget()->size(), QSize(732, 541));

        render::AmplitudeGraphInput input = ExpectedInput();
        input.GridLinesPending = true;
        QImage expected = render::BlankAmplitudePicture();
        render::DrawAmplitudeGraph(expected, input);
        QCOMPARE(State().graph.picture, expected);
        QCOMPARE(window->ImageVGA->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                 expected);
        QVERIFY2(fixture->dialogs.offeredColours.isEmpty(), "no colour asked without Colour Graph");
        QVERIFY(!State().graph.GridLinesPending);
        QVERIFY(fixture->messages.entries.empty());
    }

    void menusCarryTheirCaptions() {
        QCOMPARE(window->MenuFile->title(), QString("      &File"));
        QCOMPARE(Captions(window->MenuFile),
                 QStringList({"&Save As", "-", "&Print", "P&age Setup"}));
        QCOMPARE(window->MenuRepeat->title(), QString("   &Repeat"));
        QCOMPARE(Captions(window->MenuRepeat),
                 QStringList({"&Display Again", "&Calculate Again", "-", "&Main Menu"}));
        QCOMPARE(window->OptionKeepGreyBorder->text(), QString(" "));
        window->SetCommandMenusVisible(false);
        QVERIFY(!window->MenuFile->menuAction()->isVisible());
        QVERIFY(!window->MenuRepeat->menuAction()->isVisible());
    }

    // The graph parameter window keeps the picture when the scales are unchanged and
    // superimposing was armed by the previous close; the grid stays the first curve's.
    void superimposesAcrossTwoGraphCycles() {
        State().graph.Superimpose = true;
        window->show();
        window->MainMenuClick();
        QVERIFY(State().graph.SuperimposeArmed);

        // A second circuit through the same scales: the same sweep 12 dB lower.
        for (long double& gain : State().graph.sweep.SweepGain) {
            gain -= 12;
        }
        const render::AmplitudeGraphInput second = ExpectedInput();
        window->show();

        render::AmplitudeGraphInput first = ExpectedInput();
        for (long double& gain : first.SweepGain) {
            gain += 12;
        }
        first.GridLinesPending = true;
        QImage expected = render::BlankAmplitudePicture();
        render::DrawAmplitudeGraph(expected, first);
        const int firstCurveRow = render::CurveRow(first.SweepGain[600], 50, 10, false);
        render::DrawAmplitudeGraph(expected, second);
        QCOMPARE(State().graph.picture, expected);
        QVERIFY(render::ValueFromColour(
                    State().graph.picture.pixelColor(623 + 37, firstCurveRow)) == render::kBlack);
        QVERIFY(!State().graph.GridLinesPending);
    }

    void closingSavesTheClosingPictureAndArmsSuperimposing() {
        window->show();
        QVERIFY(!Exists("KELVOR.BMP"));
        window->close();
        QCOMPARE(Loaded("KELVOR.BMP"), State().graph.picture);
        QVERIFY2(!State().graph.SuperimposeArmed, "Superimpose is not ticked");

        State().graph.Superimpose = true;
        window->show();
        window->close();
        QVERIFY(State().graph.SuperimposeArmed);

        // Unticked, the flag is left as it was.
        State().graph.Superimpose = false;
        window->show();
        window->close();
        QVERIFY(State().graph.SuperimposeArmed);
        QVERIFY(fixture->messages.entries.empty());
    }

    void saveAsWritesABitmapAndAsksBeforeOverwriting() {
        window->show();
        fixture->dialogs.bitmapFile =
            QString::fromStdString((fixture->folder / "HPFILTER.bmp").string());
        window->SaveAsClick();
        QCOMPARE(QFileInfo(fixture->dialogs.offeredBitmapPaths.value(0)).fileName(),
                 QString("HPFILTER.bmp"));
        QCOMPARE(Loaded("HPFILTER.bmp"), State().graph.picture);
        QVERIFY(fixture->messages.entries.empty());

        // An existing file is replaced only after Yes.
        fixture->folder.Write("HPFILTER.bmp", "old");
        fixture->messages.answers = {Answer::No};
        window->SaveAsClick();
        QCOMPARE(fixture->folder.Read("HPFILTER.bmp"), std::string("old"));
        QCOMPARE(fixture->messages.entries.back().text,
                 std::string(" File Already Exists  -  Overwrite ? "));
        fixture->messages.answers = {Answer::Yes};
        window->SaveAsClick();
        QCOMPARE(Loaded("HPFILTER.bmp"), State().graph.picture);
        QCOMPARE(fixture->messages.entries.size(), size_t{2});

        // A name that is a loop of symbolic links says why it cannot be saved.
        std::filesystem::create_symlink("loop.bmp", fixture->folder / "loop.bmp");
        fixture->dialogs.bitmapFile = app::PathToQt(fixture->folder / "loop.bmp");
        window->SaveAsClick();
        QCOMPARE(fixture->messages.entries.back().text,
                 std::string("Cannot save loop.bmp : Too many levels of symbolic links"));
        QCOMPARE(fixture->messages.entries.size(), size_t{3});

        // A cancelled dialog does nothing.
        fixture->dialogs.bitmapFile.reset();
        window->SaveAsClick();
        QCOMPARE(fixture->messages.entries.size(), size_t{3});
    }

    void colourChoiceKeepsTheDialogsColour() {
        State().graph.ColourGraph = true;
        fixture->dialogs.colour = QColor(255, 0, 0);
        window->show();
        render::AmplitudeGraphInput input = ExpectedInput();
        input.GridLinesPending = true;
        input.PenColour = render::kRed;
        QImage expected = render::BlankAmplitudePicture();
        render::DrawAmplitudeGraph(expected, input);
        QCOMPARE(State().graph.picture, expected);

        // Cancelled the second time: the dialog still holds red.
        fixture->dialogs.colour.reset();
        window->close();
        window->show();
        QCOMPARE(fixture->dialogs.offeredColours,
                 QList<QColor>({QColor(Qt::black), QColor(255, 0, 0)}));
    }

    void calculateAgainReopensTheScalesAndCloses() {
        window->show();
        window->CalculateAgainClick();
        QVERIFY(State().shell.ReopenFreqScales);
        QVERIFY(!window->isVisible());
        QVERIFY(Exists("KELVOR.BMP"));
    }

    void displayAgainShowsTheParameterWindow() {
        app::TFormFResults parameters(State());
        State().windows.Use(&parameters);
        window->show();
        window->DisplayAgainClick();
        QVERIFY(!window->isVisible());
        QVERIFY(parameters.isVisible());
        QVERIFY(!parameters.isModal());
        QVERIFY(Exists("KELVOR.BMP"));
        parameters.hide();
        State().windows.Use<app::TFormFResults>(nullptr);
    }

    // A working folder whose name is not plain ASCII: the proposed picture and the closing one
    // land in it.
    void picturesInANonAsciiWorkingFolder() {
        const std::filesystem::path cafe = fixture->folder.path() / app::PathFromQt("café");
        std::filesystem::create_directory(cafe);
        State().workingFolder = cafe;
        window->show();
        fixture->messages.entries.clear(); // the sample Datafile made in the new folder
        fixture->dialogs.bitmapFile = app::PathToQt(cafe / "HPFILTER.bmp");
        window->SaveAsClick();
        QCOMPARE(fixture->dialogs.offeredBitmapPaths.back(), *fixture->dialogs.bitmapFile);
        window->close();
        QVERIFY(fixture->messages.entries.empty());
        for (const char* name : {"HPFILTER.bmp", "KELVOR.BMP"}) {
            QCOMPARE(QImage(app::PathToQt(cafe / name)).convertToFormat(QImage::Format_RGB32),
                     State().graph.picture.convertToFormat(QImage::Format_RGB32));
        }
    }

    // The closing picture of a working folder that cannot be written: the warning says why.
    void closingPictureThatCannotBeSavedSaysWhy() {
        testing::UnwritableFolder work(testing::UnwritableFolder::Fault::ReadOnly, {});
        if (!work.ready()) {
            QSKIP("this machine cannot make a folder that refuses writes");
        }
        window->show();
        State().workingFolder = work.path();
        fixture->messages.entries.clear();
        window->close();
        QCOMPARE(fixture->messages.entries.size(), size_t{1});
        const std::string& text = fixture->messages.entries[0].text;
        QVERIFY2(text.find("KELVOR.BMP") != std::string::npos, text.c_str());
        QVERIFY2(text.find(work.reason()) != std::string::npos, text.c_str());
    }

    void printsWhereThePageSetupPlacesIt() {
        const QString pdf = QString::fromStdString((fixture->folder / "graph.pdf").string());
        fixture->dialogs.pdfFile = pdf;
        window->show();
        window->PrintClick();
        QCOMPARE(fixture->dialogs.printerSetups, 0);
        QVERIFY(QFileInfo(pdf).size() > 0);
        // At the 600 dots per inch of the page setup's sizes: the default 200 % graph is 2.3 by
        // 1.8 inches, not half that.
        QCOMPARE(State().printer().resolution(), 600);
        QCOMPARE(State().shell.PrintJobName, std::string("KELVOR.BMP"));
        QCOMPARE(State().printer().docName(), QString("KELVOR.BMP"));
        QVERIFY(fixture->messages.entries.empty());
    }

    void graphLargerThanThePageIsPrintedOnlyAfterYes() {
        const QString pdf = QString::fromStdString((fixture->folder / "big.pdf").string());
        fixture->dialogs.pdfFile = pdf;
        fixture->state.settings.GraphScaleXY = "3000";
        WriteSettings(fixture->folder.path(), State().settings, State().shell.TodayText);
        window->show();

        fixture->messages.answers = {Answer::No};
        window->PrintClick();
        QCOMPARE(fixture->messages.entries.size(), size_t{1});
        QCOMPARE(fixture->messages.entries[0].kind, Entry::Question);
        QCOMPARE(fixture->messages.entries[0].text,
                 std::string("Graph exceeds page size  \r\r    Carry on printing ?"));
        QVERIFY(!QFileInfo::exists(pdf));

        fixture->messages.answers = {Answer::Yes};
        window->PrintClick();
        QVERIFY(QFileInfo(pdf).size() > 0);
    }

    void unreadableMarginsStopThePrint() {
        const QString pdf = QString::fromStdString((fixture->folder / "bad.pdf").string());
        fixture->dialogs.pdfFile = pdf;
        fixture->state.settings.GraphOriginX = "left";
        WriteSettings(fixture->folder.path(), State().settings, State().shell.TodayText);
        window->show();
        window->PrintClick();
        QCOMPARE(fixture->messages.entries.size(), size_t{1});
        QCOMPARE(fixture->messages.entries[0].text, std::string(" Invalid Parameters    "));
        QVERIFY(!QFileInfo::exists(pdf));
    }

    void f1OpensHelpAtTheGraphTopic() {
        window->show();
        const testing::HelpOpening help = testing::ReleaseF1(window.get(), State());
        QCOMPARE(help.position, 18453);
        QVERIFY(help.shown);
    }

    void testPatternIsDrawnAndNotKeptOnClose() {
        State().shell.AnalysisMode = app::AnalysisMode::TestPattern;
        QSignalSpy closed(window.get(), &app::TFormVGA::GraphClosed);
        window->show();
        QCOMPARE(window->windowTitle(), QString("  TEST PATTERN"));
        QCOMPARE(window->ImageVGA->geometry(), QRect(31, 24, 640, 480));
        QCOMPARE(State().graph.picture, render::DrawTestPattern("HPFILTER.DAT", TodayText()));

        // Neither F1 nor Calculate Again does anything here.
        QTest::keyRelease(window.get(), Qt::Key_F1);
        window->CalculateAgainClick();
        QVERIFY(window->isVisible());
        QVERIFY(!State().shell.ReopenFreqScales);

        window->close();
        QVERIFY(!Exists("KELVOR.BMP"));
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed.at(0).at(0).toInt(), 7);
    }

    void bigPcbBitmapTilesTheBoardPicture() {
        State().shell.AnalysisMode = app::AnalysisMode::TestPattern;
        State().BigPcbBitmap = true;
        // Without the board picture: the wider picture, the pattern in its corner, no file.
        window->show();
        QCOMPARE(window->ImageVGA->geometry(), QRect(0, 0, 768, 512));
        const QImage pattern = render::DrawTestPattern("HPFILTER.DAT", TodayText());
        QCOMPARE(State().graph.picture, render::DrawBigPcbPicture(pattern, QImage()));
        QVERIFY(!Exists("pcb MK14_BIG.bmp"));
        window->close();

        QImage tile(128, 128, QImage::Format_RGB32);
        tile.fill(Qt::white);
        for (int i = 0; i < 128; ++i) {
            tile.setPixelColor(i, i, QColor(0, 128, 0));
            tile.setPixelColor(i, 64, QColor(200, 100, 0));
        }
        QVERIFY(tile.save(QString::fromStdString((fixture->folder / "pcb Mk14.bmp").string())));
        window->show();
        const QImage big = render::DrawBigPcbPicture(pattern, tile);
        QCOMPARE(State().graph.picture, big);
        QCOMPARE(Loaded("pcb MK14_BIG.bmp"), big);
        QVERIFY(fixture->messages.entries.empty());
    }

    // A board picture that cannot be read never blocks the window: one warning saying why, and
    // the picture without the board.
    void unreadableBoardPictureIsAWarning() {
        State().shell.AnalysisMode = app::AnalysisMode::TestPattern;
        State().BigPcbBitmap = true;
        const std::filesystem::path tile = fixture->folder / "pcb Mk14.bmp";
        const std::string name = tile.string();
        const struct {
            std::function<void()> make;
            std::string warning;
        } cases[] = {
            {[&] { QVERIFY(::mkfifo(tile.c_str(), 0600) == 0); },
             "Cannot open file " + name + " : it is not a regular file"},
            {[&] { std::filesystem::create_symlink(tile, tile); },
             "Cannot open file " + name + " : Too many levels of symbolic links"},
            {[&] { std::filesystem::create_directory(tile); },
             "Cannot open file " + name + " : it is a folder"},
            {[&] { std::ofstream(tile) << "not a picture"; }, "Cannot read pcb Mk14.bmp"},
        };
        const QImage withoutBoard = render::DrawBigPcbPicture(
            render::DrawTestPattern("HPFILTER.DAT", TodayText()), QImage());
        for (const auto& testCase : cases) {
            std::filesystem::remove(tile);
            fixture->messages.entries.clear();
            testCase.make();
            window->show();
            QCOMPARE(fixture->messages.entries.size(), size_t{1});
            QCOMPARE(fixture->messages.entries.back().text, testCase.warning);
            QCOMPARE(State().graph.picture, withoutBoard);
            QVERIFY(!Exists("pcb MK14_BIG.bmp"));
            window->close();
        }
    }
};

KELVOR_APP_TEST_MAIN(GraphWindowTest)
#include "graph_window_test.moc"
