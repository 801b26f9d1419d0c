// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/file_paths.h"
#include "app/common/qt_text.h"
#include "app/editors/text_editor_window.h"
#include "app/graphs/graph_window.h"
#include "app/shell/file_date_stamp.h"
#include "app/shell/image_processing_window.h"
#include "app/shell/setup_window.h"
#include "app/shell/system_facts.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/calculation_wait.h"

#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <numeric>
#include <sys/stat.h>

using namespace kelvor;
using Entry = testing::RecordingMessages::Entry;

namespace {

const char* const kInformationLines[] = {"LabelVersion",    "LabelNoNodesLimit", "LabelUserName",
                                         "LabelWinVer",     "LabelResolution",   "LabelCPU",
                                         "LabelPrinterDPI", "LabelDPI"};

bool Centred(const QWidget& widget) {
    return std::abs(2 * widget.x() + widget.width() - widget.parentWidget()->width()) <= 1;
}

class FakeFacts : public app::SystemFacts {
public:
    std::string userName = "ada";
    std::string operatingSystem = "Debian GNU/Linux 12 (bookworm) / Linux 6.1.0-18-amd64";
    std::optional<uint64_t> freeMegabytes = 6000000000ULL; // beyond 32 bits
    std::optional<app::PrinterResolution> printer = app::PrinterResolution{600, 1200};

    std::string UserName() const override { return userName; }
    std::string OperatingSystem() const override { return operatingSystem; }
    app::ScreenFacts Screen() const override { return {1280, 1024, 120}; }
    std::optional<uint64_t> FreeMegabytes(const std::filesystem::path&) const override {
        return freeMegabytes;
    }
    std::optional<app::PrinterResolution> DefaultPrinter() const override { return printer; }
};

} // namespace

class SetupWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::AppFixture> fixture;
    FakeFacts facts;
    std::unique_ptr<app::TFormSetup> window;

    app::AppState& State() { return fixture->state; }
    testing::RecordingMessages& Messages() { return fixture->messages; }
    testing::RecordingDialogs& Dialogs() { return fixture->dialogs; }
    void Open() { window = std::make_unique<app::TFormSetup>(State(), nullptr, facts); }
    QString LabelText(const char* name) const { return window->findChild<QLabel*>(name)->text(); }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& entry : fixture->messages.entries) {
            texts.push_back(entry.text);
        }
        return texts;
    }
    void Answer(std::initializer_list<kelvor::Answer> answers) {
        Messages().answers.assign(answers.begin(), answers.end());
    }
    void ChordUp(Qt::Key key) {
        QTest::keyRelease(window.get(), key, Qt::ControlModifier | Qt::AltModifier);
    }

