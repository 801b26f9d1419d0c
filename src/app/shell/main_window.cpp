// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell/main_window.h"

#include "app/bode/bode_window.h"
#include "app/common/file_paths.h"
#include "app/common/file_queries.h"
#include "app/common/qt_text.h"
#include "app/common/screen_checks.h"
#include "app/common/window_fonts.h"
#include "app/common/window_look.h"
#include "app/editors/form_editor_window.h"
#include "app/editors/record_listing_window.h"
#include "app/editors/text_editor_window.h"
#include "app/graphs/frequency_scale_window.h"
#include "app/graphs/graph_page_setup_window.h"
#include "app/graphs/graph_parameters_window.h"
#include "app/graphs/graph_window.h"
#include "app/help/help_window.h"
#include "app/printing/datafile_printing.h"
#include "app/printing/page_setup_window.h"
#include "app/printing/printing_window.h"
#include "app/response/response_window.h"
#include "app/schematic/schematic_window.h"
#include "app/shell/image_processing_window.h"
#include "app/shell/setup_window.h"
#include "app/state/dialogs.h"
#include "app/timeresp/pulse_window.h"
#include "app/timeresp/square_wave_window.h"
#include "circuit/datafile_reader.h"
#include "circuit/datafile_text.h"
#include "circuit/record_file.h"
#include "circuit/sample_datafile.h"
#include "files/delete_file_reported.h"
#include "files/file_io.h"
#include "files/folder_probe.h"
#include "kelvor_error.h"
#include "text/date_text.h"
#include "text/words.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QShowEvent>
#include <QStatusBar>
#include <cmath>

