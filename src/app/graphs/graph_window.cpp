// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/graphs/graph_window.h"

#include "app/common/bitmap_file.h"
#include "app/common/event_wait.h"
#include "app/common/file_paths.h"
#include "app/common/file_queries.h"
#include "app/common/qt_text.h"
#include "app/common/screen_checks.h"
#include "app/common/window_fonts.h"
#include "app/graphs/graph_page_setup_window.h"
#include "app/graphs/graph_parameters_window.h"
#include "app/help/help_window.h"
#include "app/printing/print_target.h"
#include "app/printing/printing_window.h"
#include "app/state/app_state.h"
#include "app/state/dialogs.h"
#include "files/file_io.h"
#include "kelvor_error.h"
#include "render/amplitude_graph.h"
#include "render/graph_canvas.h"
#include "render/print_layout.h"
#include "render/test_pattern.h"
#include "settings/settings_file.h"
#include "text/date_text.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <cctype>

namespace kelvor::app {
namespace {

constexpr int kClientWidth = 732;
constexpr int kClientHeight = 541;
constexpr int kBigClientWidth = 795;
constexpr int kBigClientHeight = 575;
constexpr const char* kClosingPictureName = "KELVOR.BMP";
constexpr const char* kPcbTileName = "pcb Mk14.bmp";
constexpr const char* kBigPcbName = "pcb MK14_BIG.bmp";

// F1 leads to the help on the picture shown; the test pattern has none.
const HelpPlace* HelpPlaceOf(AnalysisMode mode) {
    switch (mode) {
    case AnalysisMode::Amplitude:
        return &help::kAmplitudeGraphWindow;
    case AnalysisMode::SquareWave:
        return &help::kSquareWaveGraphWindow;
    case AnalysisMode::Pulse:
        return &help::kPulseResponse;
    default:
        return nullptr;
    }
}

// Where the closing picture is not kept: a working folder on the floppy drive A. A folder
// without a drive letter is never there.
bool OnDriveA(const std::filesystem::path& folder) {
    std::error_code ignored;
    const std::string root = std::filesystem::absolute(folder, ignored).root_name().string();
    return root.size() == 2 && std::toupper(static_cast<unsigned char>(root[0])) == 'A' &&
           root[1] == ':';
}

} // namespace

TFormVGA::TFormVGA(AppState& state, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      state_(state) {
    setObjectName("FormVGA");

    setFont(PixelFont("Times New Roman", 12, true));

    clientArea_ = new QWidget(this);
    clientArea_->setAutoFillBackground(true);
    QPalette white = clientArea_->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    clientArea_->setPalette(white);
    setCentralWidget(clientArea_);

    ImageVGA = new QLabel(clientArea_);
    ImageVGA->setObjectName("ImageVGA");
    ImageVGA->setAlignment(Qt::AlignCenter);
    PlaceGraphImage(render::kAmplitudePictureWidth, render::kAmplitudePictureHeight, 0, 0);

    // The inert pop-up menu of the window and the picture.
    auto* popup = new QMenu(this);
    popup->addAction("NIL");
    for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(ImageVGA)}) {
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(widget, &QWidget::customContextMenuRequested, this,
                [popup, widget](const QPoint& at) { popup->popup(widget->mapToGlobal(at)); });
    }

    BuildMenus();
    SetClientSize(kClientWidth, kClientHeight);
}

TFormVGA::~TFormVGA() = default;

void TFormVGA::BuildMenus() {
    MenuFile = menuBar()->addMenu("      &File");
    connect(MenuFile->addAction("&Save As"), &QAction::triggered, this, &TFormVGA::SaveAsClick);
    MenuFile->addSeparator();
    connect(MenuFile->addAction("&Print"), &QAction::triggered, this, &TFormVGA::PrintClick);
    connect(MenuFile->addAction("P&age Setup"), &QAction::triggered, this,
            &TFormVGA::PageSetupClick);

    MenuRepeat = menuBar()->addMenu("   &Repeat");
    connect(MenuRepeat->addAction("&Display Again"), &QAction::triggered, this,
            &TFormVGA::DisplayAgainClick);
    connect(MenuRepeat->addAction("&Calculate Again"), &QAction::triggered, this,
            &TFormVGA::CalculateAgainClick);
    MenuRepeat->addSeparator();
    connect(MenuRepeat->addAction("&Main Menu"), &QAction::triggered, this,
            &TFormVGA::MainMenuClick);

    OptionKeepGreyBorder = menuBar()->addAction(" ");
    OptionKeepGreyBorder->setObjectName("OptionKeepGreyBorder");
}

void TFormVGA::SetClientSize(int width, int height) {
    setFixedSize(width, height + menuBar()->sizeHint().height());
}

void TFormVGA::SetCommandMenusVisible(bool visible) {
    MenuFile->menuAction()->setVisible(visible);
    MenuRepeat->menuAction()->setVisible(visible);
}

