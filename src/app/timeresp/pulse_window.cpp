// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/timeresp/pulse_window.h"

#include "app/common/screen_checks.h"
#include "app/state/app_state.h"
#include "render/time_response_graph.h"
#include "timeresp/time_response_kinds.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace kelvor::app {
namespace {

constexpr int kDpiScalePercent = 50;

const TimeResponseMenuLayout kPulseLayout{
    .objectName = "FormPMenu",
    .analysisMode = AnalysisMode::Pulse,
    .captionPrefix = "        PULSE RESPONSE MENU   -   ",
    .helpPlace = help::kPulseResponse,
    .baseFontPixels = 12,
    .sizeable = true,
    .entryPrompt = "Set Pulse Width and Display Expansion Required",
    .entryPromptLeft = 200,
    .valueCaption = "Pulse Width   (secs)     :-",
    .valueCaptionRect = QRect(226, 68, 166, 21),
    .valueMaxLength = 11,
    .invalidValueMessage = " Invalid Pulse Width Value    ",
    .choiceFrameCaption = " Display Expansion ",
    .choiceFrameRect = QRect(173, 120, 148, 129),
    .choiceFrameFontPixels = 13,
    .choiceCaptions = {"   x 10", "    x 3", "    x 1"},
    .choiceGroups = {128, 32, 8},
    .choiceFontPixels = {13, 13, 15},
    .choiceLeft = 208,
    .gainCaption = "Graph Gain (dB) ",
    .gainCaptionRect = QRect(375, 236, 114, 21),
    .gainBoxRect = QRect(496, 233, 65, 25),
    .boldCaption = "Bold Graph",
    .labelBold = QPoint(436, 283),
    .checkBold = QPoint(536, 283),
    .labelShowOrig = QPoint(346, 312),
    .checkShowOrig = QPoint(536, 312),
    .progressRect = QRect(88, 366, 553, 17),
    .boxFrameTop = 416,
    .gainSpread = kPulseGainSpread,
    // k runs over every number: the step comes when k mod 4E reaches 4E - 1.
    .progressLead = 2,
};

// The window's own icon: a pulse and the ringing it leaves.
QIcon PulseIcon() {
    QPixmap icon(32, 32);
    icon.fill(Qt::white);
    QPainter painter(&icon);
    painter.setPen(QPen(Qt::blue, 2));
    painter.drawPolyline(QPolygon({{2, 26}, {8, 26}, {8, 6}, {13, 6}, {13, 26}, {30, 26}}));
    painter.setPen(QPen(Qt::black, 1));
    painter.drawPolyline(
        QPolygon({{2, 26}, {9, 24}, {11, 9}, {14, 12}, {17, 28}, {21, 22}, {25, 27}, {30, 25}}));
    return QIcon(icon);
}

} // namespace

TFormPMenu::TFormPMenu(AppState& state, QWidget* parent)
    : TimeResponseMenu(state, kPulseLayout, parent) {
    setWindowIcon(PulseIcon());
    StaticTextPulseWidth = StaticTextValue;
    EditBoxPulseWidth = EditBoxValue;
    RadioGroupDisplay = RadioGroupChoice;
}

std::string& TFormPMenu::ValueSetting() {
    return state_.settings.WidthStr;
}

bool& TFormPMenu::ReopenFlag() {
    return state_.shell.ReopenPulse;
}

long double TFormPMenu::Fundamental(long double width) const {
    // The pulses repeat every 100 widths.
    return kPulseDutyConstant / width;
}

void TFormPMenu::BeforeShow() {
    // Enlarged once: a second enlargement would grow the window at every opening.
    const DisplayFacts display = CurrentDisplay(this);
    if (!scaledForDpi_ && display.dotsPerInch != 96) {
        ScaleFormForDpi(this, kDpiScalePercent, display.dotsPerInch);
        scaledForDpi_ = true;
    }
}

} // namespace kelvor::app