namespace kelvor::app {
namespace {

// The picture filling the main window: silver, with the amplitude response of a high-pass filter
// on a grid, the kind of graph the program draws, between the banner and the status panel.
QPixmap MainPicture(int width, int height, const QRect& plot) {
    QPixmap picture(width, height);
    picture.fill(kSilver);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(plot, Qt::white);
    painter.setPen(QPen(QColor(200, 200, 200), 1, Qt::DotLine));
    for (int i = 1; i < 10; ++i) {
        painter.drawLine(plot.left() + plot.width() * i / 10, plot.top(),
                         plot.left() + plot.width() * i / 10, plot.bottom());
        painter.drawLine(plot.left(), plot.top() + plot.height() * i / 10, plot.right(),
                         plot.top() + plot.height() * i / 10);
    }
    painter.setPen(QPen(QColor(0, 0, 128), 2));
    QPolygonF curve;
    for (int x = 0; x <= plot.width(); ++x) {
        const double ratio = std::pow(10.0, 2.0 * x / plot.width() - 1.0); // f / corner
        const double db = -10.0 * std::log10(1.0 + std::pow(ratio, -6.0));
        curve << QPointF(plot.left() + x, plot.top() + 10 - db * (plot.height() - 20) / 60.0);
    }
    painter.drawPolyline(curve);
    painter.setPen(Qt::black);
    painter.drawRect(plot);
    return picture;
}

std::string FolderWarning(const std::filesystem::path& folder, const std::string& reason) {
    return "\r\n   The working folder cannot be written :   \r\n\r\n   " + folder.string() +
           "\r\n   " + reason +
           "\r\n\r\n   KELVOR runs, but settings, Datafiles and pictures will not be saved.   ";
}

} // namespace

TFormMain::TFormMain(AppState& state, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      state_(state), folderPresence_(state.workingFolder) {
    state_.windows.SetMain(this);
    connect(&state_.mainWindowRequests, &MainWindowRequests::reopenMenuWindows, this,
            [this] { update(); });
    BuildContents();
    BuildMenus();
    BuildWorkingFolderLine();
    setAcceptDrops(true);
    // Sized once the menu bar holds its menus: the client area keeps its full height between it
    // and the working folder's line.
    const int menuHeight = menuBar()->heightForWidth(732);
    setFixedSize(732, 514 + (menuHeight > 0 ? menuHeight : menuBar()->sizeHint().height()) +
                          statusBar()->sizeHint().height());
    FormCreate();
    CreateWindows();
    UpdateCaptionAndStatus();
}

TFormMain::~TFormMain() {
    state_.windows.SetMain(nullptr);
}

void TFormMain::FormCreate() {
    state_.shell.TodayText = TodayText();
    ReadSettingsAtStart();
    state_.shell.DatafileName = state_.settings.Datafilename;
    // A record file left by a copy that still runs here is that copy's, not a stale one.
    if (folderPresence_.OnlyCopyInFolder()) {
        DeleteFileReported(state_.File(kRecordFileName), "Main #1", state_.messages);
    }
    RemoveStaleTemporaries(state_.workingFolder);
    WarnAboutTheDisplay();
    state_.shell.DatafileChanged = true;
    state_.shell.ReopenFreqScales = false;
    state_.shell.ReopenSquareWave = false;
    state_.shell.ReopenPulse = false;
}

// A working folder that cannot be written (read-only, full) must not stop the program: it starts
// with what it has and says once, up front, why nothing it saves will be kept.
void TFormMain::ReadSettingsAtStart() {
    std::string sampleFault;
    try {
        state_.settings =
            ReadSettings(state_.workingFolder, state_.messages, state_.shell.TodayText);
    } catch (const KelvorError& fault) {
        // Only the sample Datafile failed: the run goes on with the defaults.
        sampleFault = fault.what();
        state_.settings = Settings{};
    }
    if (const std::optional<std::string> reason = FolderWriteFault(state_.workingFolder)) {
        state_.messages.ShowWarning(FolderWarning(state_.workingFolder, *reason));
        state_.settingsFaultReported = true;
    } else if (!sampleFault.empty()) {
        state_.messages.ShowWarning(sampleFault);
    }
}

void TFormMain::WarnAboutTheDisplay() {
    const DisplayFacts display = CurrentDisplay(this);
    if (display.dotsPerInch != 96) {
        state_.messages.ShowWarning(FontSizeWarning(display.dotsPerInch));
    }
    if (display.width < 800 || display.height < 600) {
        state_.messages.ShowWarning(ScreenSizeWarning(display.width, display.height));
    }
}

// The start-up order: the windows that follow the main window. As children of the main window
// they go with it.
void TFormMain::CreateWindows() {
    state_.windows.MakeEach(RegisteredWindows{});
}

void TFormMain::BuildContents() {
    auto* contents = new QWidget(this);
    contents->setAutoFillBackground(true);
    QPalette silver = contents->palette();
    silver.setColor(QPalette::Window, kSilver);
    silver.setColor(QPalette::WindowText, Qt::black); // the desktop's may be light
    contents->setPalette(silver);
    setCentralWidget(contents);

    auto* picture = new QLabel(contents);
    picture->setObjectName("Picture");
    picture->setGeometry(0, 0, 732, 514);
    picture->setPixmap(MainPicture(732, 514, QRect(136, 140, 460, 260)));

    auto* banner = new QLabel("ELECTRONIC  CIRCUIT  SIMULATOR", contents);
    banner->setGeometry(96, 40, 540, 56);
    banner->setAlignment(Qt::AlignCenter);
    banner->setAutoFillBackground(true);
    banner->setStyleSheet("background-color: navy; color: white;");
    QFont bannerFont = PixelFont("Arial", 24, true);
    bannerFont.setItalic(true);
    banner->setFont(bannerFont);

    statusPanel_ = new QLabel(contents);
    statusPanel_->setObjectName("StatusPanel");
    statusPanel_->setGeometry(96, 440, 540, 30);
    statusPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusPanel_->setStyleSheet("background-color: rgb(248, 248, 248); color: black;");
    statusPanel_->setFont(PixelFont("Courier New", 13, true));
}

void TFormMain::BuildMenus() {
    QMenu* file = menuBar()->addMenu(" &File ");
    QAction* openAction = file->addAction("&Open ...");
    connect(openAction, &QAction::triggered, this, &TFormMain::FileOpenClick);
    const OpenDatafile open = [this](const QString& name) { OpenDatafileNamed(name); };
    connect(file->addAction(QString::fromUtf8("Open E&xample\u2026")), &QAction::triggered, this,
            [this, open] { OpenExampleCommand(state_, this, open); });
    recentMenu_ = file->addMenu("Recent &Datafiles");
    recentMenu_->setObjectName("RecentDatafiles");
    connect(recentMenu_, &QMenu::aboutToShow, this, &TFormMain::FillRecentMenu);
    file->addSeparator();
    connect(file->addAction(QString::fromUtf8("Export SPICE Netlist\u2026")), &QAction::triggered,
            this, [this] { ExportSpiceNetlistCommand(state_, this); });
    connect(file->addAction(QString::fromUtf8("Import SPICE Netlist\u2026")), &QAction::triggered,
            this, [this, open] { ImportSpiceNetlistCommand(state_, this, open); });
    file->addSeparator();
    QAction* printAction = file->addAction("&Print ...");
    connect(printAction, &QAction::triggered, this, &TFormMain::FilePrintClick);
    connect(file->addAction("P&age Setup"), &QAction::triggered, this, &TFormMain::PageSetupClick);
    file->addSeparator();
    QAction* exitAction = file->addAction("E&xit ...");
    connect(exitAction, &QAction::triggered, this, &TFormMain::ExitClick);

    connect(menuBar()->addAction(" &Edit "), &QAction::triggered, this, &TFormMain::EditClick);
    QAction* responseAction = menuBar()->addAction(" &Response ");
    connect(responseAction, &QAction::triggered, this, &TFormMain::ResponseClick);

    QMenu* graphs = menuBar()->addMenu(" &Graphs ");
    connect(graphs, &QMenu::aboutToShow, this, &TFormMain::GraphsMenuShow);
    connect(graphs->addAction("&Amplitude ..."), &QAction::triggered, this,
            &TFormMain::AmplitudeClick);
    graphs->addSeparator();
    connect(graphs->addAction("&SquareWave ..."), &QAction::triggered, this,
            &TFormMain::SquareWaveClick);
    graphs->addSeparator();
    connect(graphs->addAction("&Pulse ..."), &QAction::triggered, this, &TFormMain::PulseClick);
    graphs->addSeparator();
    QAction* bodeAction = graphs->addAction("&Bode Analyser ...");
    connect(bodeAction, &QAction::triggered, this, &TFormMain::BodeClick);
    // The schematic stays open beside the other windows; a Datafile with errors shows its report.
    QAction* schematicAction = graphs->addAction("S&chematic ...");
    connect(schematicAction, &QAction::triggered, this, [this] {
        auto* schematic = findChild<TFormSchematic*>();
        if (schematic == nullptr) {
            schematic = new TFormSchematic(state_, this);
        }
        schematic->ShowForCurrentDatafile();
    });

    QMenu* help = menuBar()->addMenu(" &Help ");
    help->addAction("                   HELP  MENU");
    help->addSeparator();
    for (const HelpMenuItem& item : kHelpMenu) {
        const int32_t position = item.place.position;
        connect(help->addAction(item.caption), &QAction::triggered, this,
                [this, position] { HelpTopicClick(position); });
        if (item.separatorAfter) {
            help->addSeparator();
        }
    }
    connect(menuBar()->addAction(" &Setup "), &QAction::triggered, this, &TFormMain::SetupClick);
    AddShortcuts(openAction, printAction, exitAction, responseAction, bodeAction, schematicAction);
}

void TFormMain::UpdateCaptionAndStatus() {
    setWindowTitle("     KELVOR2007  -  " + QString::number(kHighestNodeNumber));
    statusPanel_->setText(StatusText());
}

QString TFormMain::StatusText() const {
    // The name as the file system spells it, padded by the characters the user sees.
    const QString name = PathToQt(state_.shell.DatafileName);
    const int padding = std::max(0, 35 - static_cast<int>(name.size()));
    return "Using Datafile  :  " + name + QString(padding, ' ') + "   " +
           ToQt(state_.shell.TodayText);
}

void TFormMain::showEvent(QShowEvent* event) {
    // Centred when shown by the program, not when the desktop restores it from an icon.
    if (!event->spontaneous()) {
        CentreOnScreen(this);
    }
    QMainWindow::showEvent(event);
}

void TFormMain::paintEvent(QPaintEvent* event) {
    UpdateCaptionAndStatus();
    QMainWindow::paintEvent(event);
    // A modal window cannot run inside a paint: the reopening waits for the event loop.
    const ShellState& shell = state_.shell;
    if ((shell.ReopenFreqScales || shell.ReopenSquareWave || shell.ReopenPulse) &&
        !reopenScheduled_) {
        reopenScheduled_ = true;
        QMetaObject::invokeMethod(this, &TFormMain::ReopenMenuWindows, Qt::QueuedConnection);
    }
}

// The menu window of the graph just left through "&Calculate Again"; it clears its own flag
// when it shows.
void TFormMain::ReopenMenuWindows() {
    reopenScheduled_ = false;
    const auto reopen = [](bool flag, QDialog& window) {
        if (flag && !window.isVisible()) {
            window.exec();
        }
    };
    reopen(state_.shell.ReopenFreqScales, state_.windows.Get<TFormFreqScales>());
    reopen(state_.shell.ReopenSquareWave, state_.windows.Get<TFormSqWMenu>());
    reopen(state_.shell.ReopenPulse, state_.windows.Get<TFormPMenu>());
}

void TFormMain::FileOpenClick() {
    const std::optional<QString> chosen = state_.dialogs.ChooseDatafile(
        this, PathToQt(state_.workingFolder), PathToQt(state_.shell.DatafileName));
    if (chosen) {
        OpenDatafileNamed(*chosen);
    }
}

void TFormMain::OpenDatafileNamed(const QString& chosenPath) {
    MessageSink& messages = state_.messages;
    std::string name =
        CutFileName(PathFromQt(QFileInfo(chosenPath).fileName()).string(), kDatafileNameCapacity);
    if (name.size() > kLongestDatafileName) {
        messages.ShowWarning(kDatafileNameTooLong);
    }
    if (ReplaceChar(name, ' ', '_')) {
        messages.ShowWarning("\r\n      Space(s) in filename replaced with '_'     \r\n\r\n"
                             "     If file already exists it will not be used.    ");
    }
    state_.shell.DatafileName = name;
    const FileQuery existing = QueryFile(state_.DatafilePath());
    try {
        if (!existing.fault.empty()) {
            // Neither opened nor replaced: what stands under the name cannot be told.
            messages.ShowError("Cannot open " + name + " : " + existing.fault);
        } else if (existing.regular) {
            state_.ParseCurrentDatafile();
            state_.shell.NewDatafile = false;
        } else {
            WriteFileAtomically(state_.DatafilePath(), NewDatafileSkeleton(state_.shell.TodayText));
            DeleteOwnRecordFile(state_.workingFolder, state_.circuit, folderPresence_, "Main #2",
                                messages);
            state_.shell.NewDatafile = true;
            state_.circuit.CircuitTitle = "NEW_FILE_-_type_in_description_here";
        }
    } catch (const KelvorError& error) {
        messages.ShowError(error.what());
    }
    update();
    UpdateCaptionAndStatus();
    SaveSettings();
    state_.shell.DatafileChanged = true;
    emit state_.datafileEvents.currentChanged();
}

void TFormMain::SaveSettings() {
    state_.settings.Datafilename = state_.shell.DatafileName;
    if (QueryFile(state_.DatafilePath()).regular) {
        RememberRecentDatafile(state_.settings, state_.shell.DatafileName);
    }
    state_.KeepSettings();
}

void TFormMain::FilePrintClick() {
    PrintDatafile(state_);
}

void TFormMain::PageSetupClick() {
    state_.windows.Get<TFormPSet>().exec();
}

void TFormMain::ExitClick() {
    if (state_.messages.Ask("\r\n        Close KELVOR           ", QuestionButtons::YesNo) ==
        Answer::Yes) {
        close();
    }
}

void TFormMain::closeEvent(QCloseEvent* event) {
    DeleteOwnRecordFile(state_.workingFolder, state_.circuit, folderPresence_, "Main #3",
                        state_.messages);
    event->accept();
}

void TFormMain::EditClick() {
    const FileQuery datafile = QueryFile(state_.DatafilePath());
    if (!datafile.fault.empty()) {
        state_.messages.ShowError("Cannot open " + state_.shell.DatafileName + " : " +
                                  datafile.fault);
    } else if (datafile.regular) {
        state_.windows.Get<TFormEdt2>().exec();
    } else {
        state_.messages.ShowWarning(CutText(state_.shell.DatafileName + " does not exist", 45));
    }
}

void TFormMain::ResponseClick() {
    state_.shell.AnalysisMode = AnalysisMode::Response;
    if (state_.ParseForAnalysis()) {
        state_.windows.Get<TFormResponse>().exec();
    }
}

// The submenu opens whatever the parse says; its items refuse a Datafile that failed.
void TFormMain::GraphsMenuShow() {
    graphsDatafileOk_ = state_.ParseForAnalysis().has_value();
}

// A failed parse leaves a record file of the faulty lines: sweeping it would draw a graph of a
// circuit that does not exist. The menu has already warned.
void TFormMain::AmplitudeClick() {
    state_.shell.AnalysisMode = AnalysisMode::Amplitude;
    if (graphsDatafileOk_) {
        state_.windows.Get<TFormFreqScales>().exec();
    }
}

void TFormMain::SquareWaveClick() {
    state_.shell.AnalysisMode = AnalysisMode::SquareWave;
    if (graphsDatafileOk_) {
        state_.windows.Get<TFormSqWMenu>().exec();
    }
}

void TFormMain::PulseClick() {
    state_.shell.AnalysisMode = AnalysisMode::Pulse;
    if (graphsDatafileOk_) {
        state_.windows.Get<TFormPMenu>().exec();
    }
}

void TFormMain::SetupClick() {
    state_.windows.Get<TFormSetup>().exec();
}

// The Bode analyser does not block the other windows: it stays open beside them.
void TFormMain::BodeClick() {
    if (graphsDatafileOk_) {
        state_.windows.Get<TFormBode>().ShowForCurrentDatafile();
    }
}

void TFormMain::HelpTopicClick(int32_t position) {
    OpenHelp(state_, position);
}

void TFormMain::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        HelpTopicClick(help::kRunningKelvor.position);
        return;
    }
    QMainWindow::keyReleaseEvent(event);
}

} // namespace kelvor::app
