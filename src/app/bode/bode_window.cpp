#include "app/bode/bode_window.h"

#include "app/bode/tolerance_window.h"
#include "app/printing/print_target.h"
#include "app/shell/help_window.h"
#include "bode/bode_csv.h"
#include "bode/significant_format.h"
#include "circuit/datafile_reader.h"
#include "files/file_io.h"
#include "kelvor_error.h"
#include "plot/plot_export.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace kelvor::app {
namespace {

constexpr int32_t kHelpPosition = 33844;
constexpr int kSignificantDigits = 5;
// Events are let through at least this often while a computation runs.
constexpr qint64 kEventSliceMs = 20;
constexpr int kLargestPictureScale = 4;
constexpr const char* kCannotRun = "\r\nCannot Run  -  Error in Datafile  ";
constexpr const char* kDefaultStart = "10";
constexpr const char* kDefaultEnd = "100k";

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString Significant(long double value, const char* unit, bool prefix = true) {
    return Text(FormatSignificant(value, kSignificantDigits, unit, prefix));
}

QString DefaultFileChooser(QWidget* owner, const QString& caption, const QString& filter,
                           bool save) {
    return save ? QFileDialog::getSaveFileName(owner, caption, QString(), filter)
                : QFileDialog::getOpenFileName(owner, caption, QString(), filter);
}

bool DefaultPrinterSetUp(QPrinter& printer, QWidget* owner) {
    QPrintDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

QString ReadoutText(const BodeCurve& curve, std::size_t index) {
    return QStringLiteral("f %1    Gain %2    Phase %3    Delay %4    Zin %5    Zout %6")
        .arg(Significant(curve.frequency[index], "Hz"), Significant(curve.gain[index], "dB", false),
             Significant(curve.phase[index], "\u00b0", false),
             Significant(curve.groupDelay[index], "s"), Significant(curve.zin[index], "\u03a9"),
             Significant(curve.zout[index], "\u03a9"));
}

TFormBode::TFormBode(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state) {
    setWindowTitle("Bode Analyser");
    chooseFile = DefaultFileChooser;
    setUpPrinter = DefaultPrinterSetUp;

    Plot = new plot::BodePlot(this);
    Plot->setObjectName("Plot");
    Plot->setMinimumSize(400, 300);
    LabelReadout = new QLabel(this);
    LabelReadout->setObjectName("LabelReadout");
    LabelReadout->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* plotColumn = new QWidget(this);
    auto* plotLayout = new QVBoxLayout(plotColumn);
    plotLayout->setContentsMargins(0, 0, 0, 0);
    plotLayout->addWidget(Plot, 1);
    plotLayout->addWidget(LabelReadout);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(plotColumn);
    splitter->addWidget(BuildSidePanel());
    splitter->setStretchFactor(0, 1);
    splitter->setSizes({760, 380});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildRangeRow());
    layout->addWidget(splitter, 1);
    resize(1100, 760);

    connect(Plot, &plot::BodePlot::cursorMoved, this, &TFormBode::PlotCursorMoved);
    connect(Plot, &plot::BodePlot::cursorLeft, this, [this] {
        Plot->setCursorFrequency(std::nullopt);
        LabelReadout->clear();
    });
    connect(Plot, &plot::BodePlot::clickedAt, this, &TFormBode::PlotClickedAt);
    SetComputing(false);
}

QWidget* TFormBode::BuildRangeRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    EditBoxStart = new QLineEdit(kDefaultStart, row);
    EditBoxEnd = new QLineEdit(kDefaultEnd, row);
    SpinBoxPointsPerDecade = new QSpinBox(row);
    SpinBoxPointsPerDecade->setRange(1, kMostPointsPerDecade);
    SpinBoxPointsPerDecade->setValue(kDefaultPointsPerDecade);
    ButtonCompute = new QPushButton("&Compute", row);
    ButtonCancel = new QPushButton("Cance&l", row);
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

QWidget* TFormBode::BuildSidePanel() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto button = [&](const char* caption, void (TFormBode::*handler)()) {
        auto* created = new QPushButton(caption, panel);
        connect(created, &QPushButton::clicked, this, handler);
        return created;
    };
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
    checks->addWidget(CheckBoxGain, 0, 0);
    checks->addWidget(CheckBoxPhase, 1, 0);
    checks->addWidget(CheckBoxUnwrapped, 1, 1);
    checks->addWidget(CheckBoxGroupDelay, 2, 0);
    checks->addWidget(CheckBoxZin, 3, 0);
    checks->addWidget(CheckBoxZout, 3, 1);
    checks->addWidget(CheckBoxAutoMarkers, 4, 0, 1, 2);
    layout->addLayout(checks);

