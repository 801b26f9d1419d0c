#include "app/shell/main_window.h"

#include "app/bode/bode_window.h"
#include "app/common/file_paths.h"
#include "app/common/file_queries.h"
#include "app/common/qt_text.h"
#include "app/common/screen_checks.h"
#include "app/editors/form_editor_window.h"
#include "app/editors/record_listing_window.h"
#include "app/editors/text_editor_window.h"
#include "app/graphs/frequency_scale_window.h"
#include "app/graphs/graph_page_setup_window.h"
#include "app/graphs/graph_parameters_window.h"
#include "app/graphs/graph_window.h"
#include "app/printing/datafile_printing.h"
#include "app/printing/page_setup_window.h"
#include "app/printing/printing_window.h"
#include "app/response/response_window.h"
#include "app/shell/help_window.h"
#include "app/shell/image_processing_window.h"
#include "app/shell/settings_saving.h"
#include "app/shell/setup_window.h"
#include "app/timeresp/pulse_window.h"
#include "app/timeresp/square_wave_window.h"
#include "circuit/datafile_reader.h"
#include "circuit/record_file.h"
#include "circuit/sample_datafile.h"
#include "files/delete_file_reported.h"
#include "files/file_io.h"
#include "files/folder_probe.h"
#include "kelvor_error.h"
#include "text/date_text.h"
#include "text/words.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QShowEvent>
#include <cmath>

