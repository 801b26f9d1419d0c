// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bode/tolerance_window.h"

#include "app/bode/bode_window.h"
#include "app/common/qt_text.h"
#include "app/common/screen_checks.h"
#include "app/state/help_topics.h"
#include "bode/bode_grid.h"
#include "bode/significant_format.h"
#include "circuit/component_kind.h"
#include "circuit/datafile_reader.h"
#include "kelvor_error.h"
#include "text/words.h"
#include "tolerance/tolerance_file.h"
#include "tolerance/tolerance_report.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <memory>
#include <qcustomplot.h>

namespace kelvor::app {
namespace {

constexpr int kSignificantDigits = 5;
constexpr int kHistogramBins = 20;

const ComponentKind& KindOfRow(int row) {
    return ComponentKinds()[static_cast<std::size_t>(row)];
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Std(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item == nullptr ? std::string() : item->text().trimmed().toStdString();
}

QTableWidgetItem* Fixed(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

QTableWidget* Table(const QStringList& headings, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    table->setHorizontalHeaderLabels(headings);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    return table;
}

std::string Significant(long double value, const std::string& unit) {
    return FormatSignificant(value, kSignificantDigits, unit, unit == "Hz");
}

} // namespace

TFormTolerances::TFormTolerances(AppState& state, TFormBode& bode)
    : AnalyserPanel(state, bode, help::kToleranceAnalysis) {
    setWindowTitle("Tolerances");
    BuildFrame(BuildSettings(), BuildResults(), 520);
    connect(bode_.Plot, &plot::BodePlot::cursorMoved, this, &TFormTolerances::ShowHistogram);
    FitOnScreen(this, 1160, 700);
}

QWidget* TFormTolerances::BuildSettings() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* top = new QHBoxLayout;
    TableKinds = Table({"Kind", "Tolerance"}, panel);
    TableKinds->setRowCount(static_cast<int>(ComponentKinds().size()));
    for (int row = 0; row < TableKinds->rowCount(); ++row) {
        const ComponentKind& kind = KindOfRow(row);
        TableKinds->setItem(row, 0,
                            Fixed(QStringLiteral("%1  %2").arg(QChar(kind.letter),
                                                               Text(std::string(kind.plural)))));
        TableKinds->setItem(row, 1, new QTableWidgetItem);
    }
    TableKinds->resizeColumnsToContents();
    top->addWidget(TableKinds, 1);

    auto* runs = new QGridLayout;
    ComboBoxDistribution = new QComboBox(panel);
    ComboBoxDistribution->addItem("Uniform within \u00b1tol");
    ComboBoxDistribution->addItem("Gaussian, tol = 3\u03c3, clipped");
    SpinBoxRuns = new QSpinBox(panel);
    SpinBoxRuns->setRange(1, kSpinBoxCeiling);
    EditBoxSeed = new QLineEdit(panel);
    const auto row = [&](int at, const char* caption, QWidget* control) {
        auto* label = new QLabel(caption, panel);
        label->setBuddy(control);
        runs->addWidget(label, at, 0);
        runs->addWidget(control, at, 1);
    };
    row(0, "&Distribution", ComboBoxDistribution);
    row(1, "R&uns", SpinBoxRuns);
    row(2, "&Seed", EditBoxSeed);
    ButtonDefaults = new QPushButton("Defa&ults", panel);
    runs->addWidget(ButtonDefaults, 3, 1);
    runs->setRowStretch(4, 1);
    connect(ButtonDefaults, &QPushButton::clicked, this, &TFormTolerances::ButtonDefaultsClick);
    top->addLayout(runs);
    layout->addLayout(top, 4);

    layout->addWidget(new QLabel("Components (an empty tolerance takes the kind's):", panel));
    TableComponents = Table({"Kind", "Nodes", "Values", "Tolerance"}, panel);
    layout->addWidget(TableComponents, 3);

    layout->addWidget(new QLabel("Gain mask (limits in dB, - for none):", panel));
    TableMask = Table({"From (Hz)", "To (Hz)", "Lowest (dB)", "Highest (dB)"}, panel);
    layout->addWidget(TableMask, 1);
    auto* maskButtons = new QHBoxLayout;
    ButtonAddMaskRow = new QPushButton("&Add Limit", panel);
    ButtonRemoveMaskRow = new QPushButton("Re&move Limit", panel);
    maskButtons->addWidget(ButtonAddMaskRow);
    maskButtons->addWidget(ButtonRemoveMaskRow);
    maskButtons->addStretch(1);
    layout->addLayout(maskButtons);
    connect(ButtonAddMaskRow, &QPushButton::clicked, this, &TFormTolerances::ButtonAddMaskRowClick);
    connect(ButtonRemoveMaskRow, &QPushButton::clicked, this,
            &TFormTolerances::ButtonRemoveMaskRowClick);
    return panel;
}

QWidget* TFormTolerances::BuildResults() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* checks = new QHBoxLayout;
    CheckBoxShowSpread = new QCheckBox("S&how spread on the plots", panel);
    CheckBoxShowSpread->setChecked(true);
    CheckBoxFailingRuns = new QCheckBox("&Failing runs as curves", panel);
    checks->addWidget(CheckBoxShowSpread);
    checks->addWidget(CheckBoxFailingRuns);
    checks->addStretch(1);
    layout->addLayout(checks);
    connect(CheckBoxShowSpread, &QCheckBox::toggled, this, &TFormTolerances::ShowSpread);
    connect(CheckBoxFailingRuns, &QCheckBox::toggled, this, &TFormTolerances::ShowSpread);