    auto* view = new QHBoxLayout;
    ButtonFit = button("&Fit", &TFormBode::ButtonFitClick);
    ButtonRefine = button("&Refine", &TFormBode::ButtonRefineClick);
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
    ButtonRemoveMarker = button("Remove &Marker", &TFormBode::ButtonRemoveMarkerClick);
    layout->addWidget(ButtonRemoveMarker);

    ListTraces = new QListWidget(panel);
    connect(ListTraces, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const auto index = static_cast<std::size_t>(ListTraces->row(item));
        if (index < traces_.traces().size()) {
            traces_.at(index).visible = item->checkState() == Qt::Checked;
            ShowTraces();
        }
    });
    layout->addWidget(ListTraces, 1);
    auto* traceButtons = new QGridLayout;
    ButtonAddDatafile = button("Add &Datafile...", &TFormBode::ButtonAddDatafileClick);
    ButtonKeep = button("&Keep", &TFormBode::ButtonKeepClick);
    ButtonRemoveTrace = button("Remove Cur&ve", &TFormBode::ButtonRemoveTraceClick);
    traceButtons->addWidget(ButtonAddDatafile, 0, 0);
    traceButtons->addWidget(ButtonKeep, 0, 1);
    traceButtons->addWidget(ButtonRemoveTrace, 1, 0, 1, 2);
    layout->addLayout(traceButtons);

    auto* exports = new QGridLayout;
    ButtonExportCsv = button("Export C&SV...", &TFormBode::ButtonExportCsvClick);
    ButtonExportPicture = button("Export Pictu&re...", &TFormBode::ButtonExportPictureClick);
    SpinBoxPictureScale = new QSpinBox(panel);
    SpinBoxPictureScale->setRange(1, kLargestPictureScale);
    SpinBoxPictureScale->setSuffix(QStringLiteral(" \u00d7 PNG"));
    ButtonPrint = button("Pri&nt...", &TFormBode::ButtonPrintClick);
    // Every letter of its caption is some other control's access key.
    ButtonTolerances = button("Tolerances...", &TFormBode::ButtonTolerancesClick);
    ButtonTolerances->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    exports->addWidget(ButtonExportCsv, 0, 0);
    exports->addWidget(ButtonExportPicture, 1, 0);
    exports->addWidget(SpinBoxPictureScale, 1, 1);
    exports->addWidget(ButtonPrint, 2, 0);
    exports->addWidget(ButtonTolerances, 2, 1);
    layout->addLayout(exports);
    auto* help = new QLabel("F1 for Help", panel);
    layout->addWidget(help);
    return panel;
}

void TFormBode::ShowForCurrentDatafile() {
    try {
        traces_.SetCurrent(state_.circuit.CircuitTitle.empty() ? state_.shell.DatafileName
                                                               : state_.circuit.CircuitTitle,
                           LoadCircuit(state_.workingFolder, state_.circuit));
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
        return;
    }
    setWindowTitle("Bode Analyser  -  " + Text(state_.shell.DatafileName));
    show();
    raise();
    activateWindow();
    ShowTraceList();
    if (!computing_) {
        ButtonComputeClick();
    }
    // The spread of another circuit, or of the Datafile before an edit, would mislead.
    if (tolerances_ != nullptr && tolerances_->isVisible()) {
        tolerances_->ShowForCurrentDatafile();
    } else {
        Plot->setSpread(std::nullopt);
    }
}

void TFormBode::ButtonTolerancesClick() {
    if (tolerances_ == nullptr) {
        tolerances_ = new TFormTolerances(state_, *this);
    }
    tolerances_->ShowForCurrentDatafile();
}

