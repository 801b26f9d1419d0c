// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/timeresp/time_response_menu.h"

#include "app/common/companion_window.h"
#include "app/common/qt_text.h"
#include "app/common/screen_checks.h"
#include "app/common/typing_limit.h"
#include "app/common/window_fonts.h"
#include "app/common/window_look.h"
#include "app/graphs/graph_window.h"
#include "app/help/help_window.h"
#include "app/state/app_state.h"
#include "app/state/circuit_solve_job.h"
#include "messages.h"
#include "render/graph_canvas.h"
#include "render/time_response_graph.h"
#include "solver/response.h"
#include "text/eng_value.h"
#include "text/words.h"
#include "timeresp/graph_gain.h"
#include "timeresp/harmonic_solve.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <memory>
#include <optional>

namespace kelvor::app {
namespace {

constexpr std::size_t kValueTextCapacity = 30;
constexpr int kFirstProgress = 1;
constexpr int kLastProgress = 65;
constexpr int kGraphParametersPromptLeft = 168;
// Progress is shown at every step of the bar and at least this often.
constexpr int kProgressIntervalMs = 15;

QGroupBox* BlueFrame(QWidget* parent, const char* caption, const QRect& rect, int pixels) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setGeometry(rect);
    frame->setFont(PixelFont("Arial", pixels, true));
    QPalette blue = frame->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    frame->setPalette(blue);
    return frame;
}

QLabel* Label(QWidget* parent, const char* caption, QPoint at) {
    auto* label = new QLabel(caption, parent);
    label->move(at);
    label->adjustSize();
    return label;
}

QRadioButton* Choice(QWidget* parent, const char* caption, QPoint at, int pixels) {
    auto* button = new QRadioButton(caption, parent);
    button->setFont(PixelFont("Arial", pixels));
    button->move(at);
    button->adjustSize();
    return button;
}

QPushButton* Button(QWidget* parent, const char* caption, const QRect& rect) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(rect);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TimeResponseMenu::TimeResponseMenu(AppState& state, const TimeResponseMenuLayout& layout,
                                   QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), state_(state),
      layout_(layout), groups_(layout.choiceGroups[2]),
      calculation_(
          state.messages,
          [this](bool locked) {
              SetEntryLocked(locked);
              if (!locked) {
                  ProgressBar->setValue(kFirstProgress);
              }
          },
          kProgressIntervalMs),
      drawing_(state.messages, [this](bool locked) { plotting_ = locked; }) {
    setObjectName(layout.objectName);
    setFont(PixelFont("Arial", layout.baseFontPixels));
    if (layout.sizeable) {
        resize(kMenuWindowWidth, kMenuWindowHeight);
    } else {
        setFixedSize(kMenuWindowWidth, kMenuWindowHeight);
    }
    BuildControls();
}

void TimeResponseMenu::BuildControls() {
    BevelEdge = new QFrame(this);
    BevelEdge->setFrameStyle(QFrame::Panel | QFrame::Raised);
    BevelEdge->setGeometry(0, 0, kMenuWindowWidth, kMenuWindowHeight);

    const QFont controls = PixelFont("Arial", 15);
    BuildEntryControls(controls);
    BuildButtons(controls);
    BuildGraphParameterControls(controls);
}

// The prompt, the value and the choice of harmonics.
void TimeResponseMenu::BuildEntryControls(const QFont& controls) {
    LabelSelect = Label(this, "", QPoint(116, 282));
    QFont underlined = controls;
    underlined.setUnderline(true);
    LabelSelect->setFont(underlined);
    QPalette maroon = LabelSelect->palette();
    maroon.setColor(QPalette::WindowText, ReadableText(kMaroon, maroon.color(QPalette::Window)));
    LabelSelect->setPalette(maroon);

    StaticTextValue = new QLabel(layout_.valueCaption, this);
    StaticTextValue->setFont(controls);
    StaticTextValue->setGeometry(layout_.valueCaptionRect);
    EditBoxValue = new QLineEdit(this);
    EditBoxValue->setFont(controls);
    EditBoxValue->setGeometry(440, 65, 78, 25);
    LimitTyping(EditBoxValue, layout_.valueMaxLength);

    RadioGroupChoice = BlueFrame(this, layout_.choiceFrameCaption, layout_.choiceFrameRect,
                                 layout_.choiceFrameFontPixels);
    choiceButtons_ = new QButtonGroup(this);
    std::array<QRadioButton*, 3> choices{};
    for (int i = 0; i < 3; ++i) {
        choices[i] = Choice(this, layout_.choiceCaptions[i],
                            QPoint(layout_.choiceLeft, 150 + 30 * i), layout_.choiceFontPixels[i]);
        choiceButtons_->addButton(choices[i], layout_.choiceGroups[i]);
    }
    RadioButtonHigh = choices[0];
    RadioButtonMedium = choices[1];
    RadioButtonLow = choices[2];
}

void TimeResponseMenu::BuildButtons(const QFont& controls) {
    ButtonContinueOrReset = Button(this, "Con&tinue", QRect(424, 143, 113, 31));
    ButtonContinueOrReset->setFont(controls);
    connect(ButtonContinueOrReset, &QPushButton::clicked, this,
            &TimeResponseMenu::ButtonContinueOrResetClick);
    ButtonPlotGraph = Button(this, "&Plot Graph", QRect(424, 142, 113, 48));
    ButtonPlotGraph->setFont(controls);
    connect(ButtonPlotGraph, &QPushButton::clicked, this, &TimeResponseMenu::ButtonPlotGraphClick);
    ButtonClose = Button(this, "&Close", QRect(424, 200, 113, 31));
    ButtonClose->setFont(controls);
    connect(ButtonClose, &QPushButton::clicked, this, &TimeResponseMenu::ButtonCloseClick);
}

// The graph gain, the plot's choices and the progress bar of the calculation.
void TimeResponseMenu::BuildGraphParameterControls(const QFont& controls) {
    StaticTextGain = new QLabel(layout_.gainCaption, this);
    StaticTextGain->setFont(controls);
    StaticTextGain->setGeometry(layout_.gainCaptionRect);
    EditBoxGraphGain = new QLineEdit(this);
    EditBoxGraphGain->setFont(controls);
    EditBoxGraphGain->setGeometry(layout_.gainBoxRect);
    LimitTyping(EditBoxGraphGain, 6);

    LabelBold = Label(this, layout_.boldCaption, layout_.labelBold);
    LabelBold->setFont(controls);
    LabelBold->adjustSize();
    CheckBoxBold = new QCheckBox(this);
    CheckBoxBold->move(layout_.checkBold);
    CheckBoxBold->adjustSize();
    CheckBoxBold->setFocusPolicy(Qt::ClickFocus);
    LabelShowOrig = Label(this, "Show Original Waveform", layout_.labelShowOrig);
    LabelShowOrig->setFont(controls);
    LabelShowOrig->adjustSize();
    CheckBoxShowOrig = new QCheckBox(this);
    CheckBoxShowOrig->move(layout_.checkShowOrig);
    CheckBoxShowOrig->adjustSize();
    CheckBoxShowOrig->setChecked(true);

    ProgressBar = new QProgressBar(this);
    ProgressBar->setGeometry(layout_.progressRect);
    ProgressBar->setRange(kFirstProgress, kLastProgress);
    ProgressBar->setValue(kFirstProgress);
    ProgressBar->setTextVisible(false);

    RadioGroupGraphBoxColour =
        BlueFrame(this, "  Graph Box Colour  ", QRect(248, layout_.boxFrameTop, 233, 49), 15);
    boxButtons_ = new QButtonGroup(this);
    const int boxTop = layout_.boxFrameTop + 19;
    RadioButtonBlack = Choice(this, "Black", QPoint(266, boxTop), 13);
    RadioButtonGrey = Choice(this, "Grey", QPoint(340, boxTop), 13);
    RadioButtonNone = Choice(this, "None", QPoint(408, boxTop), 13);
    boxButtons_->addButton(RadioButtonBlack, render::kBlack);
    boxButtons_->addButton(RadioButtonGrey, render::kSilver);
    boxButtons_->addButton(RadioButtonNone, render::kWhite);
}

void TimeResponseMenu::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        BeforeShow();
        FormShow();
        CentreOnScreen(this);
    }
    QDialog::showEvent(event);
}