    TableSpreads = Table({"Marker", "Nominal", "Mean", "\u03c3", "Min", "Max", "Runs"}, panel);
    TableSpreads->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(TableSpreads, 2);
    LabelYield = new QLabel(panel);
    LabelYield->setWordWrap(true);
    LabelYield->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(LabelYield);
    LabelHistogram = new QLabel(panel);
    layout->addWidget(LabelHistogram);
    PlotHistogram = new QCustomPlot(panel);
    PlotHistogram->setMinimumHeight(180);
    PlotHistogram->xAxis->setLabel("Gain (dB)");
    PlotHistogram->yAxis->setLabel("Runs");
    layout->addWidget(PlotHistogram, 3);
    return panel;
}

void TFormTolerances::ShowForCurrentDatafile() {
    if (!calculation_.Running()) { // the running analysis reads the circuit it has
        LoadCurrentDatafile();
    }
    show();
    raise();
    activateWindow();
}

void TFormTolerances::TakeCurrentDatafile() {
    if (!isVisible()) {
        analysis_.reset(); // opening the panel reads the Datafile then
        return;
    }
    LoadCurrentDatafile();
}

void TFormTolerances::LoadCurrentDatafile() {
    loaded_.Load(state_);
    const ToleranceFileReading reading = ReadToleranceFile(ToleranceFilePath(loaded_.path));
    if (!reading.problem.empty()) {
        state_.messages.ShowWarning(reading.problem);
    }
    ShowSettings(reading.settings);
    analysis_.reset();
    ShowResults();
    setWindowTitle("Tolerances  -  " + ShownText(state_.shell.DatafileName));
}

void TFormTolerances::ShowSettings(const ToleranceSettings& settings) {
    for (int row = 0; row < TableKinds->rowCount(); ++row) {
        TableKinds->item(row, 1)->setText(
            Text(PercentText(TolerancePercent(settings, KindOfRow(row).letter, {}))));
    }
    ComboBoxDistribution->setCurrentIndex(
        settings.distribution == ToleranceDistribution::Gaussian ? 1 : 0);
    SpinBoxRuns->setValue(settings.runs);
    EditBoxSeed->setText(QString::number(settings.seed));

    // Overrides of lines that the Datafile no longer has are kept in the file, unseen.
    unshownLines_ = settings.linePercent;
    TableComponents->setRowCount(0);
    for (std::size_t index = 0; index < loaded_.componentLines.size(); ++index) {
        const std::string key = ComponentLineKey(loaded_.componentLines[index]);
        const char kind = loaded_.circuit->records[index + 1].kind;
        const int nodes = UsedNodeCount(kind);
        std::string nodeText, valueText;
        for (int word = 2;; ++word) {
            const std::string text = NthWord(key, word);
            if (text.empty()) {
                break;
            }
            std::string& into = word <= 1 + nodes ? nodeText : valueText;
            into += (into.empty() ? "" : " ") + text;
        }
        const auto override = settings.linePercent.find(key);
        const int row = TableComponents->rowCount();
        TableComponents->insertRow(row);
        auto* kindItem = Fixed(Text(NthWord(key, 1)));
        kindItem->setData(Qt::UserRole, Text(key));
        TableComponents->setItem(row, 0, kindItem);
        TableComponents->setItem(row, 1, Fixed(Text(nodeText)));
        TableComponents->setItem(row, 2, Fixed(Text(valueText)));
        TableComponents->setItem(row, 3,
                                 new QTableWidgetItem(override == settings.linePercent.end()
                                                          ? QString()
                                                          : Text(PercentText(override->second))));
        unshownLines_.erase(key);
    }
    TableComponents->resizeColumnsToContents();

    TableMask->setRowCount(0);
    for (const GainMaskSegment& segment : settings.mask) {
        ButtonAddMaskRowClick();
        const auto texts = MaskSegmentTexts(segment);
        for (int column = 0; column < 4; ++column) {
            TableMask->item(TableMask->rowCount() - 1, column)->setText(Text(texts[column]));
        }
    }
}

std::optional<ToleranceSettings> TFormTolerances::SettingsFromControls() {
    ToleranceSettings settings = DefaultToleranceSettings();
    const auto refuse = [&](const std::string& why) {
        state_.messages.ShowWarning(why);
        return std::nullopt;
    };
    for (int row = 0; row < TableKinds->rowCount(); ++row) {
        const auto percent = ParsePercent(Std(TableKinds, row, 1));
        if (!percent) {
            return refuse("The tolerance of " + std::string(KindOfRow(row).plural) +
                          " must be a percentage from 0 to below 100.");
        }
        settings.kindPercent[KindOfRow(row).letter] = *percent;
    }
    settings.distribution = ComboBoxDistribution->currentIndex() == 1
                                ? ToleranceDistribution::Gaussian
                                : ToleranceDistribution::Uniform;
    settings.runs = SpinBoxRuns->value();
    if (const auto problem = ToleranceRunsProblem(settings.runs, "Runs")) {
        return refuse(*problem);
    }
    const std::string seed = EditBoxSeed->text().trimmed().toStdString();
    const auto parsed = std::from_chars(seed.data(), seed.data() + seed.size(), settings.seed);
    if (seed.empty() || parsed.ec != std::errc() || parsed.ptr != seed.data() + seed.size()) {
        return refuse("The seed must be a whole number from 0 to 18446744073709551615.");
    }
    settings.linePercent = unshownLines_;
    for (int row = 0; row < TableComponents->rowCount(); ++row) {
        const std::string text = Std(TableComponents, row, 3);
        if (text.empty()) {
            continue;
        }
        const auto percent = ParsePercent(text);
        if (!percent) {
            return refuse("The tolerance of component line " + std::to_string(row + 1) +
                          " must be empty or a percentage from 0 to below 100.");
        }
        settings.linePercent
            [TableComponents->item(row, 0)->data(Qt::UserRole).toString().toStdString()] = *percent;
    }
    for (int row = 0; row < TableMask->rowCount(); ++row) {
        const std::array<std::string, 4> cells = {Std(TableMask, row, 0), Std(TableMask, row, 1),
                                                  Std(TableMask, row, 2), Std(TableMask, row, 3)};
        if (std::all_of(cells.begin(), cells.end(),
                        [](const auto& cell) { return cell.empty(); })) {
            continue;
        }
        const MaskSegmentReading reading =
            ReadMaskSegment(cells[0], cells[1], cells[2], cells[3], row + 1);
        if (!reading.segment) {
            return refuse(reading.problem);
        }
        settings.mask.push_back(*reading.segment);
    }
    return settings;
}

void TFormTolerances::ButtonAddMaskRowClick() {
    const int row = TableMask->rowCount();
    TableMask->insertRow(row);
    for (int column = 0; column < 4; ++column) {
        TableMask->setItem(row, column, new QTableWidgetItem(column >= 2 ? "-" : ""));
    }
}

void TFormTolerances::ButtonRemoveMaskRowClick() {
    const int row = TableMask->currentRow();
    if (row >= 0) {
        TableMask->removeRow(row);
    }
}

void TFormTolerances::ButtonDefaultsClick() {
    ShowSettings(DefaultToleranceSettings());
}

void TFormTolerances::EnableControls(bool idle) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             ButtonRun, ButtonDefaults, TableKinds, TableComponents, TableMask, ButtonAddMaskRow,
             ButtonRemoveMaskRow, ComboBoxDistribution, SpinBoxRuns, EditBoxSeed}) {
        control->setEnabled(idle);
    }
}

