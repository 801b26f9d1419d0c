// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell/setup_window.h"

#include "app/common/companion_window.h"
#include "app/common/event_wait.h"
#include "app/common/file_paths.h"
#include "app/common/qt_text.h"
#include "app/common/screen_checks.h"
#include "app/common/window_fonts.h"
#include "app/editors/text_editor_window.h"
#include "app/graphs/graph_window.h"
#include "app/shell/file_date_stamp.h"
#include "app/shell/image_processing_window.h"
#include "app/shell/label_room.h"
#include "app/shell/setup_labels.h"
#include "app/shell/setup_pictures.h"
#include "app/shell/system_facts.h"
#include "app/state/app_state.h"
#include "app/state/dialogs.h"
#include "diagnostics/extended_range_probe.h"
#include "text/date_text.h"
#include "text/words.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>

namespace kelvor::app {
namespace {

constexpr int kClientWidth = 732;
constexpr int kClientHeight = 534;
const QColor kWindowColour(222, 222, 222);
constexpr int kTestModeKey = Qt::Key_T;
constexpr int kEditorButtonKey = Qt::Key_E;
constexpr int kMessageCapacity = 45;
constexpr const char* kFileDateName = "A.dat";
// The desktop's opener, for folders and documents, and the terminal Debian's alternatives name.
constexpr const char* kDesktopOpener = "xdg-open";
constexpr const char* kTerminal = "x-terminal-emulator";
const QPoint kCanvasProbe(240, 405);
const QPoint kLogoProbe(40, 10);

std::string ColourText(const char* prefix, QRgb colour) {
    return std::string(prefix) + "R=" + std::to_string(qRed(colour)) +
           " G=" + std::to_string(qGreen(colour)) + " B=" + std::to_string(qBlue(colour));
}

DesktopSystemFacts& ThisComputer() {
    static DesktopSystemFacts facts;
    return facts;
}

} // namespace

TFormSetup::TFormSetup(AppState& state, QWidget* parent)
    : TFormSetup(state, parent, ThisComputer()) {}

TFormSetup::TFormSetup(AppState& state, QWidget* parent, const SystemFacts& facts)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      state_(state) {
    setObjectName("FormSetup");
    setWindowTitle("      SET UP");
    setWindowIcon(SetupIcon());
    setFont(PixelFont("Arial", 13, true));
    setFixedSize(kClientWidth, kClientHeight);
    auto* bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bevel->setGeometry(0, 0, kClientWidth, kClientHeight);
    FormCreate(facts);
}

void TFormSetup::FormCreate(const SystemFacts& facts) {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kWindowColour);
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    testMode_ = false;
    userName_ = UserNameOrUnknown(facts);
    operatingSystem_ = OperatingSystemName(facts);
    BuildInformationLabels(facts);
    BuildButtons();
    BuildDiagnosticControls();
    ShowDiagnosticControls();
}

void TFormSetup::BuildInformationLabels(const SystemFacts& facts) {
    for (const InformationLabel& line : InformationLabels(facts, state_.workingFolder)) {
        auto* label = new QLabel(ToQt(line.text), this);
        label->setObjectName(line.name);
        label->setFont(PixelFont("Arial", line.fontPixels, line.bold));
        label->move(0, line.top);
        informationLines_.push_back({label, label->text()});
        if (QLatin1String(line.name) == QLatin1String("LabelNoNodesLimit")) {
            LabelNoNodesLimit = label;
        }
    }
    logo_ = SetupLogo();
    ImageLogo = new QLabel(this);
    ImageLogo->setObjectName("ImageLogo");
    ImageLogo->setGeometry(288, 415, kLogoWidth, kLogoHeight);
    ImageLogo->setPixmap(QPixmap::fromImage(logo_));
}

void TFormSetup::BuildButtons() {
    BitBtnClose = new QPushButton("&Close", this);
    BitBtnClose->setObjectName("BitBtnClose");
    BitBtnClose->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    BitBtnClose->setGeometry(533, 356, 111, 30);
    connect(BitBtnClose, &QPushButton::clicked, this, &QDialog::close);

    ButtonShell = new QPushButton("New &Shell", this);
    ButtonShell->setObjectName("ButtonShell");
    ButtonShell->setGeometry(82, 356, 111, 30);
    connect(ButtonShell, &QPushButton::clicked, this, &TFormSetup::ButtonShellClick);

    ButtonEDT = new QPushButton("ButtonEDT", this);
    ButtonEDT->setObjectName("ButtonEDT");
    ButtonEDT->setGeometry(64, 424, 97, 33);
    ButtonEDT->hide();
    connect(ButtonEDT, &QPushButton::clicked, this, &TFormSetup::ButtonEDTClick);
}

