// SPDX-License-Identifier: GPL-3.0-or-later
// The controls of the Bode window and their places: the range row above the plots, the side
// panel of plot choices, markers, curves and export beside them.

#include "app/bode/bode_window.h"

#include "app/bode/noise_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kelvor::app {
namespace {

constexpr int kLargestPictureScale = 4;
constexpr const char* kDefaultStart = "10";
constexpr const char* kDefaultEnd = "100k";

} // namespace

QWidget* TFormBode::BuildRangeRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    EditBoxStart = new QLineEdit(kDefaultStart, row);
    EditBoxEnd = new QLineEdit(kDefaultEnd, row);
    SpinBoxPointsPerDecade = new QSpinBox(row);
    SpinBoxPointsPerDecade->setRange(1, kSpinBoxCeiling);
    SpinBoxPointsPerDecade->setValue(kDefaultPointsPerDecade);
    ButtonCompute = new QPushButton("&Compute", row);
    ButtonCancel = new QPushButton("Cancel", row);
    ProgressBar = new QProgressBar(row);
    ProgressBar->setTextVisible(false);
    auto label = [&](const char* text, QWidget* buddy) {
        auto* caption = new QLabel(text, row);
        caption->setBuddy(buddy);
        layout->addWidget(caption);
        layout->addWidget(buddy);
    };
    label("S&tart (Hz)", EditBoxStart);
    label("&End (Hz)", EditBoxEnd);
    label("Points per &decade", SpinBoxPointsPerDecade);
    layout->addWidget(ButtonCompute);
    layout->addWidget(ButtonCancel);
    layout->addWidget(ProgressBar, 1);
    ButtonCompute->setDefault(true);
    connect(ButtonCompute, &QPushButton::clicked, this, &TFormBode::ButtonComputeClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TFormBode::ButtonCancelClick);
    return row;
}

QPushButton* TFormBode::NewButton(QWidget* parent, const char* caption,
                                  void (TFormBode::*handler)()) {
    auto* button = new QPushButton(caption, parent);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

// The widgets are made in the order the Tab key visits them.
QWidget* TFormBode::BuildSidePanel() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(BuildQuantityChecks(panel));

    auto* view = new QHBoxLayout;
    ButtonFit = NewButton(panel, "&Fit", &TFormBode::ButtonFitClick);
    ButtonRefine = NewButton(panel, "&Refine", &TFormBode::ButtonRefineClick);
    view->addWidget(ButtonFit);
    view->addWidget(ButtonRefine);
    layout->addLayout(view);

    TableMarkers = new QTableWidget(0, 3, panel);
    TableMarkers->setHorizontalHeaderLabels({"Marker", "Frequency", "Value"});
    TableMarkers->verticalHeader()->hide();
    TableMarkers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableMarkers->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableMarkers->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(TableMarkers, 2);
    ButtonRemoveMarker = NewButton(panel, "Remove &Marker", &TFormBode::ButtonRemoveMarkerClick);
    layout->addWidget(ButtonRemoveMarker);

    layout->addWidget(BuildTraceList(panel), 1);
    layout->addLayout(BuildTraceButtons(panel));
    layout->addLayout(BuildExportButtons(panel));
    layout->addWidget(new QLabel("F1 for Help", panel));
    return panel;
}