void TFormTolerances::ButtonRunClick() {
    if (calculation_.Running() || bode_.Computing()) {
        return;
    }
    std::optional<ToleranceSettings> settings = SettingsFromControls();
    if (!settings) {
        return;
    }
    // A Datafile changed behind the panel's back (by another program) is read again, so the run
    // solves the circuit as it stands; the settings typed in are kept, per line by its text.
    if (!loaded_.IsCurrent(state_)) {
        loaded_.Load(state_);
        ShowSettings(*settings);
        settings = SettingsFromControls();
        if (!settings) {
            return;
        }
    }
    if (!loaded_.good) {
        state_.messages.ShowWarning(kDatafileErrorsWarning);
        return;
    }
    const std::optional<FrequencyRange> range = bode_.RangeFromBoxes();
    if (!range) {
        return;
    }
    // The settings of every run are kept beside the Datafile; a failed save does not stop the
    // analysis, but says why.
    try {
        WriteToleranceFile(ToleranceFilePath(loaded_.path), *settings, state_.shell.DatafileName);
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
    }

    ProgressBar->setValue(0);
    auto run = std::make_shared<std::optional<ToleranceRun>>();
    // The worker reads copies: the panel may load another circuit once this one is cancelled.
    const auto work = [this, run, circuit = loaded_.circuit, lines = loaded_.componentLines,
                       settings = *settings,
                       grid = LogFrequencyGrid(*range, bode_.SpinBoxPointsPerDecade->value())] {
        const ToleranceProgress progress = [this](int done, int total) {
            return calculation_.Report([this, done, total] {
                ProgressBar->setRange(0, total);
                ProgressBar->setValue(done);
            });
        };
        *run = RunToleranceAnalysis(*circuit, lines, settings, grid, progress);
        return (*run)->complete;
    };
    const auto finish = [this, run, settings = *settings](CalculationEnd end) {
        if (end != CalculationEnd::Finished) {
            ProgressBar->setValue(0);
            if (end == CalculationEnd::Reset) {
                LabelYield->setText("Cancelled: the results are as they were.");
            }
            return;
        }
        SetRunning(false);
        bode_.SetComputing(false);
        ProgressBar->setValue(ProgressBar->maximum());
        analysis_ = std::move((*run)->analysis);
        analysedSettings_ = settings;
        ShowResults();
    };
    calculation_.Start(work, finish);
}