QPushButton* TFormSetup::DiagnosticButton(const char* name, const char* caption, int left, int top,
                                          void (TFormSetup::*handler)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setFont(PixelFont("Arial", 13, false));
    button->adjustSize();
    button->move(left, top);
    connect(button, &QPushButton::clicked, this, handler);
    diagnosticControls.push_back(button);
    return button;
}

void TFormSetup::BuildDiagnosticControls() {
    struct ProbeLabel {
        const char* name;
        int top;
        const char* style;
    };
    for (const ProbeLabel& probe :
         {ProbeLabel{"Label1", 40, "background-color: red; color: black;"},
          ProbeLabel{"Label2", 56,
                     "background-color: black; color: "
                     "white; font-weight: bold;"},
          ProbeLabel{"Label3", 72, "background-color: yellow; color: black;"}}) {
        auto* label = new QLabel(probe.name, this);
        label->setObjectName(probe.name);
        label->setStyleSheet(probe.style);
        label->adjustSize();
        label->move(16, probe.top);
        diagnosticControls.push_back(label);
    }
    DiagnosticButton("ButtonSetFileDate", "Set File Date", 570, 26,
                     &TFormSetup::ButtonSetFileDateClick);
    DiagnosticButton("ButtonTest1", "TEST 1", 570, 70, &TFormSetup::ButtonTest1Click);
    DiagnosticButton("ButtonTest2", "TEST 2", 576, 114, &TFormSetup::ButtonTest2Click);
    DiagnosticButton("ButtonTimeResp", "Time  Resp", 34, 130, &TFormSetup::ButtonTimeRespClick);
    DiagnosticButton("ButtonTest3", "TEST 3", 578, 157, &TFormSetup::ButtonTest3Click);
    DiagnosticButton("ButtonDOS", "&DOS", 34, 170, &TFormSetup::ButtonDOSClick);
    DiagnosticButton("ButtonTestWinVer", "TEST Win Ver", 576, 200,
                     &TFormSetup::ButtonTestWinVerClick);
    DiagnosticButton("ButtonTestPattern", "&Test Pattern", 34, 212,
                     &TFormSetup::ButtonTestPatternClick);
    DiagnosticButton("ButtonModifyGraphDate", "Modify Graph Date", 40, 256,
                     &TFormSetup::ButtonModifyGraphDateClick);
    QPushButton* bigPcb = DiagnosticButton("ButtonBigPCB", "Big PCB Bitmap", 560, 296,
                                           &TFormSetup::ButtonBigPCBClick);
    bigPcb->setFont(PixelFont("Arial", 12, false));
    bigPcb->adjustSize();
    ButtonImageProc = DiagnosticButton("ButtonImageProc", "Image Proc", 552, 432,
                                       &TFormSetup::ButtonImageProcClick);
}

void TFormSetup::ShowDiagnosticControls() {
    for (QWidget* control : diagnosticControls) {
        control->setVisible(testMode_);
    }
    FitInformationLines();
}

// Each line centred; while the diagnostic controls show, a line that would run under one moves
// aside, and one wider than the room beside them is cut short with its whole text as tool tip.
void TFormSetup::FitInformationLines() {
    std::vector<QRect> shownControls;
    if (testMode_) {
        for (const QWidget* control : diagnosticControls) {
            shownControls.push_back(control->geometry());
        }
    }
    for (const InformationLine& line : informationLines_) {
        QLabel* label = line.label;
        label->setText(line.text);
        label->setToolTip(QString());
        label->adjustSize();
        const QRect centred(CentredLeft(kClientWidth, label->width()), label->y(), label->width(),
                            label->height());
        const QRect room = LabelRoom(centred, shownControls, kClientWidth);
        if (room.width() < centred.width()) {
            label->setText(
                label->fontMetrics().elidedText(line.text, Qt::ElideRight, room.width()));
            label->setToolTip(line.text);
        }
        label->setGeometry(room);
    }
}

