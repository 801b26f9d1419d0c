// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/response/response_window.h"

#include "analysis/response_table.h"
#include "app/common/qt_text.h"
#include "app/common/screen_checks.h"
#include "app/common/typing_limit.h"
#include "app/common/window_fonts.h"
#include "app/common/window_look.h"
#include "app/help/help_window.h"
#include "app/printing/rich_text_printing.h"
#include "kelvor_error.h"
#include "text/date_text.h"
#include "text/eng_value.h"
#include "text/words.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace kelvor::app {
namespace {

QLineEdit* ResultBox(QWidget* parent, int left, int top, int width) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(left, top, width, 24);
    box->setFont(PixelFont("Arial", 13, true));
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QPushButton* Button(QWidget* parent, const char* caption, int left, int top, int width) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(left, top, width, 26);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TFormResponse::TFormResponse(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(747, 538);
    setFont(PixelFont("Arial", 13));
    BuildControls();
    // Key preview: F1 opens help whichever control has the focus.
    for (QWidget* control : findChildren<QWidget*>()) {
        control->installEventFilter(this);
    }
}

void TFormResponse::BuildControls() {
    auto* panel = new QFrame(this);
    panel->setGeometry(0, 0, 747, 184);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);

    const struct {
        const char* caption;
        int top, width;
    } labels[] = {{"Frequency (Hz)", 19, 89},
                  {"Gain (dB)", 50, 55},
                  {"Phase (degrees)", 82, 95},
                  {"Zin (ohms)", 114, 61},
                  {"Zout (ohms)", 146, 69}};
    for (const auto& label : labels) {
        (new QLabel(label.caption, panel))->setGeometry(60, label.top, label.width + 20, 16);
    }

    EditBoxFreq = new QLineEdit(panel);
    EditBoxFreq->setGeometry(186, 14, 167, 24);
    EditBoxFreq->setFont(PixelFont("Arial", 13, true));
    LimitTyping(EditBoxFreq, 16);
    connect(EditBoxFreq, &QLineEdit::textChanged, this, [this] { ClearResults(); });
    EditBoxGain = ResultBox(panel, 186, 46, 167);
    EditBoxPhase = ResultBox(panel, 186, 78, 169);
    EditBoxZin = ResultBox(panel, 186, 110, 169);
    EditBoxZout = ResultBox(panel, 186, 142, 169);

    CheckBoxResponse = new QCheckBox(" Extd.", panel);
    CheckBoxResponse->setGeometry(388, 38, 65, 27);
    CheckBoxResponse->setFocusPolicy(Qt::NoFocus);
    connect(CheckBoxResponse, &QCheckBox::clicked, this, [this] { ClearResults(); });
    CheckBoxBold = new QCheckBox(" Bold", panel);
    CheckBoxBold->setGeometry(389, 112, 57, 25);
    CheckBoxBold->setFocusPolicy(Qt::NoFocus);

    BuildButtons(panel);

    RichEditBoxDisplay = new QTextEdit(this);
    RichEditBoxDisplay->setGeometry(0, 184, 747, 354);
    RichEditBoxDisplay->setReadOnly(true);
    RichEditBoxDisplay->setLineWrapMode(QTextEdit::NoWrap);
    RichEditBoxDisplay->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont table("Courier New");
    table.setPointSize(10);
    RichEditBoxDisplay->setFont(table);
}

void TFormResponse::BuildButtons(QWidget* panel) {
    ButtonResp = Button(panel, "&Response", 474, 18, 103);
    ButtonResp->setDefault(true);
    connect(ButtonResp, &QPushButton::clicked, this, &TFormResponse::ButtonRespClick);
    ButtonClear = Button(panel, "C&lear Boxes", 474, 58, 103);
    connect(ButtonClear, &QPushButton::clicked, this, &TFormResponse::ButtonClearClick);
    ButtonStoreResult = Button(panel, "&Store Result", 474, 98, 105);
    connect(ButtonStoreResult, &QPushButton::clicked, this, &TFormResponse::ButtonStoreResultClick);
    ButtonPrint = Button(panel, "&Print", 474, 138, 105);
    connect(ButtonPrint, &QPushButton::clicked, this, &TFormResponse::ButtonPrintClick);
    // The standard close button: its caption with the access key, and the close symbol.
    auto* close = new QPushButton("&Close", panel);
    close->setObjectName("BitBtnClose");
    close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    close->setGeometry(616, 58, 89, 54);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* help = new QLabel("F1 for Help", panel);
    help->setGeometry(625, 144, 80, 16);
    QPalette maroon = help->palette();
    maroon.setColor(QPalette::WindowText, ReadableText(kMaroon, maroon.color(QPalette::Window)));
    help->setPalette(maroon);
}