std::optional<FrequencyRange> TFormBode::RangeFromBoxes() {
    const auto range =
        ParseFrequencyRange(EditBoxStart->text().toStdString(), EditBoxEnd->text().toStdString());
    if (!range) {
        state_.messages.ShowError(kInvalidFrequenciesMessage);
    }
    return range;
}

void TFormBode::ButtonComputeClick() {
    if (const auto range = RangeFromBoxes()) {
        if (Compute(*range)) {
            Plot->fit();
        }
    }
}

void TFormBode::ButtonCancelClick() {
    cancelRequested_ = true;
}

void TFormBode::SetComputing(bool computing) {
    computing_ = computing;
    for (QWidget* control : std::initializer_list<QWidget*>{
             ButtonCompute, ButtonRefine, ButtonAddDatafile, ButtonKeep, ButtonRemoveTrace,
             ButtonExportCsv, ButtonExportPicture, ButtonPrint, EditBoxStart, EditBoxEnd,
             SpinBoxPointsPerDecade}) {
        control->setEnabled(!computing);
    }
    ButtonCancel->setEnabled(computing);
}

bool TFormBode::Compute(const FrequencyRange& range) {
    const std::vector<long double> grid = LogFrequencyGrid(range, SpinBoxPointsPerDecade->value());
    const std::vector<std::size_t> computable = traces_.Computable();
    const int perCurve = static_cast<int>(grid.size());
    ProgressBar->setRange(0, std::max(1, perCurve * static_cast<int>(computable.size())));
    ProgressBar->setValue(0);
    cancelRequested_ = false;
    SetComputing(true);

    std::vector<BodeRun> runs;
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    bool complete = true;
    try {
        for (std::size_t index : computable) {
            const int before = perCurve * static_cast<int>(runs.size());
            // Called on this thread only: the window stays responsive while the other cores
            // solve, and a click on Cancel is seen between two points.
            SolveProgress progress = [&](int solved) {
                ProgressBar->setValue(before + solved);
                if (sinceEvents.elapsed() >= kEventSliceMs) {
                    QCoreApplication::processEvents(QEventLoop::AllEvents);
                    sinceEvents.restart();
                }
                return !cancelRequested_;
            };
            runs.push_back(ComputeBodeCurve(*traces_.at(index).circuit, grid, state_.solver,
                                            state_.messages, progress));
            if (!runs.back().complete) {
                complete = false;
                break;
            }
        }
        if (complete) {
            for (std::size_t run = 0; run < runs.size(); ++run) {
                BodeTrace& trace = traces_.at(computable[run]);
                trace.markers = FindMarkers(runs[run].curve, *trace.circuit, state_.solver);
                trace.curve = std::move(runs[run].curve);
            }
        }
    } catch (const KelvorError& error) {
        complete = false;
        state_.messages.ShowError(error.what());
    }
    SetComputing(false);
    ProgressBar->setValue(complete ? ProgressBar->maximum() : 0);
    if (!complete) {
        LabelReadout->setText(cancelRequested_ ? "Cancelled: the curves are as they were."
                                               : QString());
        return false;
    }
    ShowTraces();
    return true;
}

void TFormBode::ButtonFitClick() {
    Plot->fit();
}

void TFormBode::ButtonRefineClick() {
    const QCPRange view = Plot->frequencyView();
    if (!(view.lower > 0) || !(view.upper > view.lower)) {
        return;
    }
    const QCPRange kept = view;
    EditBoxStart->setText(Significant(view.lower, "").trimmed().remove(' '));
    EditBoxEnd->setText(Significant(view.upper, "").trimmed().remove(' '));
    if (Compute({view.lower, view.upper})) {
        Plot->setFrequencyView(kept);
    }
}

