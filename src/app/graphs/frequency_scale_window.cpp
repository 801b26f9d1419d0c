// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/graphs/frequency_scale_window.h"
#include "app/common/screen_checks.h"

#include "analysis/sweep.h"
#include "app/common/event_wait.h"
#include "app/common/qt_text.h"
#include "app/common/typing_limit.h"
#include "app/common/window_fonts.h"
#include "app/common/window_look.h"
#include "app/graphs/graph_parameters_window.h"
#include "app/help/help_window.h"
#include "app/state/app_state.h"
#include "app/state/circuit_solve_job.h"
#include "messages.h"
#include "solver/response.h"
#include "text/eng_value.h"
#include "text/words.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <algorithm>
#include <memory>
#include <optional>

namespace kelvor::app {
namespace {

// The graph of such a sweep is empty: say why rather than leave the user guessing.
constexpr const char* kNoOutputWarning =
    "\r\n   The output never responds in this frequency range :   \r\n"
    "   every point gives exactly zero output ( -50000 dB ).   \r\n\r\n"
    "   Check the output node and its connections in the Datafile.   ";

constexpr int32_t kDefaultFCode = 8;
constexpr int kFirstProgress = 29;
constexpr int kLastProgress = 636;
constexpr std::size_t kFrequencyTextCapacity = 30;

struct ScaleButton {
    const char* caption;
    int left;
    int top;
};

// Index is the FCode; the captions carry their spaces.
constexpr ScaleButton kScaleButtons[kHighestFCode + 1] = {
    {"  #0  ", 523, 318},
    {"  #1         0.03  -  0.3Hz   ", 53, 46},
    {"  #2           0.1  -  1.0Hz   ", 53, 64},
    {"  #3           0.3  -  3.0Hz   ", 53, 82},
    {"  #4           1.0  -  10Hz   ", 53, 100},
    {"  #5           3.0  -  30Hz   ", 53, 118},
    {"  #6            10  -  100Hz   ", 53, 136},
    {"  #7            30  -  300Hz   ", 53, 154},
    {"  #8          100  -  1kHz   ", 53, 172},
    {"  #9         300  -  3kHz   ", 53, 190},
    {"  #10          1k  -  10kHz   ", 53, 208},
    {"  #11           3k  -  30kHz   ", 53, 226},
    {"  #12        10k  -  100kHz   ", 53, 244},
    {"  #13        30k  -  300kHz   ", 53, 262},
    {"  #14      100k  -  1MHz   ", 53, 280},
    {"  #15      300k  -  3MHz   ", 53, 298},
    {"  #16          1M  -  10MHz   ", 53, 316},
    {"  #17          3M  -  30MHz   ", 53, 334},
    {"  #18        10M  -  100MHz   ", 53, 352},
    {"  #19        30M  -  300MHz   ", 53, 370},
    {"  #20       100M  -  1GHz   ", 53, 388},
    {"  #21      300M  -  3GHz   ", 53, 406},
    {"  #22       0.03  -  3.0Hz   ", 288, 46},
    {"  #23         0.3  -  30Hz   ", 288, 64},
    {"  #24         3.0  -  300Hz   ", 288, 82},
    {"  #25          30  -  3kHz   ", 288, 100},
    {"  #26        300  -  30kHz   ", 288, 118},
    {"  #27           3k  -  300kHz   ", 288, 136},
    {"  #28         30k  -  3MHz   ", 288, 154},
    {"  #29       300k  -  30MHz   ", 288, 172},
    {"  #30          3M  -  300MHz   ", 288, 190},
    {"  #31        30M  -  3GHz   ", 288, 208},
    {"  #32        0.03  -  30Hz   ", 288, 262},
    {"  #33          0.3  -  300Hz   ", 288, 280},
    {"  #34          3.0  -  3kHz   ", 288, 298},
    {"  #35           30  -  30kHz   ", 288, 316},
    {"  #36         300  -  300kHz   ", 288, 334},
    {"  #37            3k  -  3MHz   ", 288, 352},
    {"  #38          30k  -  30MHz   ", 288, 370},
    {"  #39        300k  -  300MHz   ", 288, 388},
    {"  #40            3M  -  3GHz   ", 288, 406},
    {"  #41      0.03  -  3kHz   ", 523, 46},
    {"  #42        0.3  -  30kHz   ", 523, 64},
    {"  #43        3.0  -  300kHz   ", 523, 82},
    {"  #44         30  -  3MHz   ", 523, 100},
    {"  #45       300  -  30MHz   ", 523, 118},
    {"  #46          3k  -  300MHz   ", 523, 136},
    {"  #47        30k  -  3GHz   ", 523, 154},
    {"  #48         1.0  -  1MHz", 523, 208},
    {"  #49          10  -  10MHz", 523, 226},
    {"  #50        100  -  100MHz", 523, 244},
    {"  #51           1k  -  1GHz", 523, 262},
    {"  #52         10k  -  10GHz", 523, 280},
};

QGroupBox* Frame(QWidget* parent, const char* caption, int left, int top, int width, int height) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setGeometry(left, top, width, height);
    frame->setFont(PixelFont("Arial", 15, true));
    QPalette blue = frame->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    frame->setPalette(blue);
    return frame;
}

QLabel* StaticText(QWidget* parent, const char* caption, int left, int top) {
    auto* text = new QLabel(caption, parent);
    text->move(left, top);
    text->adjustSize();
    return text;
}

QLineEdit* FrequencyBox(QWidget* parent, int left, int top) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(left, top, 81, 23);
    LimitTyping(box, 12);
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
}