namespace kelvor::app {
namespace {

constexpr int kMaxNodes = 100;
constexpr int kDatafileNameCapacity = 30;

struct HelpTopic {
    const char* caption;
    int32_t position;
    bool separatorAfter;
};

constexpr HelpTopic kHelpTopics[] = {
    {"1.  Introduction", 1466, true},
    {"2.  Running KELVOR", 4480, false},
    {"     2.1  Open a Datfile", 6050, false},
    {"     2.2  Defining a New Circuit", 6287, false},
    {"     2.3  Display/Edit Component Values", 7040, false},
    {"     2.4  Print Component Values", 13855, false},
    {"     2.5  Calculate Response", 14280, false},
    {"     2.6  Graphs/Amplitude Response", 16807, false},
    {"     2.7  Graphs/SquareWave Response", 20200, false},
    {"     2.8  Graphs/Pulse Response", 21760, false},
    {"     2.9  Help and Setup", 22650, true},
    {"3.  Sample Datafiles", 23771, true},
    {"4.  Hardware && Software", 32450, true},
    {"5.  TOLVARN Software", 33450, false},
};

// The picture filling the main window: silver, with the amplitude response of a high-pass filter
// on a grid, the kind of graph the program draws, between the banner and the status panel.
QPixmap MainPicture(int width, int height, const QRect& plot) {
    QPixmap picture(width, height);
    picture.fill(QColor(192, 192, 192));
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

std::optional<QString> ShowOpenDialog(QWidget* owner, const QString& folder, const QString& name) {
    QFileDialog dialog(owner, "Open Existing Datafile / To Create New One Type New Name", folder,
                       "Datafiles (*.dat)");
    // A name that does not exist is allowed: it becomes a new Datafile.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix("dat");
    dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

std::string FolderWarning(const QString& folder, const std::string& reason) {
    return "\r\n   The working folder cannot be written :   \r\n\r\n   " +
           PathFromQt(folder).string() + "\r\n   " + reason +
           "\r\n\r\n   KELVOR runs, but settings, Datafiles and pictures will not be saved.   ";
}

} // namespace

TFormMain::TFormMain(AppState& state, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      state_(state) {
    chooseDatafile = [this](QWidget* owner) {
        return ShowOpenDialog(owner, PathToQt(state_.workingFolder),
                              PathToQt(state_.shell.DatafileName));
    };
    state_.windows.main = this;
    BuildContents();
    BuildMenus();
    // Sized once the menu bar holds its menus: the client area keeps its full height below it.
    const int menuHeight = menuBar()->heightForWidth(732);
    setFixedSize(732, 514 + (menuHeight > 0 ? menuHeight : menuBar()->sizeHint().height()));
    FormCreate();
    CreateWindows();
    UpdateCaptionAndStatus();
}

TFormMain::~TFormMain() {
    state_.windows = Windows{};
}

void TFormMain::FormCreate() {
    state_.shell.TodayText = TodayText();
    ReadSettingsAtStart();
    state_.shell.DatafileName = state_.settings.Datafilename;
    DeleteFileReported(state_.File(kRecordFileName), "Main #1", state_.messages);
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
        state_.messages.ShowWarning(FolderWarning(PathToQt(state_.workingFolder), *reason));
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

// Every window lives for the whole run; as a child of the main window it is deleted with it.
template <class Window> void TFormMain::Create(Window*& slot) {
    slot = new Window(state_, this);
}

// The start-up order: the windows that follow the main window.
void TFormMain::CreateWindows() {
    Windows& windows = state_.windows;
    Create(windows.setup);
    Create(windows.graphPageSetup);
    Create(windows.response);
    Create(windows.help);
    Create(windows.printing);
    Create(windows.graph);
    Create(windows.listing);
    Create(windows.textEditor);
    Create(windows.freqScales);
    Create(windows.graphParameters);
    Create(windows.squareWave);
    Create(windows.pulse);
    Create(windows.pageSetup);
    Create(windows.formEditor);
    Create(windows.bode);
    Create(windows.imageProcessing);
}

void TFormMain::BuildContents() {
    auto* contents = new QWidget(this);
    contents->setAutoFillBackground(true);
    QPalette silver = contents->palette();
    silver.setColor(QPalette::Window, QColor(192, 192, 192));
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
    QFont bannerFont("Arial");
    bannerFont.setPixelSize(24);
    bannerFont.setBold(true);
    bannerFont.setItalic(true);
    banner->setFont(bannerFont);

    statusPanel_ = new QLabel(contents);
    statusPanel_->setObjectName("StatusPanel");
    statusPanel_->setGeometry(96, 440, 540, 30);
    statusPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusPanel_->setStyleSheet("background-color: rgb(248, 248, 248);");
    QFont statusFont("Courier New");
    statusFont.setPixelSize(13);
    statusFont.setBold(true);
    statusPanel_->setFont(statusFont);
}

void TFormMain::BuildMenus() {
    QMenu* file = menuBar()->addMenu(" &File ");
    connect(file->addAction("&Open ..."), &QAction::triggered, this, &TFormMain::FileOpenClick);
    const OpenDatafile open = [this](const QString& name) { OpenDatafileNamed(name); };
    connect(file->addAction(QString::fromUtf8("Open E&xample\u2026")), &QAction::triggered, this,
            [this, open] { OpenExampleCommand(state_, this, interchangeDialogs, open); });
    file->addSeparator();
    connect(file->addAction(QString::fromUtf8("Export SPICE Netlist\u2026")), &QAction::triggered,
            this, [this] { ExportSpiceNetlistCommand(state_, this, interchangeDialogs); });
    connect(file->addAction(QString::fromUtf8("Import SPICE Netlist\u2026")), &QAction::triggered,
            this,
            [this, open] { ImportSpiceNetlistCommand(state_, this, interchangeDialogs, open); });
    file->addSeparator();
    connect(file->addAction("&Print ..."), &QAction::triggered, this, &TFormMain::FilePrintClick);
    connect(file->addAction("P&age Setup"), &QAction::triggered, this, &TFormMain::PageSetupClick);
    file->addSeparator();
    connect(file->addAction("E&xit ..."), &QAction::triggered, this, &TFormMain::ExitClick);

    connect(menuBar()->addAction(" &Edit "), &QAction::triggered, this, &TFormMain::EditClick);
    connect(menuBar()->addAction(" &Response "), &QAction::triggered, this,
            &TFormMain::ResponseClick);

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
    connect(graphs->addAction("&Bode Analyser ..."), &QAction::triggered, this,
            &TFormMain::BodeClick);

    QMenu* help = menuBar()->addMenu(" &Help ");
    help->addAction("                   HELP  MENU");
    help->addSeparator();
    for (const HelpTopic& topic : kHelpTopics) {
        const int32_t position = topic.position;
        connect(help->addAction(topic.caption), &QAction::triggered, this,
                [this, position] { HelpTopicClick(position); });
        if (topic.separatorAfter) {
            help->addSeparator();
        }
    }
    connect(menuBar()->addAction(" &Setup "), &QAction::triggered, this, &TFormMain::SetupClick);
}

void TFormMain::UpdateCaptionAndStatus() {
    setWindowTitle("     KELVOR2007  -  " + QString::number(kMaxNodes));
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
    TFormFreqScales* freqScales = state_.windows.freqScales;
    if (state_.shell.ReopenFreqScales && freqScales != nullptr && !freqScales->isVisible()) {
        freqScales->exec();
    }
    TFormSqWMenu* squareWave = state_.windows.squareWave;
    if (state_.shell.ReopenSquareWave && squareWave != nullptr && !squareWave->isVisible()) {
        squareWave->exec();
    }
    TFormPMenu* pulse = state_.windows.pulse;
    if (state_.shell.ReopenPulse && pulse != nullptr && !pulse->isVisible()) {
        pulse->exec();
    }
}

void TFormMain::FileOpenClick() {
    const std::optional<QString> chosen = chooseDatafile(this);
    if (chosen) {
        OpenDatafileNamed(*chosen);
    }
}

void TFormMain::OpenDatafileNamed(const QString& chosenPath) {
    MessageSink& messages = state_.messages;
    std::string name =
        CutText(PathFromQt(QFileInfo(chosenPath).fileName()).string(), kDatafileNameCapacity);
    if (name.size() > 28) {
        messages.ShowWarning("\r\n   Filename too long - 24 chars max.    ");
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
            ParseDatafile(state_.workingFolder, name, ParseMode::Silent, state_.circuit, messages,
                          state_.shell.TodayText);
            state_.shell.NewDatafile = false;
        } else {
            WriteFileAtomically(state_.DatafilePath(), NewDatafileSkeleton(state_.shell.TodayText));
            DeleteOwnRecordFile(state_.workingFolder, state_.circuit, "Main #2", messages);
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
}

void TFormMain::SaveSettings() {
    state_.settings.Datafilename = state_.shell.DatafileName;
    SaveSettingsReported(state_);
}

void TFormMain::FilePrintClick() {
    PrintDatafile(state_, this);
}

void TFormMain::PageSetupClick() {
    state_.windows.pageSetup->exec();
}

void TFormMain::ExitClick() {
    if (state_.messages.Ask("\r\n        Close KELVOR           ", QuestionButtons::YesNo) ==
        Answer::Yes) {
        close();
    }
}

void TFormMain::closeEvent(QCloseEvent* event) {
    DeleteOwnRecordFile(state_.workingFolder, state_.circuit, "Main #3", state_.messages);
    event->accept();
}

// Every analysis parses the current Datafile silently first; a failure is reported here.
bool TFormMain::ParseForAnalysis() {
    try {
        const ParseOutcome outcome =
            ParseDatafile(state_.workingFolder, state_.shell.DatafileName, ParseMode::Silent,
                          state_.circuit, state_.messages, state_.shell.TodayText);
        if (outcome.ok) {
            return true;
        }
        state_.messages.ShowWarning("\r\nCannot Run  -  Error in Datafile  ");
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
    }
    return false;
}

void TFormMain::EditClick() {
    const FileQuery datafile = QueryFile(state_.DatafilePath());
    if (!datafile.fault.empty()) {
        state_.messages.ShowError("Cannot open " + state_.shell.DatafileName + " : " +
                                  datafile.fault);
    } else if (datafile.regular) {
        state_.windows.formEditor->exec();
    } else {
        state_.messages.ShowWarning(CutText(state_.shell.DatafileName + " does not exist", 45));
    }
}

void TFormMain::ResponseClick() {
    state_.shell.AnalysisMode = 8;
    if (ParseForAnalysis()) {
        state_.windows.response->exec();
    }
}

// The submenu opens whatever the parse says; its items refuse a Datafile that failed.
void TFormMain::GraphsMenuShow() {
    graphsDatafileOk_ = ParseForAnalysis();
}

// A failed parse leaves a record file of the faulty lines: sweeping it would draw a graph of a
// circuit that does not exist. The menu has already warned.
void TFormMain::AmplitudeClick() {
    state_.shell.AnalysisMode = 4;
    if (graphsDatafileOk_) {
        state_.windows.freqScales->exec();
    }
}

void TFormMain::SquareWaveClick() {
    state_.shell.AnalysisMode = 5;
    if (graphsDatafileOk_) {
        state_.windows.squareWave->exec();
    }
}

void TFormMain::PulseClick() {
    state_.shell.AnalysisMode = 6;
    if (graphsDatafileOk_) {
        state_.windows.pulse->exec();
    }
}

void TFormMain::SetupClick() {
    state_.windows.setup->exec();
}

// The Bode analyser does not block the other windows: it stays open beside them.
void TFormMain::BodeClick() {
    if (graphsDatafileOk_) {
        state_.windows.bode->ShowForCurrentDatafile();
    }
}

void TFormMain::HelpTopicClick(int32_t position) {
    OpenHelp(state_, position, this);
}

void TFormMain::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        HelpTopicClick(4480);
        return;
    }
    QMainWindow::keyReleaseEvent(event);
}

} // namespace kelvor::app