void TFormBode::ButtonAddDatafileClick() {
    if (traces_.Full()) {
        state_.messages.ShowWarning("At most 8 curves can be shown: remove one first.");
        return;
    }
    const QString path = chooseFile(this, "Add Datafile", "Datafiles (*.dat)", false);
    if (path.isEmpty()) {
        return;
    }
    try {
        CircuitState circuit;
        ParseOutcome outcome = ParseDatafileText(
            ReadWholeFile(std::filesystem::path(QFile::encodeName(path).toStdString())), circuit,
            state_.shell.TodayText);
        if (!outcome.ok) {
            state_.messages.ShowWarning(kCannotRun);
            return;
        }
        const std::string title = circuit.CircuitTitle.empty()
                                      ? QFileInfo(path).fileName().toStdString()
                                      : circuit.CircuitTitle;
        traces_.AddOverlay(title, MakeLoadedCircuit(std::move(outcome.records), circuit));
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
        return;
    }
    ShowTraceList();
    if (const auto range = RangeFromBoxes()) {
        Compute(*range);
    }
}

void TFormBode::ButtonKeepClick() {
    if (!traces_.KeepCurrent()) {
        state_.messages.ShowWarning(traces_.Full()
                                        ? "At most 8 curves can be shown: remove one first."
                                        : "There is no computed curve to keep.");
        return;
    }
    ShowTraceList();
    ShowTraces();
}

void TFormBode::ButtonRemoveTraceClick() {
    if (traces_.Remove(static_cast<std::size_t>(std::max(0, ListTraces->currentRow())))) {
        ShowTraceList();
        ShowTraces();
    }
}

void TFormBode::ButtonRemoveMarkerClick() {
    const QTableWidgetItem* item = TableMarkers->item(TableMarkers->currentRow(), 0);
    if (item == nullptr || !item->data(Qt::UserRole).isValid()) {
        return; // automatic markers are switched off with their check box
    }
    const auto pinned = static_cast<std::size_t>(item->data(Qt::UserRole).toInt());
    if (pinned < pinned_.size()) {
        pinned_.erase(pinned_.begin() + static_cast<std::ptrdiff_t>(pinned));
        ShowMarkers();
    }
}

void TFormBode::ButtonExportCsvClick() {
    const QString path = chooseFile(this, "Export CSV", "Comma-separated values (*.csv)", true);
    if (path.isEmpty()) {
        return;
    }
    std::vector<NamedCurve> curves;
    for (const BodeTrace& trace : traces_.traces()) {
        if (trace.curve.size() > 0) {
            curves.push_back({trace.title, &trace.curve});
        }
    }
    try {
        WriteBodeCsv(std::filesystem::path(QFile::encodeName(path).toStdString()), curves);
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
    }
}

void TFormBode::ButtonExportPictureClick() {
    QString path =
        chooseFile(this, "Export Picture",
                   "PNG picture (*.png);;PDF document (*.pdf);;SVG drawing (*.svg)", true);
    if (path.isEmpty()) {
        return;
    }
    const auto kind = plot::PictureKindOf(path);
    if (!kind) {
        state_.messages.ShowWarning("Name the picture .png, .pdf or .svg");
        return;
    }
    try {
        plot::SavePlot(*Plot, path, *kind, Plot->size(), SpinBoxPictureScale->value());
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
    }
}

void TFormBode::ButtonPrintClick() {
    QPrinter& printer = state_.printer();
    const std::optional<PrintTarget> target =
        ChoosePrintTarget(printer, this, state_.workingFolder, "BODE");
    if (!target || (!target->toPdf && !setUpPrinter(printer, this))) {
        return;
    }
    // The plot keeps its proportions on the page.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QSizeF plotSize = Plot->size();
    const double scale =
        std::min(page.width() / plotSize.width(), page.height() / plotSize.height());
    const QRectF placed(0, 0, plotSize.width() * scale, plotSize.height() * scale);
    try {
        plot::PaintPlot(*Plot, printer, placed, Plot->size());
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
    }
}

void TFormBode::ShowQuantities() {
    plot::QuantityChoice choice;
    choice.gain = CheckBoxGain->isChecked();
    choice.phase = CheckBoxPhase->isChecked();
    choice.unwrappedPhase = CheckBoxUnwrapped->isChecked();
    choice.groupDelay = CheckBoxGroupDelay->isChecked();
    choice.zin = CheckBoxZin->isChecked();
    choice.zout = CheckBoxZout->isChecked();
    Plot->setQuantities(choice);
    ShowMarkers();
}