void TFormResponse::showEvent(QShowEvent* event) {
    ResponseHeaderPending = true;
    RichEditBoxDisplay->clear();
    setWindowTitle("      RESPONSE   -   " + ShownText(state_.shell.DatafileName));
    const DisplayFacts display = CurrentDisplay(this);
    if (display.height < 599) {
        setFixedHeight(470);
        RichEditBoxDisplay->setFixedHeight(265);
    }
    if (display.dotsPerInch != 96) {
        RichEditBoxDisplay->setFixedHeight(320);
    }
    ButtonStoreResult->setEnabled(false);
    ButtonPrint->setEnabled(false);
    ButtonClearClick();
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

void TFormResponse::ClearResults() {
    EditBoxGain->clear();
    EditBoxPhase->clear();
    EditBoxZin->clear();
    EditBoxZout->clear();
    ButtonStoreResult->setEnabled(false);
}

void TFormResponse::FocusFrequency() {
    EditBoxFreq->setFocus();
    EditBoxFreq->setCursorPosition(static_cast<int>(EditBoxFreq->text().size()));
}

void TFormResponse::AddTableLine(const std::string& text, int pointSize) {
    QTextCharFormat format;
    format.setFontFamilies({"Courier New"});
    format.setFontPointSize(pointSize);
    format.setFontWeight(CheckBoxBold->isChecked() ? QFont::Bold : QFont::Normal);
    QTextCursor cursor(RichEditBoxDisplay->document());
    cursor.movePosition(QTextCursor::End);
    const bool empty = RichEditBoxDisplay->document()->isEmpty();
    QString line = ShownText(text);
    line.replace("\r\n", "\n");
    const QStringList parts = line.split('\n');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0 || !empty) {
            cursor.insertBlock();
        }
        cursor.setCharFormat(format);
        cursor.insertText(parts[i], format);
    }
}

void TFormResponse::ButtonRespClick() {
    bool ok = true;
    const long double frequency = ParseEngValue(FromQt(EditBoxFreq->text()), ok);
    if (!ok || frequency < 0) {
        state_.messages.ShowWarning("Not a Valid Frequency");
    } else {
        ButtonResp->setEnabled(false);
        ButtonPrint->setEnabled(true);
        ButtonStoreResult->setEnabled(true);
        if (ResponseHeaderPending) {
            const std::string& name = state_.shell.DatafileName;
            const int indent = std::max(0, 22 - static_cast<int>(name.size()) / 2);
            AddTableLine("\r\n" + std::string(indent, ' ') + name + "   Rev." +
                             std::to_string(state_.circuit.RevisionNumber) + std::string(11, ' ') +
                             TodayText(),
                         12);
            AddTableLine(kResponseTableHeading, 10);
            ResponseHeaderPending = false;
        }
        if (!ComputeAndShow(frequency)) {
            ButtonStoreResult->setEnabled(false);
        }
    }
    ButtonResp->setEnabled(true);
    FocusFrequency();
}

// One computation run: the record file is read once, then the point is solved.
bool TFormResponse::ComputeAndShow(long double frequency) {
    try {
        stopwatch_.Start();
        const LoadedCircuit circuit = LoadCircuit(state_.workingFolder, state_.circuit);
        state_.solver.ComputeResponse(circuit, frequency, ResponseForm::Display, state_.response,
                                      state_.messages);
        if (state_.TimeResponse) {
            stopwatch_.Report(state_.messages);
        }
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
        return false;
    }
    const ResponseBoxes boxes =
        FormatResponseBoxes(state_.response, CheckBoxResponse->isChecked(), state_.messages);
    EditBoxGain->setText(ToQt(boxes.gain));
    EditBoxPhase->setText(ToQt(boxes.phase));
    EditBoxZin->setText(ToQt(boxes.zin));
    EditBoxZout->setText(ToQt(boxes.zout));
    return true;
}

void TFormResponse::ButtonStoreResultClick() {
    const bool extended = CheckBoxResponse->isChecked();
    const ResponseBoxes boxes{FromQt(EditBoxGain->text()), FromQt(EditBoxPhase->text()),
                              FromQt(EditBoxZin->text()), FromQt(EditBoxZout->text())};
    AddTableLine(FormatResponseRow(FromQt(EditBoxFreq->text()), boxes, extended),
                 extended ? 9 : 10);
    ButtonStoreResult->setEnabled(false);
    FocusFrequency();
}

void TFormResponse::ButtonClearClick() {
    EditBoxFreq->setText("  ");
    ClearResults();
    FocusFrequency();
}

void TFormResponse::ButtonPrintClick() {
    PrintRichText(state_, *RichEditBoxDisplay->document(), "RESPONSE", this);
    FocusFrequency();
}

void TFormResponse::keyPressEvent(QKeyEvent* event) {
    // Esc clears the boxes instead of closing the window.
    if (event->key() == Qt::Key_Escape) {
        ButtonClearClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFormResponse::eventFilter(QObject* watched, QEvent* event) {
    // The box takes the focus with the caret after its text, never with the text selected, which
    // the first key typed would wipe out; a window that becomes active hands the focus on as if
    // by Tab, which selects.
    if (watched == EditBoxFreq && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
            QMetaObject::invokeMethod(this, &TFormResponse::FocusFrequency, Qt::QueuedConnection);
        }
    }
    if (event->type() == QEvent::KeyRelease &&
        OpenHelpOnF1(static_cast<QKeyEvent*>(event), state_, help::kCalculateResponse)) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFormResponse::keyReleaseEvent(QKeyEvent* event) {
    if (!OpenHelpOnF1(event, state_, help::kCalculateResponse)) {
        QDialog::keyReleaseEvent(event);
    }
}

} // namespace kelvor::app