void TFormTolerances::ShowResults() {
    TableSpreads->setRowCount(0);
    PlotHistogram->clearPlottables();
    PlotHistogram->replot();
    LabelHistogram->clear();
    if (!analysis_) {
        LabelYield->setText("Run to see how the circuit spreads over the analyser's range.");
        ShowSpread();
        return;
    }
    const int runs = analysedSettings_.runs;
    for (const MarkerSpread& marker : analysis_->markers) {
        const int row = TableSpreads->rowCount();
        TableSpreads->insertRow(row);
        const Spread& spread = marker.spread;
        const auto cell = [&](int column, const std::string& text) {
            TableSpreads->setItem(row, column, new QTableWidgetItem(Text(text)));
        };
        cell(0, marker.name);
        cell(1, spread.nominal ? Significant(*spread.nominal, marker.unit) : "not in range");
        if (spread.found > 0) {
            cell(2, Significant(spread.mean, marker.unit));
            cell(3, Significant(spread.sigma, marker.unit));
            cell(4, Significant(spread.lowest, marker.unit));
            cell(5, Significant(spread.highest, marker.unit));
        }
        cell(6, std::to_string(spread.found) + " of " + std::to_string(runs));
    }
    TableSpreads->resizeColumnsToContents();
    QString summary =
        QStringLiteral("%1 runs, %2 values vary. ").arg(runs).arg(analysis_->toleranced);
    summary += analysis_->mask.checked
                   ? "Yield " + Text(YieldText(analysis_->mask, runs)) + "."
                   : QStringLiteral("No gain mask: give limits to see the yield.");
    LabelYield->setText(summary);
    const BodeCurve& nominal = analysis_->nominal;
    ShowHistogram(static_cast<double>(nominal.frequency[nominal.size() / 2]));
    ShowSpread();
}

