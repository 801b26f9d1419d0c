// SPDX-License-Identifier: GPL-3.0-or-later
// The controls of the noise panel and their places: the settings on the left, the totals, the
// contributors and the sensitivities on the right.

#include "app/bode/noise_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kelvor::app {
namespace {

QTableWidget* Table(const QStringList& headings, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    table->setHorizontalHeaderLabels(headings);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    return table;
}

} // namespace

QWidget* TFormNoise::BuildSettings() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* grid = new QGridLayout;
    const auto row = [&](int at, const char* caption, QWidget* control) {
        auto* label = new QLabel(caption, panel);
        label->setBuddy(control);
        grid->addWidget(label, at, 0);
        grid->addWidget(control, at, 1);
    };
    EditBoxTemperature = new QLineEdit(panel);
    ComboBoxSourceLine = new QComboBox(panel);
    CheckBoxVisibleBand = new QCheckBox("Band is the &visible range", panel);
    CheckBoxVisibleBand->setChecked(true);
    EditBoxBandFrom = new QLineEdit("20", panel);
    EditBoxBandTo = new QLineEdit("20k", panel);
    ComboBoxWeighting = new QComboBox(panel);
    ComboBoxWeighting->addItem("None (flat)");
    ComboBoxWeighting->addItem("A-weighting (IEC 61672)");
    EditBoxReference = new QLineEdit(panel);
    EditBoxReference->setPlaceholderText("none");
    row(0, "&Temperature (\u00b0C)", EditBoxTemperature);
    row(1, "&Source resistor", ComboBoxSourceLine);
    grid->addWidget(CheckBoxVisibleBand, 2, 0, 1, 2);
    row(3, "Band &from (Hz)", EditBoxBandFrom);
    row(4, "Band t&o (Hz)", EditBoxBandTo);
    row(5, "&Weighting", ComboBoxWeighting);
    row(6, "R&eference (V rms)", EditBoxReference);
    layout->addLayout(grid);
    const auto followBand = [this](bool visible) {
        EditBoxBandFrom->setEnabled(!visible);
        EditBoxBandTo->setEnabled(!visible);
    };
    connect(CheckBoxVisibleBand, &QCheckBox::toggled, this, followBand);
    followBand(true);

    layout->addWidget(new QLabel("Op-amp input noise (kept beside the Datafile):", panel));
    TableOpAmps = Table({"Line", "Op-amp", "en (V/\u221aHz)", "in (A/\u221aHz)"}, panel);
    layout->addWidget(TableOpAmps, 1);
    return panel;
}

QWidget* TFormNoise::BuildResults() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    LabelTotals = new QLabel(panel);
    LabelTotals->setWordWrap(true);
    LabelTotals->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(LabelTotals);
    TableContributors = Table({"Generator", "Band (V rms)", "Share of band", "At cursor"}, panel);
    TableContributors->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableContributors->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(TableContributors, &QTableWidget::itemSelectionChanged, this, [this] {
        const QModelIndexList rows = TableContributors->selectionModel()->selectedRows();
        highlighted_.reset();
        if (!rows.isEmpty()) {
            highlighted_ =
                TableContributors->item(rows.front().row(), 0)->data(Qt::UserRole).toULongLong();
        }
        ShowNoiseCurve();
    });
    layout->addWidget(TableContributors, 3);
    LabelSensitivity = new QLabel(panel);
    LabelSensitivity->setWordWrap(true);
    layout->addWidget(LabelSensitivity);
    TableSensitivity =
        Table({"Line", "Component", "Value", "Gain (dB/%)", "Phase (\u00b0/%)"}, panel);
    TableSensitivity->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(TableSensitivity, 2);
    auto* exports = new QHBoxLayout;
    ButtonExportCsv = new QPushButton("E&xport Noise CSV...", panel);
    ButtonExportSensitivity = new QPushButton("Export Sensitivity CSV...", panel);
    exports->addWidget(ButtonExportCsv);
    exports->addWidget(ButtonExportSensitivity);
    exports->addStretch(1);
    layout->addLayout(exports);
    connect(ButtonExportCsv, &QPushButton::clicked, this, &TFormNoise::ButtonExportCsvClick);
    connect(ButtonExportSensitivity, &QPushButton::clicked, this,
            &TFormNoise::ButtonExportSensitivityClick);
    return panel;
}

} // namespace kelvor::app