QPushButton* Button(QWidget* parent, const char* caption, int left) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(left, 438, 85, 26);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TFormFreqScales::TFormFreqScales(AppState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), state_(state),
      sweep_(state.messages, [this](bool locked) { SetChoosing(!locked); }) {
    setObjectName("FormFreqScales");
    setFixedSize(kMenuWindowWidth, kMenuWindowHeight);
    setFont(PixelFont("Arial", 12));
    BuildControls();
}

void TFormFreqScales::BuildControls() {
    RadioGroup1Decade = Frame(this, "  1  Decade  ", 30, 24, 200, 408);
    RadioGroup2Decades = Frame(this, "  2  Decades  ", 265, 24, 200, 208);
    RadioGroup3decades = Frame(this, "  3  Decades  ", 265, 241, 200, 191);
    RadioGroup5Decades = Frame(this, "  5  Decades  ", 501, 24, 200, 154);
    RadioGroup6Decades = Frame(this, "  6 Decades  ", 501, 187, 200, 118);
    RadioGroupUserDef = Frame(this, "     ", 501, 318, 200, 94);

    StaticTextUserDefined = StaticText(this, "   User Defined ", 560, 317);
    StaticTextUserDefined->setFont(PixelFont("Arial", 13, true));
    StaticTextUserDefined->adjustSize();
    QPalette blue = StaticTextUserDefined->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    StaticTextUserDefined->setPalette(blue);

    // The frames only group the buttons to the eye: the buttons are children of the window, so
    // that one exclusive group spans all six frames.
    RadioGroupScales = new QButtonGroup(this);
    RadioGroupScales->setExclusive(true);
    for (int fcode = 0; fcode <= kHighestFCode; ++fcode) {
        const ScaleButton& choice = kScaleButtons[fcode];
        auto* button = new QRadioButton(choice.caption, this);
        button->setObjectName(QString("RadioButton%1").arg(fcode, 2, 10, QChar('0')));
        button->setGeometry(choice.left, choice.top, fcode == 0 ? 41 : 161, 17);
        RadioGroupScales->addButton(button, fcode);
        RadioButtons[fcode] = button;
    }

    StaticTextSF = StaticText(this, "Start Freq.", 514, 345);
    EditBoxFS = FrequencyBox(this, 579, 341);
    StaticTextEF = StaticText(this, "End Freq.", 516, 380);
    EditBoxFF = FrequencyBox(this, 579, 376);
    StaticTextUHz = StaticText(this, " Hz", 666, 359);

    ButtonContinueOrReset = Button(this, "Con&tinue", 502);
    connect(ButtonContinueOrReset, &QPushButton::clicked, this,
            &TFormFreqScales::ButtonContinueOrResetClick);
    ButtonClose = Button(this, "&Close", 617);
    connect(ButtonClose, &QPushButton::clicked, this, &TFormFreqScales::ButtonCloseClick);

    LabelSelectFreq = StaticText(this, "Select Frequency Range Required", 165, 452);
    QFont underlined = LabelSelectFreq->font();
    underlined.setUnderline(true);
    LabelSelectFreq->setFont(underlined);
    QPalette maroon = LabelSelectFreq->palette();
    maroon.setColor(QPalette::WindowText, ReadableText(kMaroon, maroon.color(QPalette::Window)));
    LabelSelectFreq->setPalette(maroon);
    LabelSelectFreq->adjustSize();

    ProgressBar = new QProgressBar(this);
    ProgressBar->setGeometry(55, 488, 620, 17);
    ProgressBar->setRange(kFirstProgress, kLastProgress);
    ProgressBar->setValue(kFirstProgress);
    ProgressBar->setTextVisible(false);
}