void TFormTolerances::ShowSpread() {
    if (analysis_ && CheckBoxShowSpread->isChecked()) {
        bode_.Plot->setSpread(plot::MakePlotSpread(*analysis_, CheckBoxFailingRuns->isChecked()));
    } else {
        bode_.Plot->setSpread(std::nullopt);
    }
}

void TFormTolerances::ShowHistogram(double frequency) {
    if (!analysis_ || !(frequency > 0) || analysis_->nominal.size() == 0) {
        return;
    }
    const std::vector<long double>& grid = analysis_->nominal.frequency;
    std::size_t nearest = 0;
    for (std::size_t index = 1; index < grid.size(); ++index) {
        if (std::fabs(std::log(grid[index] / frequency)) <
            std::fabs(std::log(grid[nearest] / frequency))) {
            nearest = index;
        }
    }
    const Histogram histogram =
        HistogramOf(analysis_->runs.GainsAt(static_cast<int>(nearest)), kHistogramBins);
    const double width =
        static_cast<double>(histogram.highest - histogram.lowest) / histogram.counts.size();
    QVector<double> centres, counts;
    for (std::size_t bin = 0; bin < histogram.counts.size(); ++bin) {
        centres.push_back(static_cast<double>(histogram.lowest) + (bin + 0.5) * width);
        counts.push_back(histogram.counts[bin]);
    }
    PlotHistogram->clearPlottables();
    auto* bars = new QCPBars(PlotHistogram->xAxis, PlotHistogram->yAxis);
    bars->setWidth(width > 0 ? width : 1);
    bars->setData(centres, counts, true);
    bars->setPen(Qt::NoPen);
    bars->setBrush(
        plot::BodePlot::TraceColour(0, palette().color(QPalette::Base).lightness() < 128));
    PlotHistogram->rescaleAxes();
    PlotHistogram->yAxis->setRangeLower(0);
    PlotHistogram->replot(QCustomPlot::rpQueuedReplot);
    LabelHistogram->setText(QStringLiteral("Gain at %1 over %2 runs: nominal %3")
                                .arg(Text(Significant(grid[nearest], "Hz")))
                                .arg(analysis_->runs.runs)
                                .arg(Text(Significant(analysis_->nominal.gain[nearest], "dB"))));
}

} // namespace kelvor::app
