// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/timeresp/square_wave_window.h"

#include "app/state/app_state.h"
#include "render/time_response_graph.h"
#include "timeresp/time_response_kinds.h"

namespace kelvor::app {
namespace {

const TimeResponseMenuLayout kSquareWaveLayout{
    .objectName = "FormSqWMenu",
    .analysisMode = AnalysisMode::SquareWave,
    .captionPrefix = "        SQUAREWAVE MENU   -   ",
    .helpPlace = help::kSquareWaveResponse,
    .baseFontPixels = 15,
    .sizeable = false,
    .entryPrompt = "Set Frequency and Resolution Required",
    .entryPromptLeft = 230,
    .valueCaption = "Squarewave Frequency  (Hz)   :-",
    .valueCaptionRect = QRect(198, 68, 215, 21),
    .valueMaxLength = 9,
    .invalidValueMessage = " Invalid Frequency Value    ",
    .choiceFrameCaption = "  Resolution  ",
    .choiceFrameRect = QRect(176, 120, 145, 129),
    .choiceFrameFontPixels = 16,
    .choiceCaptions = {"   High", "   Medium", "   Low"},
    .choiceGroups = {64, 16, 4},
    .choiceFontPixels = {15, 15, 15},
    .choiceLeft = 202,
    .gainCaption = "Graph Gain (dB)  ",
    .gainCaptionRect = QRect(375, 236, 118, 21),
    .gainBoxRect = QRect(504, 233, 60, 25),
    .boldCaption = "Bold Graph ",
    .labelBold = QPoint(445, 283),
    .checkBold = QPoint(544, 283),
    .labelShowOrig = QPoint(356, 314),
    .checkShowOrig = QPoint(544, 315),
    .progressRect = QRect(88, 366, 562, 17),
    .boxFrameTop = 408,
    .gainSpread = kSquareWaveGainSpread,
    // k runs over the odd numbers: the step comes when k mod 8R reaches 8R - 1.
    .progressLead = 1,
};

} // namespace

TFormSqWMenu::TFormSqWMenu(AppState& state, QWidget* parent)
    : TimeResponseMenu(state, kSquareWaveLayout, parent) {
    StaticTextSqW = StaticTextValue;
    EditBoxFreq = EditBoxValue;
    RadioGroupResolution = RadioGroupChoice;
}

std::string& TFormSqWMenu::ValueSetting() {
    return state_.settings.SqFStr;
}

bool& TFormSqWMenu::ReopenFlag() {
    return state_.shell.ReopenSquareWave;
}

} // namespace kelvor::app