void TFormVGA::PlaceGraphImage(int width, int height, int left, int top) {
    ImageVGA->setGeometry(left, top, width, height);
}

QSize TFormVGA::PictureSize() const {
    return ImageVGA->size();
}

QImage& TFormVGA::Picture() {
    QImage& picture = state_.graph.picture;
    // A picture of another size belongs to another kind of plot: start a clean one rather
    // than drawing over part of it.
    if (picture.isNull() || picture.size() != PictureSize()) {
        picture = QImage(PictureSize(), QImage::Format_RGB32);
        picture.fill(Qt::white);
    }
    return picture;
}

void TFormVGA::ShowPicture() {
    ImageVGA->setPixmap(QPixmap::fromImage(Picture()));
}

void TFormVGA::showEvent(QShowEvent* event) {
    // A window restored from the task bar is shown again by the system: nothing to redraw.
    if (!event->spontaneous()) {
        FormShow();
        CentreOnScreen(this);
    }
    QMainWindow::showEvent(event);
}

void TFormVGA::FormShow() {
    state_.ReloadSettings();
    switch (state_.shell.AnalysisMode) {
    case AnalysisMode::Amplitude:
        DrawAmplitude();
        break;
    case AnalysisMode::TestPattern:
        DrawTestPatternPicture();
        break;
    default:
        // The square-wave and pulse plots draw once the window is showing.
        SetClientSize(kClientWidth, kClientHeight);
        ImageVGA->setAlignment(Qt::AlignCenter);
        break;
    }
}

void TFormVGA::DrawAmplitude() {
    setWindowTitle("   AMPLITUDE/FREQUENCY RESPONSE");
    SetClientSize(kClientWidth, kClientHeight);
    ImageVGA->setAlignment(Qt::AlignCenter);
    PlaceGraphImage(render::kAmplitudePictureWidth, render::kAmplitudePictureHeight, 9, 4);

    GraphState& graph = state_.graph;
    render::AmplitudeGraphInput input;
    // The picture shows the scale that was swept, whatever the settings file says since.
    input.FCode = graph.scale.FCode;
    input.SweepGain = graph.sweep.SweepGain;
    input.UserFreqLabels = graph.sweep.UserFreqLabels;
    input.GraphScale = state_.settings.GraphScale;
    input.GraphTop = state_.settings.GraphTop;
    input.Bold = graph.BoldGraph;
    input.GridLinesPending = graph.GridLinesPending;
    input.DatafileName = state_.shell.DatafileName;
    input.RevisionNumber = state_.circuit.RevisionNumber;
    input.TodayText = state_.shell.TodayText;
    if (graph.ColourGraph) {
        dialogColour_ = state_.dialogs.ChooseColour(this, dialogColour_);
        input.PenColour = render::ValueFromColour(dialogColour_);
    }
    try {
        render::DrawAmplitudeGraph(Picture(), input);
    } catch (const KelvorError& fault) {
        state_.messages.ShowError(fault.what());
    }
    graph.GridLinesPending = false;
    ShowPicture();
}

void TFormVGA::DrawTestPatternPicture() {
    SetClientSize(kClientWidth, kClientHeight);
    ImageVGA->setAlignment(Qt::AlignCenter);
    PlaceGraphImage(render::kTestPatternWidth, render::kTestPatternHeight, 31, 24);
    setWindowTitle("  TEST PATTERN");
    QImage pattern = render::DrawTestPattern(state_.shell.DatafileName, kelvor::TodayText());
    if (!state_.BigPcbBitmap) {
        state_.graph.picture = pattern;
        ShowPicture();
        return;
    }

    SetClientSize(kBigClientWidth, kBigClientHeight);
    ImageVGA->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PlaceGraphImage(render::kBigPcbWidth, render::kBigPcbHeight, 0, 0);
    const std::filesystem::path tilePath = state_.File(kPcbTileName);
    const QImage tile = ReadBoardPicture(tilePath);
    state_.graph.picture = render::DrawBigPcbPicture(pattern, tile);
    if (!tile.isNull()) {
        SavePictureReported(state_.File(kBigPcbName));
    }
    ShowPicture();
}

// The board picture when the working folder has one. Only a regular file is read, so a pipe
// of that name never blocks the window; one that cannot be read is a warning and no picture.
QImage TFormVGA::ReadBoardPicture(const std::filesystem::path& path) {
    const FileQuery query = QueryFile(path);
    if (!query.exists && query.fault.empty()) {
        return QImage();
    }
    QImage picture;
    try {
        const std::string bytes = ReadWholeFile(path);
        if (!picture.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                                  static_cast<int>(bytes.size()))) {
            state_.messages.ShowWarning(std::string("Cannot read ") + kPcbTileName);
        }
    } catch (const KelvorError& fault) {
        state_.messages.ShowWarning(fault.what());
    }
    return picture;
}