void TFormSetup::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        CentreOnScreen(this);
    }
    QDialog::showEvent(event);
}

void TFormSetup::paintEvent(QPaintEvent* event) {
    // Read at every paint, laid out again only when it changed: a line cut short stays cut.
    const QString nodesLimit = ToQt(NodesLimitText());
    for (InformationLine& line : informationLines_) {
        if (line.label == LabelNoNodesLimit && line.text != nodesLimit) {
            line.text = nodesLimit;
            FitInformationLines();
        }
    }
    QDialog::paintEvent(event);
    if (!blackenedPixels_.empty()) {
        QPainter painter(this);
        painter.setPen(Qt::black);
        for (const QPoint& pixel : blackenedPixels_) {
            painter.drawPoint(pixel);
        }
    }
}

void TFormSetup::keyReleaseEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers chord = Qt::ControlModifier | Qt::AltModifier;
    if ((event->modifiers() & chord) == chord) {
        if (event->key() == kTestModeKey) {
            testMode_ = !testMode_;
            ShowDiagnosticControls();
        } else if (event->key() == kEditorButtonKey) {
            ButtonEDT->setVisible(!ButtonEDT->isVisible());
        }
        update();
        return;
    }
    QDialog::keyReleaseEvent(event);
}

void TFormSetup::done(int result) {
    if (isVisible()) {
        FormClose();
    }
    QDialog::done(result);
}

void TFormSetup::FormClose() {
    // A test pattern left open belongs to its own parent again.
    if (state_.windows.Has<TFormVGA>()) {
        ReleaseFromModal(&state_.windows.Get<TFormVGA>(), this);
    }
    state_.settings.Datafilename = state_.shell.DatafileName;
    state_.KeepSettings();
}

// A typed name that is a file or folder of the working folder is opened with the desktop's
// opener; anything else is a program with its arguments.
void TFormSetup::ButtonShellClick() {
    const std::optional<QString> typed =
        state_.dialogs.AskProgramName(this, QString(" ") + kDesktopOpener + " .");
    if (!typed) {
        return;
    }
    const QString command = typed->trimmed();
    if (command.isEmpty()) {
        return;
    }
    const QString folder = PathToQt(state_.workingFolder);
    bool started = false;
    if (QFileInfo::exists(QDir(folder).filePath(command))) {
        started = state_.dialogs.StartProgram(kDesktopOpener, {command}, folder);
    } else if (QStringList arguments = QProcess::splitCommand(command); !arguments.isEmpty()) {
        const QString program = arguments.takeFirst();
        started = state_.dialogs.StartProgram(program, arguments, folder);
    }
    if (!started) {
        state_.messages.ShowWarning("\r\n   Cannot start  " + MessageText(command) + "   ");
    }
}

void TFormSetup::ButtonEDTClick() {
    if (std::filesystem::is_regular_file(state_.DatafilePath())) {
        state_.windows.Get<TFormEdt>().exec();
        return;
    }
    state_.messages.ShowWarning(
        CutText(state_.shell.DatafileName + " does not exist", kMessageCapacity));
}

void TFormSetup::ButtonTimeRespClick() {
    const Answer answer = state_.messages.Ask("Time Response ?", QuestionButtons::YesNoCancel);
    if (answer != Answer::Cancel) {
        state_.TimeResponse = answer == Answer::Yes;
    }
}

void TFormSetup::ButtonDOSClick() {
    if (state_.messages.Ask("  Start Terminal ?", QuestionButtons::OkCancel) != Answer::Yes) {
        return;
    }
    if (!state_.dialogs.ProgramInstalled(kTerminal)) {
        state_.messages.ShowWarning(
            "\r\n   No terminal emulator is installed  (x-terminal-emulator)   ");
        return;
    }
    state_.messages.ShowInfo("Type 'exit' to close the terminal");
    if (!state_.dialogs.StartProgram(kTerminal, {}, PathToQt(state_.workingFolder))) {
        state_.messages.ShowWarning(std::string("\r\n   Cannot start  ") + kTerminal + "   ");
    }
}