QLayout* TFormBode::BuildQuantityChecks(QWidget* panel) {
    auto check = [&](const char* caption, bool on) {
        auto* created = new QCheckBox(caption, panel);
        created->setChecked(on);
        connect(created, &QCheckBox::toggled, this, &TFormBode::ShowQuantities);
        return created;
    };
    auto* checks = new QGridLayout;
    CheckBoxGain = check("&Gain", true);
    CheckBoxPhase = check("&Phase", true);
    CheckBoxUnwrapped = check("&Unwrapped", false);
    CheckBoxGroupDelay = check("Group dela&y", true);
    CheckBoxZin = check("|Z&in|", true);
    CheckBoxZout = check("|Z&out|", true);
    CheckBoxAutoMarkers = check("&Automatic markers", true);
    // Every letter of its caption is some other control's access key.
    CheckBoxNoise = check("Noise", false);
    connect(CheckBoxNoise, &QCheckBox::toggled, this, [this](bool shown) {
        if (shown && !computing_ && (noise_ == nullptr || !noise_->analysis())) {
            NoisePanel().Run();
        }
    });
    checks->addWidget(CheckBoxGain, 0, 0);
    checks->addWidget(CheckBoxPhase, 1, 0);
    checks->addWidget(CheckBoxUnwrapped, 1, 1);
    checks->addWidget(CheckBoxGroupDelay, 2, 0);
    checks->addWidget(CheckBoxNoise, 2, 1);
    checks->addWidget(CheckBoxZin, 3, 0);
    checks->addWidget(CheckBoxZout, 3, 1);
    checks->addWidget(CheckBoxAutoMarkers, 4, 0, 1, 2);
    return checks;
}

QWidget* TFormBode::BuildTraceList(QWidget* panel) {
    ListTraces = new QListWidget(panel);
    connect(ListTraces, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const auto index = static_cast<std::size_t>(ListTraces->row(item));
        if (index < traces_.traces().size()) {
            traces_.at(index).visible = item->checkState() == Qt::Checked;
            ShowTraces();
        }
    });
    return ListTraces;
}

QLayout* TFormBode::BuildTraceButtons(QWidget* panel) {
    auto* buttons = new QGridLayout;
    ButtonAddDatafile = NewButton(panel, "Add Datafi&le...", &TFormBode::ButtonAddDatafileClick);
    ButtonKeep = NewButton(panel, "&Keep", &TFormBode::ButtonKeepClick);
    ButtonRemoveTrace = NewButton(panel, "Remove Cur&ve", &TFormBode::ButtonRemoveTraceClick);
    // Every letter of its caption is some other control's access key.
    ButtonStep = NewButton(panel, "Step...", &TFormBode::ButtonStepClick);
    buttons->addWidget(ButtonAddDatafile, 0, 0);
    buttons->addWidget(ButtonKeep, 0, 1);
    buttons->addWidget(ButtonRemoveTrace, 1, 0);
    buttons->addWidget(ButtonStep, 1, 1);
    return buttons;
}

QLayout* TFormBode::BuildExportButtons(QWidget* panel) {
    auto* exports = new QGridLayout;
    ButtonExportCsv = NewButton(panel, "Export C&SV...", &TFormBode::ButtonExportCsvClick);
    ButtonExportPicture =
        NewButton(panel, "E&xport Picture...", &TFormBode::ButtonExportPictureClick);
    SpinBoxPictureScale = new QSpinBox(panel);
    SpinBoxPictureScale->setRange(1, kLargestPictureScale);
    SpinBoxPictureScale->setSuffix(QStringLiteral(" \u00d7 PNG"));
    ButtonPrint = NewButton(panel, "Pri&nt...", &TFormBode::ButtonPrintClick);
    // Every letter of its caption is some other control's access key.
    ButtonTolerances = NewButton(panel, "Tolerances...", &TFormBode::ButtonTolerancesClick);
    ButtonTolerances->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    ButtonNoise = NewButton(panel, "Noise...", &TFormBode::ButtonNoiseClick);
    ButtonNoise->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    exports->addWidget(ButtonExportCsv, 0, 0);
    exports->addWidget(ButtonNoise, 0, 1);
    exports->addWidget(ButtonExportPicture, 1, 0);
    exports->addWidget(SpinBoxPictureScale, 1, 1);
    exports->addWidget(ButtonPrint, 2, 0);
    exports->addWidget(ButtonTolerances, 2, 1);
    return exports;
}

} // namespace kelvor::app