void TimeResponseMenu::FormShow() {
    setWindowTitle(layout_.captionPrefix + ShownText(state_.shell.DatafileName));
    ReopenFlag() = false;
    LabelSelect->setText(layout_.entryPrompt);
    LabelSelect->adjustSize();
    LabelSelect->move(layout_.entryPromptLeft, LabelSelect->y());

    ShowControlsOfStage(false);
    SetEntryLocked(false);
    EditBoxValue->setText(ToQt("  " + ValueSetting()));
    EditBoxGraphGain->setText(" ");
    EditBoxGraphGain->setReadOnly(true);
    ProgressBar->setValue(kFirstProgress);
    if (QAbstractButton* chosen = choiceButtons_->button(groups_)) {
        chosen->setChecked(true);
    }
    ButtonContinueOrReset->setFocus();
}

// Entry stage: the value and the choice can change. Calculating: only "&Reset" is offered.
void TimeResponseMenu::SetEntryLocked(bool locked) {
    ButtonContinueOrReset->setText(locked ? "&Reset" : "Con&tinue");
    EditBoxValue->setEnabled(true);
    EditBoxValue->setReadOnly(locked);
    ButtonClose->setEnabled(!locked);
    for (QAbstractButton* button : choiceButtons_->buttons()) {
        button->setEnabled(!locked);
    }
}