void TFormSetup::ButtonTestPatternClick() {
    const Answer answer =
        state_.messages.Ask("   Displaying Test Pattern will clear any   \r\n\r\nexisting graphs. "
                            "Do you wish to continue ? ",
                            QuestionButtons::YesNo);
    if (answer != Answer::Yes) {
        return;
    }
    state_.graph.picture = QImage();
    state_.shell.AnalysisMode = AnalysisMode::TestPattern;
    ConnectToGraphWindow();
    TFormVGA& graph = state_.windows.Get<TFormVGA>();
    UseBesideModal(&graph, this);
    // Shown afresh, so that it draws the pattern even when it was showing a graph.
    graph.hide();
    graph.show();
}

void TFormSetup::ConnectToGraphWindow() {
    if (!connectedToGraph_) {
        connect(&state_.windows.Get<TFormVGA>(), &TFormVGA::GraphClosed, this,
                &TFormSetup::GraphClosed);
        connectedToGraph_ = true;
    }
}

void TFormSetup::GraphClosed(AnalysisMode mode) {
    if (mode == AnalysisMode::TestPattern && isVisible()) {
        done(QDialog::Rejected);
    }
}

void TFormSetup::ButtonModifyGraphDateClick() {
    const Answer answer = state_.messages.Ask("Modify Graph Date ?", QuestionButtons::YesNoCancel);
    if (answer == Answer::Yes) {
        state_.shell.TodayText = " 6 Jan 2004";
    } else if (answer == Answer::No) {
        state_.shell.TodayText = TodayText();
    }
}

void TFormSetup::ButtonBigPCBClick() {
    const Answer answer =
        state_.messages.Ask("     Make Big PCB Bitmap ?", QuestionButtons::YesNoCancel);
    if (answer != Answer::Cancel) {
        state_.BigPcbBitmap = answer == Answer::Yes;
    }
    if (state_.BigPcbBitmap) {
        state_.messages.ShowInfo("Now run Test Pattern TWICE");
    }
}

void TFormSetup::ButtonTest1Click() {
    const Answer answer =
        state_.messages.Ask("           RUN TEST1 ?", QuestionButtons::YesNoCancel);
    if (answer != Answer::Cancel) {
        state_.solver.Test1Trace = answer == Answer::Yes;
    }
    const QRgb canvas = grab(QRect(kCanvasProbe, QSize(1, 1))).toImage().pixel(0, 0);
    state_.messages.ShowInfo(ColourText("CANVAS ", canvas));
    blackenedPixels_.push_back(kCanvasProbe);
    update(QRect(kCanvasProbe, QSize(1, 1)));

    state_.messages.ShowInfo(ColourText("LOGO  ", logo_.pixel(kLogoProbe)));
    logo_.setPixel(kLogoProbe, qRgb(255, 0, 0));
    ImageLogo->setPixmap(QPixmap::fromImage(logo_));
}

void TFormSetup::ButtonTest2Click() {
    state_.messages.ShowInfo(ExtendedRangeProbeText());
    ButtonTestPatternClick();
}

void TFormSetup::ButtonTest3Click() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    state_.messages.ShowInfo("Button 3");
    WaitMs(state_.pauses.diagnosticMs);
    state_.messages.ShowError("BEEP");
    WaitMs(state_.pauses.diagnosticMs);
    QApplication::restoreOverrideCursor();
    state_.messages.ShowInfo("version.dll");
}

void TFormSetup::ButtonTestWinVerClick() {
    state_.messages.ShowInfo(userName_);
    state_.messages.ShowInfo(operatingSystem_);
}

void TFormSetup::ButtonSetFileDateClick() {
    StampFileDate(PathToQt(state_.File(kFileDateName)), state_.messages);
}

void TFormSetup::ButtonImageProcClick() {
    TFormImgProc& imageWindow = state_.windows.Get<TFormImgProc>();
    if (!connectedToImageWindow_) {
        connect(&imageWindow, &TFormImgProc::ColumnReached, this,
                [this](int column) { ButtonImageProc->setText(QString::number(column)); });
        connect(&imageWindow, &TFormImgProc::ProcessingFinished, this,
                [this] { ButtonImageProc->setText("Image Proc."); });
        connectedToImageWindow_ = true;
    }
    imageWindow.exec();
}

} // namespace kelvor::app