private slots:
    void init() {
        fixture = std::make_unique<testing::AppFixture>();
        facts = FakeFacts{};
    }
    void cleanup() {
        window.reset();
        fixture.reset();
    }

    // What a user quotes when reporting a problem, each line centred in the window.
    void informationLabelsReadTheFactsCentred() {
        Open();
        QCOMPARE(LabelText("LabelUserName"), QString("User Name  :  ada"));
        QCOMPARE(LabelText("LabelWinVer"),
                 QString("Operating System   :   Debian GNU/Linux 12 (bookworm) / Linux "
                         "6.1.0-18-amd64"));
        QCOMPARE(LabelText("LabelResolution"), QString("Screen Area   :   1280 x 1024"));
        QCOMPARE(LabelText("LabelCPU"), QString("Free Disk Space  :  6000000000 MB"));
        QCOMPARE(LabelText("LabelPrinterDPI"),
                 QString("Printer Resolution  :  X = 600 dpi   Y = 1200 dpi"));
        QCOMPARE(LabelText("LabelDPI"), QString("Screen Font Size  :  120 dpi"));
        QCOMPARE(LabelText("LabelNoNodesLimit"), QString(" Max. Number of Circuit Nodes  :  100"));
        for (const char* name : kInformationLines) {
            const QLabel* label = window->findChild<QLabel*>(name);
            QVERIFY2(label->width() >= label->sizeHint().width(), name);
            QVERIFY2(Centred(*label), name);
        }
    }

    // While the diagnostic controls show, no line runs under one: a line that would moves
    // aside, one wider than the room beside them is cut short with its whole text as tool tip.
    // Leaving test mode centres every line whole again.
    void testModeLinesClearTheDiagnosticControls() {
        enum class Shown { Centred, Moved, Cut };
        struct Case {
            const char* operatingSystem;
            Shown shown;
        };
        const Case cases[] = {
            {"Debian GNU/Linux 12 (bookworm)", Shown::Centred},
            {"Debian GNU/Linux 12 (bookworm) / Linux 6.1.0-18-rt", Shown::Moved},
            {"Debian GNU/Linux 12 (bookworm) / Linux 6.1.0-28-cloud-amd64 #1 SMP PREEMPT_DYNAMIC",
             Shown::Cut},
        };
        for (const Case& c : cases) {
            facts.operatingSystem = c.operatingSystem;
            Open();
            window->show();
            ChordUp(Qt::Key_T);
            const QString whole = QString("Operating System   :   ") + c.operatingSystem;
            const QLabel* line = window->findChild<QLabel*>("LabelWinVer");
            for (const char* name : kInformationLines) {
                const QLabel* label = window->findChild<QLabel*>(name);
                QVERIFY2(label->sizeHint().width() <= label->width(), name);
                for (const QWidget* control : window->diagnosticControls) {
                    QVERIFY2(!label->geometry().intersects(control->geometry()),
                             qPrintable(QString(name) + " under " + control->objectName()));
                }
            }
            QCOMPARE(Centred(*line), c.shown == Shown::Centred);
            if (c.shown == Shown::Cut) {
                QVERIFY(line->text().endsWith(QChar(0x2026)));
                QVERIFY(whole.startsWith(line->text().chopped(1)));
                QCOMPARE(line->toolTip(), whole);
            } else {
                QCOMPARE(line->text(), whole);
                QVERIFY(line->toolTip().isEmpty());
            }

            ChordUp(Qt::Key_T);
            QCOMPARE(line->text(), whole);
            QVERIFY(line->toolTip().isEmpty());
            QVERIFY(Centred(*line));
        }
    }

    void missingFactsAreSaidInWords() {
        facts.userName.clear();
        facts.operatingSystem.clear();
        facts.freeMegabytes.reset();
        facts.printer.reset();
        Open();
        QCOMPARE(LabelText("LabelUserName"), QString("User Name  :  Unknown"));
        QCOMPARE(LabelText("LabelWinVer"), QString("Operating System   :   Unknown"));
        QCOMPARE(LabelText("LabelCPU"), QString("Free Disk Space  :  Unknown"));
        QCOMPARE(LabelText("LabelPrinterDPI"),
                 QString("Printer Resolution  :  no printer installed"));
        window->ButtonTestWinVerClick();
        QCOMPARE(Texts(), (std::vector<std::string>{"Unknown", "Unknown"}));
    }

    void operatingSystemFromOsRelease() {
        struct Case {
            const char* osRelease;
            const char* kernelName;
            const char* kernelRelease;
            const char* expected;
        };
        const Case cases[] = {
            {"NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n", "Linux",
             "6.1.0", "Debian GNU/Linux 12 (bookworm) / Linux 6.1.0"},
            {"NAME=Fedora\nVERSION_ID=40\n", "Linux", "6.8.5", "Fedora / Linux 6.8.5"},
            {"PRETTY_NAME='Alpine Linux v3.19'\n", "", "", "Alpine Linux v3.19"},
            {"", "Linux", "6.1.0", "Linux 6.1.0"},
            {"", "", "", ""},
        };
        for (const Case& c : cases) {
            QCOMPARE(app::OperatingSystemText(c.osRelease, c.kernelName, c.kernelRelease),
                     std::string(c.expected));
        }
    }

    // Ctrl+Alt+T shows every diagnostic control and hides them again; Ctrl+Alt+E does the same
    // for the editor button. A chord without Alt does nothing.
    void chordsToggleTestModeAndTheEditorButton() {
        Open();
        window->show();
        const auto allShown = [this](bool shown) {
            return std::all_of(window->diagnosticControls.begin(), window->diagnosticControls.end(),
                               [shown](QWidget* control) { return control->isVisible() == shown; });
        };
        QCOMPARE(window->diagnosticControls.size(), size_t(14));
        QVERIFY(allShown(false));
        QVERIFY(!window->ButtonEDT->isVisible());
        QTest::keyRelease(window.get(), Qt::Key_T, Qt::ControlModifier);
        QVERIFY(!window->TestMode());
        for (bool expected : {true, false}) {
            ChordUp(Qt::Key_T);
            QCOMPARE(window->TestMode(), expected);
            QVERIFY(allShown(expected));
            QVERIFY(!window->ButtonEDT->isVisible());
        }
        for (bool expected : {true, false}) {
            ChordUp(Qt::Key_E);
            QCOMPARE(window->ButtonEDT->isVisible(), expected);
            QVERIFY(allShown(false));
        }
    }

    void editorButtonOpensTheTextEditorOrWarns() {
        app::TFormEdt editor(State());
        State().windows.Use(&editor);
        Open();
        bool opened = false;
        QTimer::singleShot(0, [&] {
            opened = editor.isVisible();
            editor.reject();
        });
        window->ButtonEDTClick();
        QVERIFY(opened);

        Messages().entries.clear();
        State().shell.DatafileName = "NO_SUCH_FILE_WITH_A_LONG_NAME.DAT";
        window->ButtonEDTClick();
        QCOMPARE(Texts(),
                 std::vector<std::string>{"NO_SUCH_FILE_WITH_A_LONG_NAME.DAT does not ex"});
        QCOMPARE(Messages().entries[0].kind, Entry::Warning);
    }

    // Yes sets, No clears, Cancel keeps what was there.
    void questionsSetAndClearTheirFlags() {
        Open();
        struct Case {
            void (app::TFormSetup::*click)();
            const char* question;
            std::function<bool()> flag;
        };
        const Case cases[] = {
            {&app::TFormSetup::ButtonTimeRespClick, "Time Response ?",
             [this] { return State().TimeResponse; }},
            {&app::TFormSetup::ButtonBigPCBClick, "     Make Big PCB Bitmap ?",
             [this] { return State().BigPcbBitmap; }},
            {&app::TFormSetup::ButtonModifyGraphDateClick, "Modify Graph Date ?",
             [this] { return State().shell.TodayText == " 6 Jan 2004"; }},
        };
        for (const Case& c : cases) {
            for (const auto& [answer, expected] : {std::pair{Answer::Yes, true},
                                                   {Answer::Cancel, true},
                                                   {Answer::No, false},
                                                   {Answer::Cancel, false}}) {
                Messages().entries.clear();
                Messages().answers = {answer};
                (window.get()->*c.click)();
                QCOMPARE(Messages().entries.at(0).text, std::string(c.question));
                QCOMPARE(c.flag(), expected);
            }
        }
        QCOMPARE(State().shell.TodayText, TodayText());

        Messages().entries.clear();
        Answer({Answer::Yes});
        window->ButtonBigPCBClick();
        QCOMPARE(Texts(), (std::vector<std::string>{"     Make Big PCB Bitmap ?",
                                                    "Now run Test Pattern TWICE"}));
    }

    // The inductor trace follows the answer; the probes report a pixel and then change it.
    void test1SwitchesTheTraceAndProbesTwoPixels() {
        Open();
        window->show();
        Answer({Answer::Yes, Answer::Cancel, Answer::No});
        const QColor logo = window->Logo().pixelColor(40, 10);
        window->ButtonTest1Click();
        QVERIFY(State().solver.Test1Trace);
        QCOMPARE(Texts(),
                 (std::vector<std::string>{"           RUN TEST1 ?", "CANVAS R=222 G=222 B=222",
                                           app::FromQt(QString("LOGO  R=%1 G=%2 B=%3")
                                                           .arg(logo.red())
                                                           .arg(logo.green())
                                                           .arg(logo.blue()))}));
        QVERIFY(logo != QColor(255, 0, 0));

        Messages().entries.clear();
        window->ButtonTest1Click();
        QVERIFY(State().solver.Test1Trace);
        QCOMPARE(Texts(), (std::vector<std::string>{"           RUN TEST1 ?", "CANVAS R=0 G=0 B=0",
                                                    "LOGO  R=255 G=0 B=0"}));
        window->ButtonTest1Click();
        QVERIFY(!State().solver.Test1Trace);
    }

    // "Test Pattern" after Yes: the graph window shows the pattern, and closing it closes this
    // window, which writes the settings.
    void testPatternShowsInTheGraphWindowAndClosesWithIt() {
        app::TFormVGA graph(State());
        State().windows.Use(&graph);
        Open();
        window->show();
        State().graph.picture = QImage(10, 10, QImage::Format_RGB32);

        window->ButtonTestPatternClick(); // answered No
        QVERIFY(!graph.isVisible());
        QCOMPARE(State().graph.picture.width(), 10);

        Messages().entries.clear();
        Answer({Answer::Yes});
        window->ButtonTest2Click();
        QCOMPARE(Messages().entries.size(), size_t(2));
        QVERIFY(Messages().entries[0].text.starts_with("-5000  -98629.46777934679"));
        QCOMPARE(Messages().entries[1].kind, Entry::Question);
        QCOMPARE(State().shell.AnalysisMode, app::AnalysisMode::TestPattern);
        QVERIFY(graph.isVisible());
        QCOMPARE(graph.windowTitle(), QString("  TEST PATTERN"));
        // Showing the pattern reads (and so writes) the settings; closing writes them again.
        std::filesystem::remove(fixture->folder / "KELVOR.INI");

        graph.close();
        QVERIFY(!window->isVisible());
        QVERIFY(fixture->folder.Read("KELVOR.INI").find("Datafilename=HPFILTER.DAT") !=
                std::string::npos);
    }

    void test3AndWinVerShowTheirMessages() {
        Open();
        window->ButtonTest3Click();
        QCOMPARE(Texts(), (std::vector<std::string>{"Button 3", "BEEP", "version.dll"}));
        QCOMPARE(Messages().entries[1].kind, Entry::Error);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);

        Messages().entries.clear();
        window->ButtonTestWinVerClick();
        QCOMPARE(Texts(), (std::vector<std::string>{facts.userName, facts.operatingSystem}));
    }

    // The file keeps its bytes; its date becomes 9 Sep 2009 05:05:05 after the old one is shown.
    void setFileDateKeepsTheBytes() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        fixture->folder.Write("A.dat", "R 1 2 10k\r\n");
        QFile file(app::PathToQt(fixture->folder / "A.dat"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)),
                                 QFileDevice::FileModificationTime));
        file.close();
        Open();
        window->ButtonSetFileDateClick();
        QCOMPARE(Texts(), std::vector<std::string>{"02/01/2020 03:04:05"});
        QCOMPARE(fixture->folder.Read("A.dat"), std::string("R 1 2 10k\r\n"));
        QCOMPARE(QFileInfo(file.fileName()).lastModified(),
                 QDateTime(QDate(2009, 9, 9), QTime(5, 5, 5)));

        // A missing file is made, empty, and stamped.
        std::filesystem::remove(fixture->folder / "A.dat");
        window->ButtonSetFileDateClick();
        QCOMPARE(fixture->folder.Read("A.dat"), std::string());
        QCOMPARE(QFileInfo(file.fileName()).lastModified(),
                 QDateTime(QDate(2009, 9, 9), QTime(5, 5, 5)));

        // A folder of that name cannot be opened: said, not stamped.
        std::filesystem::remove(fixture->folder / "A.dat");
        std::filesystem::create_directory(fixture->folder / "A.dat");
        Messages().entries.clear();
        window->ButtonSetFileDateClick();
        QCOMPARE(Messages().entries.size(), size_t(1));
        QCOMPARE(Messages().entries[0].kind, Entry::Warning);
        QVERIFY(Messages().entries[0].text.find("Cannot open A.dat") != std::string::npos);
        QLocale::setDefault(QLocale::system());
    }

    // A file of the working folder goes to the desktop's opener, anything else is a program
    // with its arguments; one that does not start is reported.
    void newShellStartsWhatIsTyped() {
        Open();
        testing::RecordingDialogs& dialogs = Dialogs();
        const auto typeAndStart = [&](std::optional<QString> typed) {
            dialogs.programName = std::move(typed);
            window->ButtonShellClick();
        };
        const QString folder = app::PathToQt(fixture->folder.path());
        typeAndStart("  notepad  notes.txt ");
        QCOMPARE(dialogs.proposedProgramNames, QStringList{" xdg-open ."});
        typeAndStart("HPFILTER.DAT");
        typeAndStart(std::nullopt);
        QCOMPARE(dialogs.startedPrograms.size(), size_t(2));
        QCOMPARE(dialogs.startedPrograms[0].program, QString("notepad"));
        QCOMPARE(dialogs.startedPrograms[0].arguments, QStringList{"notes.txt"});
        QCOMPARE(dialogs.startedPrograms[0].folder, folder);
        QCOMPARE(dialogs.startedPrograms[1].program, QString("xdg-open"));
        QCOMPARE(dialogs.startedPrograms[1].arguments, QStringList{"HPFILTER.DAT"});
        QVERIFY(Messages().entries.empty());

        // Quotes that leave no program name are reported too.
        typeAndStart("\"");
        dialogs.programsStart = false;
        typeAndStart("no-such-program");
        QCOMPARE(dialogs.startedPrograms.size(), size_t(3));
        QCOMPARE(Texts(), (std::vector<std::string>{"\r\n   Cannot start  \"   ",
                                                    "\r\n   Cannot start  no-such-program   "}));
    }

    void dosStartsTheTerminalOrSaysNoneIsInstalled() {
        Open();
        testing::RecordingDialogs& dialogs = Dialogs();
        dialogs.installedPrograms = {"x-terminal-emulator"};
        Answer({Answer::Cancel, Answer::Yes, Answer::Yes});
        window->ButtonDOSClick();
        QVERIFY(dialogs.startedPrograms.empty());
        window->ButtonDOSClick();
        QCOMPARE(dialogs.startedPrograms.size(), size_t(1));
        QCOMPARE(dialogs.startedPrograms[0].program, QString("x-terminal-emulator"));
        QCOMPARE(dialogs.startedPrograms[0].folder, app::PathToQt(fixture->folder.path()));
        QCOMPARE(Messages().entries.back().kind, Entry::Info);

        dialogs.installedPrograms.clear();
        Messages().entries.clear();
        window->ButtonDOSClick();
        QCOMPARE(dialogs.startedPrograms.size(), size_t(1));
        QCOMPARE(Messages().entries.size(), size_t(2));
        QCOMPARE(Messages().entries[1].kind, Entry::Warning);
    }

    // A dark picture is brightened and saved under the name with its last factor; the setup
    // window's button counts the columns and reads "Image Proc." afterwards.
    void imageProcessingBrightensAndSavesTheCopy() {
        app::TFormImgProc imageWindow(State());
        State().windows.Use(&imageWindow);
        Open();
        QImage photograph(260, 3, QImage::Format_RGB32);
        photograph.fill(QColor(30, 30, 30));
        photograph.setPixelColor(100, 1, QColor(0, 0, 180)); // the peak
        photograph.setPixelColor(255, 1, QColor(0, 250, 0)); // right of column 249
        photograph.setPixelColor(259, 2, QColor(70, 0, 0));  // last pixel, times 3
        QVERIFY(photograph.save(app::PathToQt(fixture->folder / "102_0251.bmp"), "BMP"));

        QList<int> columns;
        QString captionAtTheEnd;
        connect(&imageWindow, &app::TFormImgProc::ColumnReached, this,
                [&](int column) { columns << column; });
        // Connected before the setup window's own, so it reads the count before it goes.
        connect(&imageWindow, &app::TFormImgProc::ProcessingFinished, &imageWindow, [&] {
            captionAtTheEnd = window->ButtonImageProc->text();
            QTimer::singleShot(0, &imageWindow, &QDialog::accept);
        });
        window->ButtonImageProcClick();

        QCOMPARE(Texts(), std::vector<std::string>{"180"});
        QList<int> everyColumn(260);
        std::iota(everyColumn.begin(), everyColumn.end(), 1);
        QCOMPARE(columns, everyColumn);
        QCOMPARE(captionAtTheEnd, QString("260"));
        QCOMPARE(window->ButtonImageProc->text(), QString("Image Proc."));
        QImage saved(app::PathToQt(fixture->folder / "102_0251_T=0_M=3_O=0.bmp"));
        QCOMPARE(saved.size(), photograph.size());
        QCOMPARE(saved.pixelColor(0, 0), QColor(150, 150, 150));
        QCOMPARE(saved.pixelColor(259, 2), QColor(210, 0, 0));
        QCOMPARE(saved.pixelColor(100, 1), QColor(0, 0, 180));
    }

    // The brightening runs beside the window thread: showing the window returns at once, and
    // a second showing meanwhile starts nothing.
    void imageProcessingLeavesTheWindowThreadFree() {
        app::TFormImgProc imageWindow(State());
        QImage photograph(64, 48, QImage::Format_RGB32);
        photograph.fill(QColor(10, 20, 30));
        QVERIFY(photograph.save(app::PathToQt(fixture->folder / "102_0251.bmp"), "BMP"));
        QSignalSpy finished(&imageWindow, &app::TFormImgProc::ProcessingFinished);
        imageWindow.FormShow();
        QVERIFY(imageWindow.Processing());
        imageWindow.FormShow();
        QVERIFY(testing::WaitUntilIdle([&] { return imageWindow.Processing(); }));
        QCOMPARE(finished.size(), 1);
        QCOMPARE(Texts(), std::vector<std::string>{"30"});
        // Every channel at most 50: five times brighter.
        const QImage saved(app::PathToQt(fixture->folder / "102_0251_T=0_M=5_O=0.bmp"));
        QCOMPARE(saved.pixelColor(63, 47), QColor(50, 100, 150));
        QCOMPARE(imageWindow.WorkingBitmap().pixelColor(0, 0), QColor(50, 100, 150));
    }

    // Nothing to read is said, a picture that cannot be read is reported and nothing is saved;
    // no counting starts for either.
    void imageProcessingWithoutAReadablePicture() {
        app::TFormImgProc imageWindow(State());
        QSignalSpy finished(&imageWindow, &app::TFormImgProc::ProcessingFinished);
        const auto showAndWait = [&imageWindow] {
            imageWindow.FormShow();
            return testing::WaitUntilIdle([&] { return imageWindow.Processing(); });
        };
        QVERIFY(showAndWait());
        QVERIFY(Messages().entries.empty());

        fixture->folder.Write("102_0251.bmp", "not a picture");
        QVERIFY(showAndWait());
        QCOMPARE(Messages().entries.size(), size_t(1));
        QCOMPARE(Messages().entries[0].kind, Entry::Warning);
        size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(fixture->folder.path())) {
            files += entry.path().filename().string().starts_with("102_0251_") ? 1 : 0;
        }
        QCOMPARE(files, size_t(0));

        // A pipe under the picture's name would block the read for ever: it is refused.
        std::filesystem::remove(fixture->folder / "102_0251.bmp");
        QCOMPARE(::mkfifo((fixture->folder / "102_0251.bmp").c_str(), 0600), 0);
        QVERIFY(showAndWait());
        QCOMPARE(Messages().entries.size(), size_t(2));
        QVERIFY(Messages().entries[1].text.find("not a regular file") != std::string::npos);
        QCOMPARE(finished.size(), 0);
    }
};

KELVOR_APP_TEST_MAIN(SetupWindowTest)
#include "setup_window_test.moc"