void TimeResponseMenu::SaveChoices() {
    ValueSetting() = CutText(TrimSpaces(FromQt(EditBoxValue->text())), kValueTextCapacity);
    if (const int colour = boxButtons_->checkedId(); colour != -1) {
        state_.settings.GraphBoxColour = colour;
    }
    state_.KeepSettings();
    if (const int groups = choiceButtons_->checkedId(); groups != -1) {
        groups_ = groups;
    }
}

void TimeResponseMenu::ButtonCloseClick() {
    SaveChoices();
    done(QDialog::Rejected);
}

void TimeResponseMenu::ButtonContinueOrResetClick() {
    if (calculation_.Running()) {
        calculation_.RequestReset();
        return;
    }
    SaveChoices();
    bool ok = true;
    const long double value = ParseEngValue(FromQt(EditBoxValue->text()), ok);
    if (!ok || !(value > 0) || !IsComputableFundamental(Kind(), groups_, Fundamental(value))) {
        state_.messages.ShowError(layout_.invalidValueMessage);
        return;
    }
    Calculate(value);
}

// Once every harmonic is solved the graph parameters follow; otherwise the window is back at the
// entry stage and the last complete table stays.
void TimeResponseMenu::Calculate(long double value) {
    solved_ = 0;
    std::optional<CircuitSolveJob> job = CircuitSolveJob::Load(state_);
    if (!job) {
        return;
    }
    struct Outcome {
        HarmonicTable table;
        int solved = 0;
    };
    auto outcome = std::make_shared<Outcome>();
    const auto work = [this, outcome, job = *job, kind = Kind(), groups = groups_,
                       fundamental = Fundamental(value), shown = kFirstProgress]() mutable {
        ResponseSolver solver = job.MakeSolver();
        outcome->table = ComputeHarmonics(
            job.circuit(), kind, groups, fundamental, solver, job.messages(),
            [&, this](int solved) {
                outcome->solved = solved;
                const int position = std::min(
                    kLastProgress, kFirstProgress + (solved + layout_.progressLead) / (4 * groups));
                // Harmonics solved on the other cores arrive in batches: the bar still moves
                // one step at a time, and a step is shown at once.
                const bool stepped = position > shown;
                shown = std::max(shown, position);
                return calculation_.Report(
                    [this, position, solved] {
                        solved_ = solved;
                        while (ProgressBar->value() < position) {
                            ProgressBar->setValue(ProgressBar->value() + 1);
                        }
                    },
                    stepped);
            });
        return outcome->table.complete;
    };
    const auto finish = [this, outcome](CalculationEnd end) {
        solved_ = outcome->solved;
        if (end != CalculationEnd::Finished) {
            return;
        }
        table_ = std::move(outcome->table);
        defaultGain_ = DefaultGraphGain(table_);
        plotGain_ = defaultGain_;
        graphGain_ = RoundedDefaultGain(defaultGain_);
        ShowGraphParameters();
    };
    calculation_.Start(std::move(work), finish, job->where());
}

// The entry stage offers Continue and Close; the graph-parameter stage Plot Graph and the
// plot's choices in their place.
void TimeResponseMenu::ShowControlsOfStage(bool graphParameters) {
    ButtonContinueOrReset->setVisible(!graphParameters);
    ButtonClose->setVisible(!graphParameters);
    ButtonPlotGraph->setVisible(graphParameters);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{StaticTextGain, EditBoxGraphGain, LabelBold, LabelShowOrig,
                                         CheckBoxBold, CheckBoxShowOrig, RadioGroupGraphBoxColour,
                                         RadioButtonBlack, RadioButtonGrey, RadioButtonNone}) {
        widget->setVisible(graphParameters);
    }
}

void TimeResponseMenu::ShowGraphParameters() {
    LabelSelect->setText("Set Graph Parameters");
    LabelSelect->adjustSize();
    LabelSelect->move(kGraphParametersPromptLeft, LabelSelect->y());
    ShowControlsOfStage(true);
    EditBoxValue->setEnabled(false);
    EditBoxGraphGain->setReadOnly(false);
    SelectBoxColour();
    ButtonPlotGraph->setFocus();
    EditBoxGraphGain->setText("  " + QString::number(graphGain_));
}

void TimeResponseMenu::SelectBoxColour() {
    if (QAbstractButton* chosen = boxButtons_->button(state_.settings.GraphBoxColour)) {
        chosen->setChecked(true);
        return;
    }
    // A colour of an edited settings file matches none of the three.
    boxButtons_->setExclusive(false);
    for (QAbstractButton* button : boxButtons_->buttons()) {
        button->setChecked(false);
    }
    boxButtons_->setExclusive(true);
}

