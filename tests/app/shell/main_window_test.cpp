// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bode/bode_window.h"
#include "app/bode/tolerance_window.h"
#include "app/common/file_paths.h"
#include "app/common/qt_text.h"
#include "app/response/response_window.h"
#include "app/schematic/schematic_window.h"
#include "app/shell/main_window.h"
#include "app/shell/setup_window.h"
#include "app/state/help_topics.h"
#include "app/support/action_captions.h"
#include "app/support/app_test_main.h"
#include "app/support/calculation_wait.h"
#include "app/support/recording_dialogs.h"
#include "app/support/unwritable_folder.h"
#include "app/timeresp/pulse_window.h"
#include "app/timeresp/square_wave_window.h"
#include "circuit/sample_datafile.h"
#include "files/file_io.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"
#include "text/date_text.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>

using namespace kelvor;
using Entry = testing::RecordingMessages::Entry;

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::TempFolder> folder;
    std::unique_ptr<testing::RecordingMessages> messages;
    testing::RecordingDialogs dialogs;
    std::unique_ptr<app::AppState> state;
    std::unique_ptr<app::TFormMain> window;

    void Start() {
        state = std::make_unique<app::AppState>(folder->path(), *messages, dialogs);
        window = std::make_unique<app::TFormMain>(*state);
        window->show();
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& entry : messages->entries) {
            texts.push_back(entry.text);
        }
        return texts;
    }