void TFormBode::ShowTraces() {
    std::vector<plot::PlotTrace> shown;
    for (const BodeTrace& trace : traces_.traces()) {
        shown.push_back({Text(trace.title), trace.curve, trace.visible});
    }
    Plot->setTraces(std::move(shown));
    ShowMarkers();
}

void TFormBode::ShowTraceList() {
    const QSignalBlocker blocker(ListTraces);
    ListTraces->clear();
    const bool dark = palette().color(QPalette::Base).lightness() < 128;
    int index = 0;
    for (const BodeTrace& trace : traces_.traces()) {
        auto* item = new QListWidgetItem(Text(trace.title), ListTraces);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(trace.visible ? Qt::Checked : Qt::Unchecked);
        item->setForeground(plot::BodePlot::TraceColour(index++, dark));
    }
}

void TFormBode::ShowMarkers() {
    TableMarkers->setRowCount(0);
    std::vector<plot::PlotMarker> placed;
    auto addRow = [&](const QString& name, const QString& frequency, const QString& value,
                      std::optional<int> pinned) {
        const int row = TableMarkers->rowCount();
        TableMarkers->insertRow(row);
        auto* nameItem = new QTableWidgetItem(name);
        if (pinned) {
            nameItem->setData(Qt::UserRole, *pinned);
        }
        TableMarkers->setItem(row, 0, nameItem);
        TableMarkers->setItem(row, 1, new QTableWidgetItem(frequency));
        TableMarkers->setItem(row, 2, new QTableWidgetItem(value));
    };
    if (CheckBoxAutoMarkers->isChecked()) {
        for (const BodeMarker& marker : traces_.current().markers) {
            const bool placeable = marker.found && marker.frequency > 0;
            addRow(Text(marker.name), placeable ? Significant(marker.frequency, "Hz") : QString(),
                   Text(marker.text), std::nullopt);
        }
        placed = plot::PlaceableMarkers(traces_.current().markers);
    }
    for (std::size_t index = 0; index < pinned_.size(); ++index) {
        const QString name = QStringLiteral("M%1").arg(index + 1);
        const auto point = NearestPoint(pinned_[index]);
        QString value;
        if (point) {
            value = Significant(point->first->gain[point->second], "dB", false) + ", " +
                    Significant(point->first->phase[point->second], "\u00b0", false);
        }
        addRow(name, Significant(pinned_[index], "Hz"), value, static_cast<int>(index));
        placed.push_back({pinned_[index], name});
    }
    TableMarkers->resizeColumnsToContents();
    Plot->setMarkers(std::move(placed));
}

std::optional<std::pair<const BodeCurve*, std::size_t>>
TFormBode::NearestPoint(double frequency) const {
    for (const BodeTrace& trace : traces_.traces()) {
        const std::vector<long double>& grid = trace.curve.frequency;
        if (!trace.visible || grid.empty() || !(frequency > 0)) {
            continue;
        }
        const auto above =
            std::lower_bound(grid.begin(), grid.end(), static_cast<long double>(frequency));
        std::size_t index = static_cast<std::size_t>(above - grid.begin());
        // Nearest on the logarithmic axis the user points at.
        if (index == grid.size() || (index > 0 && std::log(frequency / grid[index - 1]) <
                                                      std::log(grid[index] / frequency))) {
            --index;
        }
        return std::make_pair(&trace.curve, index);
    }
    return std::nullopt;
}

void TFormBode::PlotCursorMoved(double frequency) {
    const auto point = NearestPoint(frequency);
    if (!point) {
        return;
    }
    Plot->setCursorFrequency(static_cast<double>(point->first->frequency[point->second]));
    LabelReadout->setText(ReadoutText(*point->first, point->second));
}

void TFormBode::PlotClickedAt(double frequency) {
    if (const auto point = NearestPoint(frequency)) {
        pinned_.push_back(static_cast<double>(point->first->frequency[point->second]));
        ShowMarkers();
    }
}

void TFormBode::keyReleaseEvent(QKeyEvent* event) {
    if (!OpenHelpOnF1(event, state_, kHelpPosition, this)) {
        QWidget::keyReleaseEvent(event);
    }
}

void TFormBode::closeEvent(QCloseEvent* event) {
    cancelRequested_ = true;
    QWidget::closeEvent(event);
}

} // namespace kelvor::app