void TimeResponseMenu::ButtonPlotGraphClick() {
    // The trace is drawn on a worker: a second click waits for the picture in hand.
    if (plotting_) {
        return;
    }
    SaveChoices();
    bool ok = true;
    const int32_t asked = ParseIntField(FromQt(EditBoxGraphGain->text()), ok);
    if (!ok) {
        state_.messages.ShowError(" Invalid Graph Gain Value    ");
        return;
    }
    Plot(asked);
}

void TimeResponseMenu::Plot(int32_t asked) {
    if (!table_.complete) {
        return;
    }
    const GraphGainChoice choice = ChooseGraphGain(asked, defaultGain_, layout_.gainSpread);
    if (choice.outOfLimits) {
        state_.messages.ShowWarning(GainLimitsWarning(choice.warnedGain));
    }
    graphGain_ = choice.graphGain;
    plotGain_ = choice.plotGain;
    EditBoxGraphGain->setText("  " + QString::number(graphGain_));

    render::TimeResponsePlotInput input;
    input.GraphGain = graphGain_;
    input.PlotGain = plotGain_;
    input.GraphBoxColour = state_.settings.GraphBoxColour;
    input.Bold = CheckBoxBold->isChecked();
    input.ShowOriginal = CheckBoxShowOrig->isChecked();
    input.ValueText = ValueSetting();
    input.DatafileName = state_.shell.DatafileName;
    input.RevisionNumber = state_.circuit.RevisionNumber;
    input.TodayText = state_.shell.TodayText;

    TFormVGA* graph = &PrepareGraphWindow();
    // Drawn on a picture of its own, so that the graph window shows finished steps only.
    auto picture = std::make_shared<QImage>(render::BlankTimeResponsePicture());
    const auto work = [this, picture, input, draw = Drawing(), table = table_] {
        draw(*picture, input, table, [&, this](render::PlotStage stage) {
            drawing_.Report(
                [this, shown = picture->copy(), stage] {
                    TFormVGA& graph = state_.windows.Get<TFormVGA>();
                    graph.Picture() = shown;
                    graph.ShowPicture();
                    // Also when the graph window is already open behind this one (after
                    // Display Again).
                    if (stage == render::PlotStage::FrameDrawn) {
                        graph.show();
                        graph.raise();
                        graph.activateWindow();
                    }
                },
                true);
        });
        return true;
    };
    // A fault has been shown: what was drawn stays, and the graph window's commands return.
    const auto finish = [this, graph, picture](CalculationEnd) {
        plotting_ = false;
        graph->Picture() = *picture;
        graph->ShowPicture();
        graph->SetCommandMenusVisible(true);
        state_.graph.SuperimposeArmed = false;
    };
    drawing_.Start(work, finish);
}

// The graph window, set up for this plot and with its File and Repeat menus hidden while it is
// drawn.
TFormVGA& TimeResponseMenu::PrepareGraphWindow() {
    TFormVGA& graph = state_.windows.Get<TFormVGA>();
    if (!connectedToGraph_) {
        connect(&graph, &TFormVGA::GraphClosed, this, &TimeResponseMenu::GraphClosed);
        connect(&graph, &TFormVGA::DisplayAgainRequested, this, &TimeResponseMenu::DisplayAgain);
        connectedToGraph_ = true;
    }
    graph.PlaceGraphImage(render::kTimeResponsePictureWidth, render::kTimeResponsePictureHeight,
                          render::kTimeResponsePictureLeft, render::kTimeResponsePictureTop);
    graph.setWindowTitle(Kind() == TimeResponseKind::SquareWave ? "    SQUAREWAVE RESPONSE"
                                                                : "    PULSE RESPONSE");
    graph.SetCommandMenusVisible(false);
    UseBesideModal(&graph, this);
    return graph;
}

void TimeResponseMenu::GraphClosed(AnalysisMode mode) {
    // The graph window belongs to its own parent again for the other plots.
    ReleaseFromModal(&state_.windows.Get<TFormVGA>(), this);
    if (mode == layout_.analysisMode && isVisible()) {
        done(QDialog::Rejected);
    }
}

void TimeResponseMenu::DisplayAgain(AnalysisMode mode) {
    if (mode == layout_.analysisMode && isVisible()) {
        raise();
        activateWindow();
    }
}

void TimeResponseMenu::keyReleaseEvent(QKeyEvent* event) {
    if (!OpenHelpOnF1(event, state_, layout_.helpPlace)) {
        QDialog::keyReleaseEvent(event);
    }
}

} // namespace kelvor::app