private slots:
    void init() {
        dialogs = testing::RecordingDialogs();
        folder = std::make_unique<testing::TempFolder>();
        messages = std::make_unique<testing::RecordingMessages>();
    }
    void cleanup() {
        window.reset();
        state.reset();
        messages.reset();
        folder.reset();
    }

    void firstStartInAnEmptyFolder() {
        folder->Write("RECORDS.TMP", "stale");
        Start();
        QCOMPARE(Texts(), std::vector<std::string>{"  Making new file HPFILTER.DAT  "});
        QCOMPARE(messages->entries[0].kind, Entry::Warning);
        QCOMPARE(folder->Read("HPFILTER.DAT"), SampleDatafileText(TodayText()));
        QVERIFY(folder->Read("KELVOR.INI").find("Datafilename=HPFILTER.DAT") != std::string::npos);
        QVERIFY(!std::filesystem::exists(folder->path() / "RECORDS.TMP"));
        QCOMPARE(state->shell.DatafileName, std::string("HPFILTER.DAT"));
        QVERIFY(state->shell.DatafileChanged);
        QCOMPARE(window->StatusText(), "Using Datafile  :  HPFILTER.DAT" +
                                           QString(35 - 12 + 3, ' ') + app::ToQt(TodayText()));
        QCOMPARE(window->windowTitle(), QString("     KELVOR2007  -  100"));

        // The second start finds both files: no message at all.
        cleanup();
        messages = std::make_unique<testing::RecordingMessages>();
        folder = std::make_unique<testing::TempFolder>();
        folder->Write("HPFILTER.DAT", "x");
        Start();
        QVERIFY(messages->entries.empty());
    }

    // A working folder that cannot be written: the program starts with what it has, names the
    // folder and the reason once, and every later save says why it failed (the settings once).
    void startsInAFolderThatCannotBeWritten() {
        using Fault = testing::UnwritableFolder::Fault;
        const std::string sample = SampleDatafileText("1 Jan 2026");
        const struct {
            Fault fault;
            bool withSample;
        } cases[] = {{Fault::ReadOnly, true}, {Fault::Full, true}, {Fault::ReadOnly, false}};
        for (const auto& entry : cases) {
            testing::UnwritableFolder work(
                entry.fault,
                entry.withSample
                    ? std::vector<std::pair<std::string, std::string>>{{"HPFILTER.DAT", sample}}
                    : std::vector<std::pair<std::string, std::string>>{});
            if (!work.ready()) {
                QSKIP("this machine cannot make a folder that refuses writes");
            }
            window.reset();
            messages->entries.clear();
            state = std::make_unique<app::AppState>(work.path(), *messages, dialogs);
            window = std::make_unique<app::TFormMain>(*state);
            window->show();
            int folderWarnings = 0;
            for (const std::string& text : Texts()) {
                if (text.find("working folder cannot be written") != std::string::npos) {
                    ++folderWarnings;
                    QVERIFY(text.find(work.path().string()) != std::string::npos);
                    QVERIFY(text.find(work.reason()) != std::string::npos);
                }
            }
            QCOMPARE(folderWarnings, 1);
            QCOMPARE(state->shell.DatafileName, std::string("HPFILTER.DAT"));

            if (entry.withSample) { // the parse cannot write its record file
                messages->entries.clear();
                window->ResponseClick();
                QCOMPARE(messages->entries.size(), size_t{1});
                QCOMPARE(messages->entries[0].kind, Entry::Error);
                QVERIFY2(Texts()[0].find("RECORDS.TMP") != std::string::npos &&
                             Texts()[0].find(work.reason()) != std::string::npos,
                         Texts()[0].c_str());
            }
            messages->entries.clear();
            window->OpenDatafileNamed("NEW.dat"); // the skeleton cannot be written
            QCOMPARE(messages->entries.size(), size_t{1});
            QVERIFY(Texts()[0].find("NEW.dat") != std::string::npos);
            QVERIFY(Texts()[0].find(work.reason()) != std::string::npos);
            window.reset();
            state.reset();
        }
    }

    void menusCarryTheirCaptionsAndSeparators() {
        Start();
        const QList<QAction*> top = window->menuBar()->actions();
        QCOMPARE(testing::Captions(top), (QStringList{" &File ", " &Edit ", " &Response ",
                                                      " &Graphs ", " &Help ", " &Setup "}));
        QCOMPARE(
            testing::Captions(top[0]->menu()->actions()),
            (QStringList{"&Open ...", QString::fromUtf8("Open E&xample\u2026"), "Recent &Datafiles",
                         "-", QString::fromUtf8("Export SPICE Netlist\u2026"),
                         QString::fromUtf8("Import SPICE Netlist\u2026"), "-", "&Print ...",
                         "P&age Setup", "-", "E&xit ..."}));
        const QList<QAction*> graphs = top[3]->menu()->actions();
        QCOMPARE(testing::Captions(graphs),
                 (QStringList{"&Amplitude ...", "-", "&SquareWave ...", "-", "&Pulse ...", "-",
                              "&Bode Analyser ...", "S&chematic ..."}));
        QVERIFY(graphs[0]->isEnabled());
        QVERIFY(graphs[2]->isEnabled());
        QVERIFY(graphs[4]->isEnabled());
        const QStringList help = testing::Captions(top[4]->menu()->actions());
        QCOMPARE(help.size(), 1 + 1 + 17 + 7);
        QCOMPARE(help[0], QString("                   HELP  MENU"));
        QCOMPARE(help[1], QString("-"));
        QCOMPARE(help[2], QString("1.  Introduction"));
        QCOMPARE(help[3], QString("-"));
        QCOMPARE(help[5], QString("     2.1  Open a Datfile"));
        QCOMPARE(help[13], QString("     2.9  Help and Setup"));
        QCOMPARE(help[14], QString("-"));
        QCOMPARE(help[17], QString("4.  Hardware && Software"));
        QCOMPARE(help[19], QString("5.  TOLVARN Software"));
        QCOMPARE(help[20], QString("-"));
        QCOMPARE(help[25], QString("8.  Schematic View"));
    }

    // The topics after the original five are on the menu too, each opening help at its heading.
    void laterHelpTopicsOpenAtTheirHeadings() {
        Start();
        const QList<QAction*> items = window->menuBar()->actions()[4]->menu()->actions();
        for (const app::HelpPlace& place :
             {app::help::kBodeAnalyser, app::help::kToleranceAnalysis, app::help::kSchematicView}) {
            const auto item = std::find_if(items.begin(), items.end(), [&](QAction* action) {
                return action->text() == QString(place.heading);
            });
            QVERIFY2(item != items.end(), place.heading);
            int32_t opened = -1;
            QTimer::singleShot(0, [&] {
                opened = state->shell.HelpPosition;
                if (QWidget* help = QApplication::activeModalWidget()) {
                    help->close();
                }
            });
            (*item)->trigger();
            QCOMPARE(opened, place.position);
        }
    }

    // Minimise and close boxes only, centred, with the picture under the banner and the status
    // panel filling the client area.
    void theWindowIsCentredWithMinimiseAndCloseOnly() {
        folder->Write("HPFILTER.DAT", SampleDatafileText("1 Jan 2026"));
        Start();
        const Qt::WindowFlags flags = window->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        const QRect area = window->screen()->availableGeometry();
        QVERIFY((window->frameGeometry().center() - area.center()).manhattanLength() <= 2);
        const auto* picture = window->findChild<QLabel*>("Picture");
        QVERIFY(picture != nullptr);
        QCOMPARE(picture->geometry(), window->centralWidget()->rect());
        QCOMPARE(window->centralWidget()->size(), QSize(732, 514));
    }

    // The windows are made in the start-up order, after the main window; the Bode analyser
    // comes last.
    void theOtherWindowsAreCreatedInOrder() {
        folder->Write("HPFILTER.DAT", SampleDatafileText("1 Jan 2026"));
        Start();
        QStringList made;
        for (const QObject* child : window->children()) {
            const auto* widget = qobject_cast<const QWidget*>(child);
            if (widget != nullptr && widget->isWindow()) {
                made << child->metaObject()->className();
            }
        }
        QCOMPARE(made, (QStringList{"kelvor::app::TFormSetup", "kelvor::app::TFormGraphSetUp",
                                    "kelvor::app::TFormResponse", "kelvor::app::TFormHelp",
                                    "kelvor::app::TFormPrinting", "kelvor::app::TFormVGA",
                                    "kelvor::app::TFormChk", "kelvor::app::TFormEdt",
                                    "kelvor::app::TFormFreqScales", "kelvor::app::TFormFResults",
                                    "kelvor::app::TFormSqWMenu", "kelvor::app::TFormPMenu",
                                    "kelvor::app::TFormPSet", "kelvor::app::TFormEdt2",
                                    "kelvor::app::TFormBode", "kelvor::app::TFormImgProc"}));
    }

    void setupOpensTheSetupWindow() {
        folder->Write("HPFILTER.DAT", SampleDatafileText("1 Jan 2026"));
        Start();
        QAction* setup = window->menuBar()->actions().at(5);
        QVERIFY(setup->isEnabled());
        QString caption;
        QTimer::singleShot(0, [&] {
            caption = state->windows.Get<app::TFormSetup>().windowTitle();
            state->windows.Get<app::TFormSetup>().close();
        });
        setup->trigger();
        QCOMPARE(caption, QString("      SET UP"));
    }

    void openingAnExistingDatafileUsesOnlyItsName() {
        folder->Write("HPFILTER.DAT", SampleDatafileText("1 Jan 2026"));
        folder->Write("AMP.DAT", SampleDatafileText("1 Jan 2026"));
        Start();
        dialogs.datafile = QString("/somewhere/else/AMP.DAT");
        window->FileOpenClick();
        QCOMPARE(state->shell.DatafileName, std::string("AMP.DAT"));
        QVERIFY(!state->shell.NewDatafile);
        QCOMPARE(state->circuit.NoNodes, 5); // parsed silently
        QVERIFY(std::filesystem::exists(folder->path() / "RECORDS.TMP"));
        QVERIFY(folder->Read("KELVOR.INI").find("Datafilename=AMP.DAT") != std::string::npos);
        QVERIFY(window->StatusText().contains("AMP.DAT"));
        QVERIFY(messages->entries.empty());
    }

    // A name that is not plain ASCII reaches the disk as the file system spells it: the existing
    // "é.dat" of a working folder named "café" is opened, not replaced by a new file, and the
    // next start finds it again.
    void nonAsciiFolderAndFileNames() {
        const std::filesystem::path cafe = folder->path() / app::PathFromQt("café");
        std::filesystem::create_directory(cafe);
        const std::string sample = SampleDatafileText("1 Jan 2026");
        const std::filesystem::path datafile = cafe / app::PathFromQt("é.dat");
        std::ofstream(datafile, std::ios::binary) << sample;
        for (int start = 0; start < 2; ++start) {
            window.reset();
            state = std::make_unique<app::AppState>(cafe, *messages, dialogs);
            window = std::make_unique<app::TFormMain>(*state);
            window->show();
            if (start == 0) {
                dialogs.datafile = app::PathToQt(datafile);
                window->FileOpenClick();
                QVERIFY(!state->shell.NewDatafile);
            }
            QCOMPARE(app::PathToQt(state->shell.DatafileName), QString("é.dat"));
            if (start == 1) { // File/Open proposes the current Datafile, as the disk spells it
                window->FileOpenClick();
                QCOMPARE(dialogs.offeredDatafiles.back(), app::PathToQt(datafile));
            }
            QVERIFY(window->StatusText().startsWith("Using Datafile  :  é.dat "));
            QCOMPARE(ReadWholeFile(datafile), sample);
            QVERIFY(!std::filesystem::exists(cafe / "\xe9.dat")); // no Latin-1 twin made
        }
    }

    // A name that is a loop of symbolic links can be neither opened nor replaced: File/Open and
    // Edit say why and leave it as it is.
    void symbolicLinkLoopIsReportedNotThrown() {
        folder->Write("HPFILTER.DAT", SampleDatafileText("1 Jan 2026"));
        Start();
        const std::filesystem::path loop = folder->path() / "loop.dat";
        std::filesystem::create_symlink("loop.dat", loop);
        window->OpenDatafileNamed(app::PathToQt(loop));
        window->EditClick();
        const std::string expected = "Cannot open loop.dat : Too many levels of symbolic links";
        QCOMPARE(Texts(), (std::vector<std::string>{expected, expected}));
        QCOMPARE(messages->entries[0].kind, Entry::Error);
        QVERIFY(std::filesystem::is_symlink(loop));
    }

    void aNewNameGetsTheSkeletonAndItsWarnings() {
        folder->Write("HPFILTER.DAT", SampleDatafileText("1 Jan 2026"));
        folder->Write("RECORDS.TMP", "old");
        Start();
        window->OpenDatafileNamed("/tmp/my circuit.dat");
        QCOMPARE(state->shell.DatafileName, std::string("my_circuit.dat"));
        QCOMPARE(Texts(), std::vector<std::string>{
                              "\r\n      Space(s) in filename replaced with '_'     \r\n\r\n"
                              "     If file already exists it will not be used.    "});
        QCOMPARE(folder->Read("my_circuit.dat"), NewDatafileSkeleton(TodayText()));
        QVERIFY(state->shell.NewDatafile);
        QVERIFY(!std::filesystem::exists(folder->path() / "RECORDS.TMP"));

        messages->entries.clear();
        const QString longName = QString(25, 'a') + ".dat"; // 29 characters
        window->OpenDatafileNamed(longName);
        QCOMPARE(Texts(), std::vector<std::string>{"\r\n   Filename too long - 24 chars max.    "});
        QCOMPARE(app::ToQt(state->shell.DatafileName), longName);

        window->OpenDatafileNamed(QString(40, 'b') + ".dat"); // cut to 30, losing the extension
        QCOMPARE(state->shell.DatafileName, std::string(30, 'b'));
    }

    void cancellingTheDialogChangesNothing() {
        folder->Write("HPFILTER.DAT", SampleDatafileText("1 Jan 2026"));
        Start();
        std::filesystem::remove(folder->path() / "KELVOR.INI");
        dialogs.datafile.reset();
        window->FileOpenClick();
        QCOMPARE(state->shell.DatafileName, std::string("HPFILTER.DAT"));
        QVERIFY(!std::filesystem::exists(folder->path() / "KELVOR.INI"));
    }

    void responseRefusesABadDatafileAndOpensForAGoodOne() {
        folder->Write("HPFILTER.DAT", "bad\r\n");
        Start();
        window->ResponseClick();
        QCOMPARE(Texts(), std::vector<std::string>{"\r\nCannot Run  -  Error in Datafile  "});
        QCOMPARE(state->shell.AnalysisMode, app::AnalysisMode::Response);

        messages->entries.clear();
        window->GraphsMenuShow();
        QCOMPARE(Texts(), std::vector<std::string>{"\r\nCannot Run  -  Error in Datafile  "});

        folder->Write("HPFILTER.DAT", SampleDatafileText("1 Jan 2026"));
        messages->entries.clear();
        QString gain;
        QTimer::singleShot(0, [&] {
            app::TFormResponse* response = &state->windows.Get<app::TFormResponse>();
            response->EditBoxFreq->setText("1000");
            response->ButtonRespClick();
            gain = response->EditBoxGain->text();
            response->accept();
        });
        window->ResponseClick();
        QCOMPARE(gain, QString("  -0.605"));
        QVERIFY(messages->entries.empty());
    }

    // The Graphs items set AnalysisMode and open their menu window; "&Calculate Again" leaves a
    // reopen flag that the next repaint acts on, and the window clears it when it shows.
    void squareWaveAndPulseOpenAndReopenOnRepaint() {
        folder->Write("HPFILTER.DAT", SampleDatafileText("1 Jan 2026"));
        Start();
        window->GraphsMenuShow();
        QString caption;
        QTimer::singleShot(0, [&] {
            caption = state->windows.Get<app::TFormSqWMenu>().windowTitle();
            state->windows.Get<app::TFormSqWMenu>().ButtonCloseClick();
        });
        window->SquareWaveClick();
        QCOMPARE(state->shell.AnalysisMode, app::AnalysisMode::SquareWave);
        QCOMPARE(caption, QString("        SQUAREWAVE MENU   -   HPFILTER.DAT"));

        QTimer::singleShot(0, [&] {
            caption = state->windows.Get<app::TFormPMenu>().windowTitle();
            state->windows.Get<app::TFormPMenu>().ButtonCloseClick();
        });
        window->PulseClick();
        QCOMPARE(state->shell.AnalysisMode, app::AnalysisMode::Pulse);
        QCOMPARE(caption, QString("        PULSE RESPONSE MENU   -   HPFILTER.DAT"));

        state->shell.ReopenPulse = true;
        bool reopened = false;
        QTimer::singleShot(50, [&] {
            reopened = state->windows.Get<app::TFormPMenu>().isVisible();
            state->windows.Get<app::TFormPMenu>().ButtonCloseClick();
        });
        window->repaint();
        QTRY_VERIFY(reopened);
        QVERIFY(!state->shell.ReopenPulse);
    }

    // The Bode analyser opens beside the main window, which stays usable; a bad Datafile keeps
    // it closed after the Graphs menu's warning.
    void bodeAnalyserOpensWithoutBlocking() {
        folder->Write("HPFILTER.DAT", "bad\r\n");
        Start();
        window->GraphsMenuShow();
        window->BodeClick();
        QVERIFY(!state->windows.Get<app::TFormBode>().isVisible());

        folder->Write("HPFILTER.DAT", SampleDatafileText("1 Jan 2026"));
        window->GraphsMenuShow();
        window->BodeClick();
        QVERIFY(state->windows.Get<app::TFormBode>().isVisible());
        QVERIFY(!state->windows.Get<app::TFormBode>().isModal());
        QCOMPARE(state->windows.Get<app::TFormBode>().windowTitle(),
                 QString("Bode Analyser  -  HPFILTER.DAT"));
        QVERIFY(testing::WaitUntilIdle(
            [&] { return state->windows.Get<app::TFormBode>().Computing(); }));
        QVERIFY(state->windows.Get<app::TFormBode>().traces().current().curve.size() > 0);
    }

    // File / Open while the analyser and its panel are open: the first curve, the panel's
    // component table and its title take the new circuit, and the old spread goes.
    void theAnalyserAndItsPanelFollowFileOpen() {
        folder->Write("HPFILTER.DAT", SampleDatafileText("1 Jan 2026"));
        folder->Write("RC.DAT", "   RC_Low_Pass   Rev. 1   7 Dec 2026\r\n\r\n"
                                "   NodeIn = 1   NodeOut = 2   NodeCom = 3\r\n\r\n"
                                "   R  1 2   1k\r\n   C  2 3   159.15nF\r\n");
        Start();
        app::TFormBode& bode = state->windows.Get<app::TFormBode>();
        bode.ShowForCurrentDatafile();
        QVERIFY(testing::WaitUntilIdle([&] { return bode.Computing(); }));
        bode.ButtonTolerances->click();
        app::TFormTolerances& panel = *bode.tolerances();
        panel.SpinBoxRuns->setValue(20);
        panel.ButtonRun->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode.Computing(); }));
        QVERIFY(panel.analysis().has_value() && bode.Plot->spread().has_value());
        QCOMPARE(panel.TableComponents->rowCount(), 5);

        dialogs.datafile = QString("RC.DAT");
        window->FileOpenClick();
        QVERIFY(testing::WaitUntilIdle([&] { return bode.Computing(); }));
        QCOMPARE(panel.TableComponents->rowCount(), 2);
        QCOMPARE(panel.windowTitle(), QString("Tolerances  -  RC.DAT"));
        QVERIFY(!panel.analysis().has_value() && !bode.Plot->spread().has_value());
        QCOMPARE(bode.windowTitle(), QString("Bode Analyser  -  RC.DAT"));
        // The first curve is the low pass's: -10 log10(1 + (f/fc)^2) at the range's end.
        const BodeCurve& curve = bode.traces().current().curve;
        QVERIFY(curve.size() > 0);
        const long double corner = 1 / (2 * std::numbers::pi_v<long double> * 1e3L * 159.15e-9L);
        const long double end = curve.frequency.back();
        const long double expected = -10 * std::log10(1 + (end / corner) * (end / corner));
        QVERIFY2(std::fabs(curve.gain.back() - expected) < 1e-6L,
                 qPrintable(QString::number(static_cast<double>(curve.gain.back()))));

        panel.ButtonRun->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode.Computing(); }));
        QVERIFY(panel.analysis().has_value());
        QCOMPARE(panel.analysis()->nominal.gain.back(), curve.gain.back());
        QVERIFY(messages->entries.empty());
    }

    // With a dark desktop theme the status line, which has a near-white background of its own,
    // still writes dark text on it.
    void statusLineReadsInADarkPalette() {
        folder->Write("HPFILTER.DAT", SampleDatafileText("1 Jan 2026"));
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(45, 45, 45));
        dark.setColor(QPalette::WindowText, QColor(235, 235, 235));
        QApplication::setPalette(dark);
        Start();
        auto* status = window->findChild<QLabel*>("StatusPanel");
        QVERIFY(status != nullptr);
        // Inside the sunken frame, whose shadow is dark whatever the text is.
        const QImage picture =
            status->grab(status->contentsRect().adjusted(2, 2, -2, -2)).toImage();
        int darkPixels = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                darkPixels += picture.pixelColor(x, y).lightness() < 100 ? 1 : 0;
            }
        }
        QApplication::setPalette(QPalette());
        QVERIFY2(darkPixels > 50, qPrintable(QString::number(darkPixels)));
    }

    // Opened Datafiles are listed most recent first, survive a restart, and reopen from the
    // menu; one that has gone is said so and forgotten instead of becoming an empty skeleton.
    void recentDatafilesFollowOpeningAndSurviveARestart() {
        const std::string sample = SampleDatafileText("1 Jan 2026");
        folder->Write("HPFILTER.DAT", sample);
        folder->Write("AMP.DAT", sample);
        Start();
        window->OpenDatafileNamed("AMP.DAT");
        window->OpenDatafileNamed("NEW.DAT"); // a new skeleton is a Datafile too
        QVERIFY(folder->Read("KELVOR.INI").find("Recent1=NEW.DAT\r\nRecent2=AMP.DAT\r\n") !=
                std::string::npos);

        cleanup();
        init();
        folder->Write("HPFILTER.DAT", sample);
        folder->Write("AMP.DAT", sample);
        folder->Write("NEW.DAT", sample);
        folder->Write("KELVOR.INI", "[Parameters]\r\nDatafilename=NEW.DAT\r\n"
                                    "Recent1=NEW.DAT\r\nRecent2=GONE.DAT\r\nRecent3=AMP.DAT\r\n");
        Start();
        auto* recent = window->findChild<QMenu*>("RecentDatafiles");
        QVERIFY(recent != nullptr);
        emit recent->aboutToShow();
        QCOMPARE(testing::Captions(recent->actions()),
                 (QStringList{"&1  NEW.DAT", "&2  GONE.DAT", "&3  AMP.DAT"}));
        recent->actions().at(2)->trigger();
        QCOMPARE(state->shell.DatafileName, std::string("AMP.DAT"));
        QCOMPARE(state->circuit.NoNodes, 5);
        recent->actions().at(1)->trigger(); // the menu as it was: GONE.DAT is still listed
        QCOMPARE(Texts(), std::vector<std::string>{"GONE.DAT does not exist"});
        QCOMPARE(state->shell.DatafileName, std::string("AMP.DAT"));
        QVERIFY(!std::filesystem::exists(folder->path() / "GONE.DAT"));
        emit recent->aboutToShow();
        QCOMPARE(testing::Captions(recent->actions()), (QStringList{"&1  AMP.DAT", "&2  NEW.DAT"}));
        QVERIFY(folder->Read("KELVOR.INI").find("GONE") == std::string::npos);
    }

    // A .dat file dropped from the working folder goes through File / Open; other drops are
    // refused, and a Datafile from another folder is said to be elsewhere, not opened by name.
    void droppedDatafilesOpenLikeFileOpen() {
        const std::string sample = SampleDatafileText("1 Jan 2026");
        folder->Write("HPFILTER.DAT", sample);
        folder->Write("AMP.DAT", sample);
        folder->Write("my amp.dat", sample);
        testing::TempFolder elsewhere;
        elsewhere.Write("OTHER.DAT", sample);
        Start();
        const auto url = [](const std::filesystem::path& path) {
            return QUrl::fromLocalFile(app::PathToQt(path));
        };
        const struct {
            QList<QUrl> urls;
            bool accepted;
            std::string opened; // the current Datafile after the drop
            size_t messages;
        } cases[] = {
            {{url(folder->path() / "AMP.DAT")}, true, "AMP.DAT", 0},
            {{url(folder->path() / "my amp.dat")}, true, "my_amp.dat", 1}, // File / Open's rule
            {{url(elsewhere / "OTHER.DAT")}, true, "my_amp.dat", 1},
            {{url(folder->path() / "KELVOR.INI")}, false, "my_amp.dat", 0},
            {{url(folder->path() / "AMP.DAT"), url(folder->path() / "HPFILTER.DAT")},
             false,
             "my_amp.dat",
             0},
            {{QUrl("https://example.org/AMP.DAT")}, false, "my_amp.dat", 0},
        };
        for (const auto& c : cases) {
            messages->entries.clear();
            QMimeData data;
            data.setUrls(c.urls);
            QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            enter.ignore();
            QCoreApplication::sendEvent(window.get(), &enter);
            QCOMPARE(enter.isAccepted(), c.accepted);
            if (c.accepted) {
                QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &data, Qt::LeftButton,
                                Qt::NoModifier);
                QCoreApplication::sendEvent(window.get(), &drop);
            }
            QCOMPARE(state->shell.DatafileName, c.opened);
            QCOMPARE(messages->entries.size(), c.messages);
        }
        QVERIFY(!std::filesystem::exists(folder->path() / "OTHER.DAT"));
    }

    // The keys shown beside the menus' items are the keys that run them, from the window.
    void shortcutsRunTheirCommands() {
        folder->Write("HPFILTER.DAT", SampleDatafileText("1 Jan 2026"));
        Start();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const QList<QAction*> top = window->menuBar()->actions();
        QAction* open = top[0]->menu()->actions().at(0);
        QAction* bode = top[3]->menu()->actions().at(6);
        QAction* response = top[2];

        dialogs.datafile.reset();
        QVERIFY(!open->shortcut().isEmpty());
        QTest::keySequence(window.get(), open->shortcut());
        QCOMPARE(dialogs.offeredDatafiles.size(), qsizetype{1});

        // The analyser's key runs the Graphs menu's parse first: a Datafile broken since the
        // menu last opened is refused.
        window->GraphsMenuShow();
        folder->Write("HPFILTER.DAT", "bad\r\n");
        QVERIFY(!bode->shortcut().isEmpty());
        QTest::keySequence(window.get(), bode->shortcut());
        QVERIFY(!state->windows.Get<app::TFormBode>().isVisible());
        QCOMPARE(Texts(), std::vector<std::string>{"\r\nCannot Run  -  Error in Datafile  "});
        folder->Write("HPFILTER.DAT", SampleDatafileText("1 Jan 2026"));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keySequence(window.get(), bode->shortcut());
        QVERIFY(state->windows.Get<app::TFormBode>().isVisible());

        QAction* schematic = top[3]->menu()->actions().at(7);
        QVERIFY(!schematic->shortcut().isEmpty());
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keySequence(window.get(), schematic->shortcut());
        QVERIFY(window->findChild<app::TFormSchematic*>() != nullptr);
        QVERIFY(window->findChild<app::TFormSchematic*>()->isVisible());

        // Last: offscreen, the closed dialog stays the active window and takes later keys.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        bool responseShown = false;
        QTimer::singleShot(0, [&] {
            responseShown = state->windows.Get<app::TFormResponse>().isVisible();
            state->windows.Get<app::TFormResponse>().reject();
        });
        QVERIFY(!response->shortcut().isEmpty());
        QTest::keySequence(window.get(), response->shortcut());
        QVERIFY(responseShown);
    }

    void theStatusLineNamesTheWorkingFolder() {
        folder->Write("HPFILTER.DAT", SampleDatafileText("1 Jan 2026"));
        Start();
        const auto* line = window->statusBar()->findChild<QLabel*>("WorkingFolder");
        QVERIFY(line != nullptr);
        QVERIFY(line->isVisible());
        QVERIFY(line->text().endsWith(app::PathToQt(folder->path())));
    }

    void exitAsksAndClosingDeletesTheRecordFile() {
        folder->Write("HPFILTER.DAT", SampleDatafileText("1 Jan 2026"));
        Start();
        window->OpenDatafileNamed("HPFILTER.DAT"); // the parse writes the window's own file
        QVERIFY(std::filesystem::exists(folder->path() / "RECORDS.TMP"));
        messages->answers.push_back(Answer::No);
        window->ExitClick();
        QCOMPARE(Texts(), std::vector<std::string>{"\r\n        Close KELVOR           "});
        QVERIFY(window->isVisible());
        QVERIFY(std::filesystem::exists(folder->path() / "RECORDS.TMP"));
        messages->answers.push_back(Answer::Yes);
        window->ExitClick();
        QVERIFY(!window->isVisible());
        QVERIFY(!std::filesystem::exists(folder->path() / "RECORDS.TMP"));
    }
};

KELVOR_APP_TEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