// Written whole or not at all, like every file of the program; a failure says why.
bool TFormVGA::SavePictureReported(const std::filesystem::path& path) {
    try {
        WriteBitmapFile(Picture(), path);
    } catch (const KelvorError& fault) {
        state_.messages.ShowWarning(fault.what());
        return false;
    }
    return true;
}

void TFormVGA::SaveAsClick() {
    const std::string proposed = render::NameWithoutExtension(state_.shell.DatafileName) + ".bmp";
    const std::optional<QString> chosen =
        state_.dialogs.ChooseBitmapFile(this, PathToQt(state_.File(proposed)));
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    const std::filesystem::path path = PathFromQt(*chosen);
    const FileQuery existing = QueryFile(path);
    if (!existing.fault.empty()) {
        state_.messages.ShowWarning("Cannot save " + path.filename().string() + " : " +
                                    existing.fault);
        return;
    }
    if (existing.exists && state_.messages.Ask(" File Already Exists  -  Overwrite ? ",
                                               QuestionButtons::YesNo) != Answer::Yes) {
        return;
    }
    SavePictureReported(path);
}

void TFormVGA::PrintClick() {
    QPrinter& printer = state_.printer();
    if (PrinterBusy(printer, state_.messages)) {
        return;
    }
    const std::optional<PrintTarget> target =
        ChoosePrintTarget(state_.dialogs, printer, this, state_.workingFolder, kClosingPictureName);
    if (!target) {
        return;
    }
    // Without a printer the PDF file question stands in for the printer setup.
    if (!target->toPdf && !state_.dialogs.SetUpPrinter(printer, this)) {
        return;
    }
    PrintPicture();
}

void TFormVGA::PrintPicture() {
    QPrinter& printer = state_.printer();
    const QImage& picture = Picture();
    const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    const std::optional<render::PrintPlacement> placement =
        render::PlaceGraphOnPage({printer.width(), printer.height(), landscape},
                                 state_.settings.GraphOriginX, state_.settings.GraphOriginY,
                                 state_.settings.GraphScaleXY, picture.width(), picture.height());
    if (!placement) {
        state_.messages.ShowError(" Invalid Parameters    ");
        return;
    }
    if (placement->exceedsPage) {
        state_.dialogs.Beep();
        if (state_.messages.Ask("Graph exceeds page size  \r\r    Carry on printing ?",
                                QuestionButtons::YesNo) != Answer::Yes) {
            return;
        }
    }

    state_.shell.PrintJobName = kClosingPictureName;
    printer.setDocName(kClosingPictureName);
    PrintingWindowShown printing(state_);
    WaitMs(state_.pauses.beforeGraphPrintMs);
    if (printing.window().CancelRequested()) {
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        state_.messages.ShowWarning("Cannot print on " + MessageText(printer.printerName()));
        return;
    }
    // Stretched without smoothing: every picture pixel becomes a block of printer pixels.
    painter.drawImage(QRect(placement->left, placement->top, placement->right - placement->left,
                            placement->bottom - placement->top),
                      picture);
    painter.end();
}

void TFormVGA::PageSetupClick() {
    state_.windows.Get<TFormGraphSetUp>().exec();
}

void TFormVGA::DisplayAgainClick() {
    const AnalysisMode mode = state_.shell.AnalysisMode;
    if (mode == AnalysisMode::Amplitude) {
        close();
        state_.windows.Get<TFormFResults>().show();
    } else if (mode == AnalysisMode::SquareWave || mode == AnalysisMode::Pulse) {
        emit DisplayAgainRequested(mode);
    }
}

void TFormVGA::CalculateAgainClick() {
    switch (state_.shell.AnalysisMode) {
    case AnalysisMode::Amplitude:
        state_.shell.ReopenFreqScales = true;
        break;
    case AnalysisMode::SquareWave:
        state_.shell.ReopenSquareWave = true;
        break;
    case AnalysisMode::Pulse:
        state_.shell.ReopenPulse = true;
        break;
    default:
        return;
    }
    close();
    emit state_.mainWindowRequests.reopenMenuWindows();
}

void TFormVGA::MainMenuClick() {
    close();
}

void TFormVGA::closeEvent(QCloseEvent* event) {
    // Closing a window that is not showing (another window tidying up) changes nothing.
    if (isVisible()) {
        FormClose();
    }
    QMainWindow::closeEvent(event);
}

void TFormVGA::FormClose() {
    const AnalysisMode mode = state_.shell.AnalysisMode;
    if (mode != AnalysisMode::TestPattern && !OnDriveA(state_.workingFolder)) {
        SavePictureReported(state_.File(kClosingPictureName));
    }
    if (mode == AnalysisMode::Amplitude && state_.graph.Superimpose) {
        state_.graph.SuperimposeArmed = true;
    }
    emit GraphClosed(mode);
}

void TFormVGA::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        if (const HelpPlace* place = HelpPlaceOf(state_.shell.AnalysisMode)) {
            OpenHelp(state_, place->position);
        }
        return;
    }
    QMainWindow::keyReleaseEvent(event);
}

} // namespace kelvor::app
