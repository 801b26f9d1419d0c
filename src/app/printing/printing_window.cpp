// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/printing/printing_window.h"
#include "app/common/screen_checks.h"
#include "app/common/window_fonts.h"

#include "app/common/file_paths.h"
#include "app/common/qt_text.h"
#include "app/state/app_state.h"
#include "text/words.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace kelvor::app {
namespace {

constexpr int kClientWidth = 317;
constexpr int kClientHeight = 132;

} // namespace

TFormPrinting::TFormPrinting(AppState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), state_(state) {
    setObjectName("FormPrinting");
    setWindowTitle("  PRINTING");
    setModal(false);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(PixelFont("Arial", 13, true));

    auto* bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bevel->setGeometry(0, 0, kClientWidth, kClientHeight);

    LabelPrinting = new QLabel(this);
    LabelPrinting->setObjectName("LabelPrinting");
    LabelPrinting->setTextFormat(Qt::PlainText);
    LabelPrinting->setFont(PixelFont("Courier New", 13, true));
    QPalette black = LabelPrinting->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    LabelPrinting->setPalette(black);
    LabelPrinting->move(20, 15);

    ButtonCancel = new QPushButton("Cancel", this);
    ButtonCancel->setObjectName("ButtonCancel");
    ButtonCancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    ButtonCancel->setGeometry(106, 89, 100, 28);
    ButtonCancel->setAutoDefault(false);
    connect(ButtonCancel, &QPushButton::clicked, this, &TFormPrinting::ButtonCancelClick);

    FormPaint();
}

QString TFormPrinting::PrintingText() const {
    QString text =
        ShownText("          Now printing :-\r\n\r\n" + CentreText(state_.shell.PrintJobName, 35));
    if (!pdfFileName_.isEmpty()) {
        // A line of its own under the job name, so the user knows where to find the pages.
        text += "\r\n" + ShownText(CentreText("into " + PathFromQt(pdfFileName_).string(), 35), 35);
    }
    text.replace("\r\n", "\n");
    return text;
}

void TFormPrinting::ShowPdfFile(const QString& pdfFileName) {
    pdfFileName_ = pdfFileName;
    update();
}

void TFormPrinting::FormPaint() {
    const QString text = PrintingText();
    // Only on a change: setting the text repaints the label, which repaints this window again.
    if (LabelPrinting->text() != text) {
        LabelPrinting->setText(text);
        LabelPrinting->adjustSize();
    }
}

void TFormPrinting::paintEvent(QPaintEvent* event) {
    FormPaint();
    QDialog::paintEvent(event);
}

void TFormPrinting::showEvent(QShowEvent* event) {
    // Each showing belongs to a new job.
    cancelRequested_ = false;
    pdfFileName_.clear();
    FormPaint();
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

void TFormPrinting::keyPressEvent(QKeyEvent* event) {
    // Escape is the cancel button's key; it must not just hide the window and leave the job going.
    if (event->key() == Qt::Key_Escape) {
        ButtonCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFormPrinting::ButtonCancelClick() {
    cancelRequested_ = true;
    // A real printer drops the pages spooled so far; a PDF job is discarded by the printing
    // routine when it sees the request.
    QPrinter& printer = state_.printer();
    if (printer.printerState() == QPrinter::Active) {
        printer.abort();
    }
}

bool PrintCancelRequested(AppState& state) {
    if (!state.windows.Has<TFormPrinting>()) {
        return false;
    }
    const TFormPrinting& window = state.windows.Get<TFormPrinting>();
    return window.isVisible() && window.CancelRequested();
}

PrintingWindowShown::PrintingWindowShown(AppState& state)
    : window_(&state.windows.Get<TFormPrinting>()) {
    window_->show();
    QCoreApplication::processEvents();
}

PrintingWindowShown::~PrintingWindowShown() {
    if (window_ != nullptr) {
        window_->close();
    }
}

} // namespace kelvor::app