void TFormFreqScales::showEvent(QShowEvent* event) {
    FormShow();
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

void TFormFreqScales::FormShow() {
    setWindowTitle("        GRAPH FREQUENCY SCALES   -   " + ShownText(state_.shell.DatafileName));
    ButtonContinueOrReset->setEnabled(true);
    state_.shell.ReopenFreqScales = false;
    // An edited settings file can hold any number; such an FCode is no scale at all, so the
    // window starts from the default range instead of sweeping nothing.
    if (state_.settings.FCode < 0 || state_.settings.FCode > kHighestFCode) {
        state_.settings.FCode = kDefaultFCode;
    }
    RadioButtons[state_.settings.FCode]->setChecked(true);
    state_.graph.NewScale = false;
    EditBoxFS->setText(ToQt("  " + state_.settings.FSStr));
    EditBoxFF->setText(ToQt("  " + state_.settings.FFStr));
    SetChoosing(true);
}

// Choosing: everything that can change the scale is enabled. Sweeping: only "&Reset" is.
void TFormFreqScales::SetChoosing(bool choosing) {
    ButtonContinueOrReset->setText(choosing ? "Con&tinue" : "&Reset");
    ButtonClose->setEnabled(choosing);
    for (QRadioButton* button : RadioButtons) {
        button->setEnabled(choosing);
    }
    StaticTextSF->setEnabled(choosing);
    StaticTextEF->setEnabled(choosing);
    EditBoxFS->setReadOnly(!choosing);
    EditBoxFF->setReadOnly(!choosing);
    if (choosing) {
        ProgressBar->setValue(kFirstProgress);
    }
}

void TFormFreqScales::ReadChoice() {
    if (const int checked = RadioGroupScales->checkedId(); checked >= 0) {
        state_.settings.FCode = checked;
    }
    state_.settings.FSStr = CutText(TrimSpaces(FromQt(EditBoxFS->text())), kFrequencyTextCapacity);
    state_.settings.FFStr = CutText(TrimSpaces(FromQt(EditBoxFF->text())), kFrequencyTextCapacity);
    state_.KeepSettings();
}

void TFormFreqScales::ButtonCloseClick() {
    ReadChoice();
    done(QDialog::Rejected);
}

// The scale of the ticked button; for the user's own range only when both numbers read and the
// end lies above a positive start.
bool TFormFreqScales::ChosenScale(FrequencyScale& scale) {
    const int32_t fcode = state_.settings.FCode;
    long double start = 0;
    long double end = 0;
    if (fcode == 0) {
        bool ok = true;
        start = ParseEngValue(FromQt(EditBoxFS->text()), ok);
        end = ParseEngValue(FromQt(EditBoxFF->text()), ok);
        if (!ok || !IsSweepableUserRange(start, end)) {
            return false;
        }
    }
    scale = SetupFrequencyScale(fcode, start, end);
    return true;
}

void TFormFreqScales::ButtonContinueOrResetClick() {
    if (sweep_.Running()) {
        sweep_.RequestReset();
        return;
    }
    ReadChoice();
    FrequencyScale scale;
    if (!ChosenScale(scale)) {
        state_.messages.ShowError(" Invalid Frequencies    ");
        return;
    }
    RunSweep(scale);
}

void TFormFreqScales::ShowProgress(int column) {
    ProgressBar->setValue(std::clamp(column, kFirstProgress, kLastProgress));
}

void TFormFreqScales::RunSweep(const FrequencyScale& scale) {
    lastSweptColumn_ = 0;
    std::optional<CircuitSolveJob> job = CircuitSolveJob::Load(state_);
    if (!job) {
        return;
    }
    struct Outcome {
        SweepResult result;
        int column = 0;
    };
    auto outcome = std::make_shared<Outcome>();
    const auto work = [this, outcome, scale, job = *job] {
        ResponseSolver solver = job.MakeSolver();
        outcome->result =
            kelvor::RunSweep(scale, job.circuit(), solver, job.messages(), [&](int column) {
                outcome->column = column;
                if (column % 5 != 0) {
                    return !sweep_.ResetRequested();
                }
                return sweep_.Report(
                    [this, column] {
                        lastSweptColumn_ = column;
                        ShowProgress(column);
                    },
                    true);
            });
        return outcome->result.completed;
    };
    // An abandoned sweep leaves the last finished one in place, so that drawing the graph again
    // never mixes two sweeps.
    const auto finish = [this, outcome, scale](CalculationEnd end) {
        lastSweptColumn_ = outcome->column;
        if (end != CalculationEnd::Finished) {
            return;
        }
        ButtonContinueOrReset->setEnabled(false);
        WaitMs(state_.pauses.afterSweepMs);
        state_.graph.AcceptSweep(scale, std::move(outcome->result), state_.shell.DatafileChanged);
        if (OutputNeverResponds(state_.graph.sweep)) {
            state_.messages.ShowWarning(kNoOutputWarning);
        }

        hide();
        done(QDialog::Accepted);
        state_.windows.Get<TFormFResults>().exec();
    };
    sweep_.Start(work, finish, job->where());
}

void TFormFreqScales::keyReleaseEvent(QKeyEvent* event) {
    if (!OpenHelpOnF1(event, state_, help::kAmplitudeResponse)) {
        QDialog::keyReleaseEvent(event);
    }
}

} // namespace kelvor::app
