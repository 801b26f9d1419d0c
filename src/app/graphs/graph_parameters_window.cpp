// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/graphs/graph_parameters_window.h"
#include "app/common/screen_checks.h"

#include "analysis/scale_proposal.h"
#include "app/common/qt_text.h"
#include "app/common/typing_limit.h"
#include "app/common/window_fonts.h"
#include "app/common/window_look.h"
#include "app/graphs/graph_window.h"
#include "app/help/help_window.h"
#include "app/state/app_state.h"
#include "kelvor_error.h"
#include "settings/settings_file.h"
#include "text/eng_value.h"
#include "text/int_helpers.h"

#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

namespace kelvor::app {
namespace {

constexpr int32_t kLowestTop = -500;
constexpr int32_t kHighestTop = 500;

QLabel* StaticText(QWidget* parent, const char* caption, int left, int top) {
    auto* text = new QLabel(caption, parent);
    text->move(left, top);
    text->adjustSize();
    return text;
}

QLineEdit* ReadOnlyBox(QWidget* parent, int left, int top, int width, int height) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(left, top, width, height);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QCheckBox* CheckBox(QWidget* parent, int left, int top, int width, int height) {
    auto* box = new QCheckBox(parent);
    box->setGeometry(left, top, width, height);
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
}

void Colour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

} // namespace

TFormFResults::TFormFResults(AppState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), state_(state) {
    setObjectName("FormFResults");
    setFixedSize(kMenuWindowWidth, kMenuWindowHeight);
    setFont(PixelFont("Arial", 15));
    BuildControls();
    state_.graph.SuperimposeArmed = false;
}

void TFormFResults::BuildControls() {
    for (const QRect& area : {QRect(140, 52, 450, 150), QRect(140, 200, 450, 247)}) {
        auto* frame = new QFrame(this);
        frame->setGeometry(area);
        frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    }

    StaticText(this, "Frequency  Range     : -", 201, 72);
    EditBoxFreqRange = ReadOnlyBox(this, 409, 69, 110, 24);
    EditBoxFreqRange->setFont(PixelFont("Arial", 13));
    StaticText(this, "Maximum  Amplitude  : -", 201, 113);
    EditBoxMaxdB = ReadOnlyBox(this, 420, 111, 91, 25);
    StaticText(this, "Minimum  Amplitude   : -", 201, 155);
    EditBoxMindB = ReadOnlyBox(this, 419, 153, 91, 25);

    StaticText(this, "Set Top of Scale  (dB)    : -", 201, 220);
    EditBoxTop = new QLineEdit(this);
    EditBoxTop->setGeometry(432, 217, 59, 25);
    LimitTyping(EditBoxTop, 9);

    StaticText(this, "Set Amplitude Scale  (dB)   : -", 201, 261);
    ListBoxGraphScale = new QListWidget(this);
    ListBoxGraphScale->setGeometry(432, 256, 78, 97);
    ListBoxGraphScale->setFont(PixelFont("Arial", 13));
    ListBoxGraphScale->setSelectionMode(QAbstractItemView::SingleSelection);
    Colour(ListBoxGraphScale, QPalette::Text,
           ReadableText(kMaroon, ListBoxGraphScale->palette().color(QPalette::Base)));

    StaticTextGridLines = StaticText(this, "Grid Lines        : -", 186, 300);
    CheckBoxGridLines = CheckBox(this, 326, 301, 25, 17);
    StaticText(this, "Colour Graph   : -", 186, 334);
    CheckBoxColour = CheckBox(this, 326, 334, 25, 20);
    StaticText(this, "Bold Graph      : -", 186, 367);
    CheckBoxBold = CheckBox(this, 326, 368, 25, 17);
    StaticText(this, "Superimpose   : -", 186, 401);
    CheckBoxSuperimpose = CheckBox(this, 326, 402, 30, 17);

    ConnectGraphChoices();

    ButtonContinue = new QPushButton("&Continue", this);
    ButtonContinue->setGeometry(416, 378, 112, 29);
    ButtonContinue->setAutoDefault(false);
    connect(ButtonContinue, &QPushButton::clicked, this, &TFormFResults::ButtonContinueClick);

    auto* help = StaticText(this, "F1 for Help", 340, 470);
    Colour(help, QPalette::WindowText,
           ReadableText(kMaroon, help->palette().color(QPalette::Window)));
}

// The graph window reads the boxes through the shared state, so every change reaches it.
void TFormFResults::ConnectGraphChoices() {
    GraphState& graph = state_.graph;
    CheckBoxGridLines->setChecked(graph.GridLines);
    CheckBoxColour->setChecked(graph.ColourGraph);
    CheckBoxBold->setChecked(graph.BoldGraph);
    CheckBoxSuperimpose->setChecked(graph.Superimpose);
    connect(CheckBoxGridLines, &QCheckBox::toggled, this,
            [this](bool ticked) { state_.graph.GridLines = ticked; });
    connect(CheckBoxColour, &QCheckBox::toggled, this,
            [this](bool ticked) { state_.graph.ColourGraph = ticked; });
    connect(CheckBoxBold, &QCheckBox::toggled, this,
            [this](bool ticked) { state_.graph.BoldGraph = ticked; });
    connect(CheckBoxSuperimpose, &QCheckBox::toggled, this,
            [this](bool ticked) { state_.graph.Superimpose = ticked; });
    connect(CheckBoxSuperimpose, &QCheckBox::clicked, this,
            &TFormFResults::CheckBoxSuperimposeClick);
    connect(CheckBoxBold, &QCheckBox::clicked, this, &TFormFResults::CheckBoxBoldClick);
}

void TFormFResults::showEvent(QShowEvent* event) {
    FormShow();
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

// The Datafile in use stays the one the main window holds: a settings file that could not be
// written at File/Open may still name the previous one.
void TFormFResults::ReloadSettings() {
    state_.ReloadSettings();
    state_.settings.Datafilename = state_.shell.DatafileName;
}

void TFormFResults::FormShow() {
    setWindowTitle("      GRAPHPLOT PARAMETERS   -   " + ShownText(state_.shell.DatafileName));
    ReloadSettings();
    const SweepResult& sweep = state_.graph.sweep;
    if (state_.shell.DatafileChanged) {
        const ScaleProposal proposal = ProposeScale(sweep.SweepMinDb, sweep.SweepMaxDb);
        state_.settings.GraphScale = proposal.GraphScale;
        state_.settings.GraphTop = proposal.GraphTop;
        state_.shell.DatafileChanged = false;
    }
    EditBoxMaxdB->setText(ToQt("   " + std::to_string(sweep.SweepMaxDb) + " dB"));
    EditBoxMindB->setText(ToQt("   " + std::to_string(sweep.SweepMinDb) + " dB"));
    EditBoxTop->setText(ToQt("    " + std::to_string(state_.settings.GraphTop)));
    FillScaleList();
    EditBoxFreqRange->setText(ToQt(FreqRangeBoxText(state_.graph.scale, state_.messages)));

    const GraphState& graph = state_.graph;
    CheckBoxGridLines->setChecked(graph.GridLines);
    CheckBoxColour->setChecked(graph.ColourGraph);
    CheckBoxBold->setChecked(graph.BoldGraph);
    CheckBoxSuperimpose->setChecked(graph.Superimpose);
    CheckBoxGridLines->setEnabled(!graph.Superimpose);
    StaticTextGridLines->setEnabled(!graph.Superimpose);
}

void TFormFResults::FillScaleList() {
    ListBoxGraphScale->clear();
    for (int32_t span : kScaleList) {
        auto* item = new QListWidgetItem(ToQt("   " + std::to_string(span)), ListBoxGraphScale);
        item->setSizeHint(QSize(0, 16));
    }
    const std::optional<int> row = ScaleListIndex(state_.settings.GraphScale);
    if (!row) {
        ListBoxGraphScale->setCurrentRow(-1);
        ListBoxGraphScale->clearSelection();
        return;
    }
    if (*row == 0) {
        // Selecting the second item first brings the top of the list into view with the first.
        ListBoxGraphScale->setCurrentRow(1);
    }
    ListBoxGraphScale->setCurrentRow(*row);
}

void TFormFResults::ClearPicture() {
    state_.graph.ClearPicture(CheckBoxGridLines->isChecked());
}

void TFormFResults::CheckBoxSuperimposeClick() {
    const bool ticked = CheckBoxSuperimpose->isChecked();
    if (!ticked) {
        ClearPicture();
    }
    // While superimposing, the grid box keeps its tick for the first curve of a clean picture.
    CheckBoxGridLines->setEnabled(!ticked);
    StaticTextGridLines->setEnabled(!ticked);
}

void TFormFResults::CheckBoxBoldClick() {
    if (state_.graph.SuperimposeArmed && !CheckBoxBold->isChecked()) {
        state_.messages.ShowWarning("   It is inadvisable to deselect Bold Mode now   \r\n\r\n"
                                    "       as you are already Superimposing plots  ");
    }
}

void TFormFResults::ButtonContinueClick() {
    bool ok = true;
    int32_t span = 0;
    const QList<QListWidgetItem*> selected = ListBoxGraphScale->selectedItems();
    if (selected.isEmpty()) {
        ok = false;
    } else {
        span = kScaleList[static_cast<std::size_t>(ListBoxGraphScale->row(selected.front()))];
    }
    int32_t top = ParseIntField(FromQt(EditBoxTop->text()), ok);
    if (!ok) {
        state_.messages.ShowError("Invalid Value Selected");
        return;
    }
    ClampInt(top, kLowestTop, kHighestTop);
    state_.settings.GraphScale = span;
    state_.settings.GraphTop = top;
    state_.KeepSettings();
    done(QDialog::Accepted);

    state_.graph.AcceptDbScale(span, top);
    if (!state_.graph.KeepsPicture(CheckBoxSuperimpose->isChecked())) {
        ClearPicture();
    }
    state_.windows.Get<TFormVGA>().show();
}

void TFormFResults::keyReleaseEvent(QKeyEvent* event) {
    if (!OpenHelpOnF1(event, state_, help::kAmplitudeResponse)) {
        QDialog::keyReleaseEvent(event);
    }
}

} // namespace kelvor::app
