// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bode/bode_window.h"

#include "app/bode/bode_page.h"
#include "app/bode/noise_window.h"
#include "app/bode/tolerance_window.h"
#include "app/common/file_paths.h"
#include "app/common/qt_text.h"
#include "app/common/replace_question.h"
#include "app/common/screen_checks.h"
#include "app/help/help_window.h"
#include "app/printing/print_target.h"
#include "app/state/dialogs.h"
#include "bode/analyser_range_file.h"
#include "bode/bode_csv.h"
#include "bode/significant_format.h"
#include "circuit/datafile_reader.h"
#include "kelvor_error.h"
#include "messages.h"
#include "plot/plot_export.h"
#include "solver/loaded_datafile.h"
#include "stepping/stepped_circuits.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <memory>

namespace kelvor::app {
namespace {

constexpr int kSignificantDigits = 5;
// The boxes as their refusals name them.
constexpr const char* kStartBox = "Start (Hz)";
constexpr const char* kEndBox = "End (Hz)";
constexpr const char* kPointsPerDecadeBox = "Points per decade";
const std::string kSetFull =
    "At most " + std::to_string(kMostBodeTraces) + " curves can be shown: remove one first.";

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString Significant(long double value, const char* unit, bool prefix = true) {
    return Text(FormatSignificant(value, kSignificantDigits, unit, prefix));
}

const FileKind kDatafileToAdd{"Add Datafile", "Datafiles (*.dat)", "dat"};
const FileKind kCsvToWrite{"Export CSV", "Comma-separated values (*.csv)", "csv"};
const FileKind kPictureToWrite{
    "Export Picture", "PNG picture (*.png);;PDF document (*.pdf);;SVG drawing (*.svg)", ""};

// The readout line for one computed point, every value to 5 significant digits.
QString ReadoutText(const BodeCurve& curve, std::size_t index) {
    return QStringLiteral("f %1    Gain %2    Phase %3    Delay %4    Zin %5    Zout %6")
        .arg(Significant(curve.frequency[index], "Hz"), Significant(curve.gain[index], "dB", false),
             Significant(curve.phase[index], "\u00b0", false),
             Significant(curve.groupDelay[index], "s"), Significant(curve.zin[index], "\u03a9"),
             Significant(curve.zout[index], "\u03a9"));
}

} // namespace

TFormBode::TFormBode(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state),
      calculation_(
          state.messages, [this](bool locked) { SetComputing(locked); }, kAnalyserProgressSliceMs) {
    setWindowTitle("Bode Analyser");

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
    splitter->addWidget(ScrolledWhenSmall(BuildSidePanel(), splitter));
    splitter->setStretchFactor(0, 1);
    splitter->setSizes({760, 380});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildRangeRow());
    layout->addWidget(splitter, 1);
    FitOnScreen(this, 1100, 760);

    connect(Plot, &plot::BodePlot::cursorMoved, this, &TFormBode::PlotCursorMoved);
    connect(Plot, &plot::BodePlot::cursorLeft, this, [this] {
        Plot->setCursorFrequency(std::nullopt);
        LabelReadout->clear();
    });
    connect(Plot, &plot::BodePlot::clickedAt, this, &TFormBode::PlotClickedAt);
    connect(&state_.datafileEvents, &DatafileEvents::currentChanged, this,
            &TFormBode::FollowCurrentDatafile);
    SetComputing(false);
    ShowRememberedRange();
}

void TFormBode::ShowForCurrentDatafile() {
    show();
    raise();
    activateWindow();
    if (!computing_) { // a running computation holds the current circuit
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

void TFormBode::ButtonNoiseClick() {
    NoisePanel().ShowForCurrentDatafile();
}

bool TFormBode::NoiseFollowsCurves() const {
    return CheckBoxNoise->isChecked() || (noise_ != nullptr && noise_->isVisible());
}

TFormNoise& TFormBode::NoisePanel() {
    if (noise_ == nullptr) {
        noise_ = new TFormNoise(state_, *this);
    }
    return *noise_;
}

void TFormBode::FollowCurrentDatafile() {
    if (computing_) {
        // The running computation holds references to the curves: it stops first, and
        // SetComputing(false) brings the change in.
        calculation_.RequestReset();
        followPending_ = true;
        return;
    }
    followPending_ = false;
    traces_.ForgetCurrent(state_.shell.DatafileName);
    setWindowTitle("Bode Analyser  -  " + ShownText(state_.shell.DatafileName));
    Plot->setSpread(std::nullopt);
    ShowRememberedRange();
    if (isVisible()) {
        ButtonComputeClick();
    }
    ShowTraceList();
    ShowTraces();
}

void TFormBode::ShowRememberedRange() {
    if (const std::optional<AnalyserRange> range = ReadAnalyserRange(state_.DatafilePath())) {
        EditBoxStart->setText(Text(range->start));
        EditBoxEnd->setText(Text(range->end));
        SpinBoxPointsPerDecade->setValue(range->pointsPerDecade);
    }
}

void TFormBode::RememberRange() {
    try {
        WriteAnalyserRange(state_.DatafilePath(), {EditBoxStart->text().trimmed().toStdString(),
                                                   EditBoxEnd->text().trimmed().toStdString(),
                                                   SpinBoxPointsPerDecade->value()});
        rangeFaultReported_ = false;
    } catch (const KelvorError& error) {
        if (!rangeFaultReported_) {
            state_.messages.ShowWarning(error.what());
            rangeFaultReported_ = true;
        }
    }
}

bool TFormBode::ReloadCurrentDatafile() {
    std::optional<ParseOutcome> outcome = state_.ParseForAnalysis();
    if (!outcome) {
        return false;
    }
    traces_.SetCurrent(state_.circuit.CircuitTitle.empty() ? state_.shell.DatafileName
                                                           : state_.circuit.CircuitTitle,
                       MakeLoadedCircuit(std::move(outcome->records), state_.circuit));
    setWindowTitle("Bode Analyser  -  " + ShownText(state_.shell.DatafileName));
    ShowTraceList();
    return true;
}

std::optional<FrequencyRange> TFormBode::RangeFromBoxes() {
    const FrequencyRangeReading reading = ReadFrequencyRange(
        EditBoxStart->text().toStdString(), EditBoxEnd->text().toStdString(), kStartBox, kEndBox);
    std::optional<std::string> problem;
    if (!reading.range) {
        problem = reading.problem;
    } else {
        problem = PointsPerDecadeProblem(SpinBoxPointsPerDecade->value(), kPointsPerDecadeBox);
    }
    if (problem) {
        state_.messages.ShowError(*problem);
        return std::nullopt;
    }
    return reading.range;
}

void TFormBode::ButtonComputeClick() {
    if (const auto range = RangeFromBoxes()) {
        if (ReloadCurrentDatafile()) {
            Compute(*range, [this] { Plot->fit(); });
        }
    }
}

void TFormBode::ButtonCancelClick() {
    calculation_.RequestReset();
}

void TFormBode::SetComputing(bool computing) {
    computing_ = computing;
    for (QWidget* control : std::initializer_list<QWidget*>{
             ButtonCompute, ButtonRefine, ButtonAddDatafile, ButtonKeep, ButtonRemoveTrace,
             ButtonStep, ButtonExportCsv, ButtonExportPicture, ButtonPrint, EditBoxStart,
             EditBoxEnd, SpinBoxPointsPerDecade}) {
        control->setEnabled(!computing);
    }
    ButtonCancel->setEnabled(computing);
    if (!computing && followPending_) {
        // Taken once the computation has returned from its event slices, not inside one.
        QTimer::singleShot(0, this, [this] {
            if (followPending_) {
                FollowCurrentDatafile();
            }
        });
    }
}

void TFormBode::Compute(const FrequencyRange& range, std::function<void()> afterwards) {
    const std::vector<std::size_t> computable = traces_.Computable();
    // The worker solves copies: the curves' circuits stay the window's, free to change after.
    std::vector<LoadedCircuit> circuits;
    for (std::size_t index : computable) {
        circuits.push_back(*traces_.at(index).circuit);
    }
    const std::vector<long double> grid = LogFrequencyGrid(range, SpinBoxPointsPerDecade->value());
    const int perCurve = static_cast<int>(grid.size());
    ProgressBar->setRange(0, std::max(1, perCurve * static_cast<int>(computable.size())));
    ProgressBar->setValue(0);

    struct Outcome {
        std::vector<BodeRun> runs;
        std::vector<std::vector<BodeMarker>> markers;
        bool pointLimitReached = false;
    };
    auto outcome = std::make_shared<Outcome>();
    // A circuit whose solve shows messages point by point is solved where the boxes are.
    const bool showsMessages =
        std::any_of(circuits.begin(), circuits.end(), [](const LoadedCircuit& circuit) {
            return NeedsSequentialSolve(circuit, false);
        });
    const auto work = [this, outcome, circuits = std::move(circuits), grid, showsMessages] {
        ResponseSolver solver;
        QuietMessages quiet; // a worker's solves show no messages
        MessageSink& messages = showsMessages ? state_.messages : quiet;
        for (const LoadedCircuit& circuit : circuits) {
            const int before = static_cast<int>(grid.size() * outcome->runs.size());
            const SolveProgress progress = [this, before](int solved) {
                return calculation_.Report(
                    [this, value = before + solved] { ProgressBar->setValue(value); });
            };
            outcome->runs.push_back(ComputeBodeCurve(circuit, grid, solver, messages, progress));
            if (!outcome->runs.back().complete) {
                return false;
            }
            outcome->pointLimitReached =
                outcome->pointLimitReached || outcome->runs.back().pointLimitReached;
            outcome->markers.push_back(FindMarkers(outcome->runs.back().curve, circuit, solver));
        }
        return true;
    };
    const auto finish = [this, range, computable, outcome,
                         afterwards = std::move(afterwards)](CalculationEnd end) {
        if (end != CalculationEnd::Finished) {
            ProgressBar->setValue(0);
            LabelReadout->setText(end == CalculationEnd::Reset
                                      ? "Cancelled: the curves are as they were."
                                      : QString());
            return;
        }
        // Only a computation that ran to its end replaces the curves.
        for (std::size_t run = 0; run < outcome->runs.size(); ++run) {
            BodeTrace& trace = traces_.at(computable[run]);
            trace.curve = std::move(outcome->runs[run].curve);
            trace.markers = std::move(outcome->markers[run]);
        }
        computedRange_ = range;
        computedDensity_ = SpinBoxPointsPerDecade->value();
        RememberRange();
        SetComputing(false);
        ProgressBar->setValue(ProgressBar->maximum());
        ShowTraces();
        if (afterwards) {
            afterwards();
        }
        if (outcome->pointLimitReached) {
            state_.messages.ShowWarning(PointLimitWarning());
        }
        // The noise plot follows the curves: the same circuit at the same points.
        if (NoiseFollowsCurves()) {
            NoisePanel().Run();
        }
    };
    calculation_.Start(work, finish,
                       showsMessages ? CalculationThread::Window : CalculationThread::Worker);
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
    if (const auto computed = ParseFrequencyRange(EditBoxStart->text().toStdString(),
                                                  EditBoxEnd->text().toStdString())) {
        SpinBoxPointsPerDecade->setValue(PointsPerDecadeForView(*computed, {view.lower, view.upper},
                                                                SpinBoxPointsPerDecade->value()));
    }
    EditBoxStart->setText(Significant(view.lower, "").trimmed().remove(' '));
    EditBoxEnd->setText(Significant(view.upper, "").trimmed().remove(' '));
    if (ReloadCurrentDatafile()) {
        Compute({view.lower, view.upper}, [this, kept] { Plot->setFrequencyView(kept); });
    }
}

void TFormBode::ButtonAddDatafileClick() {
    if (traces_.Full()) {
        state_.messages.ShowWarning(kSetFull);
        return;
    }
    const std::optional<QString> chosen =
        state_.dialogs.ChooseFileToRead(this, kDatafileToAdd, PathToQt(state_.workingFolder));
    if (!chosen) {
        return;
    }
    const QString& path = *chosen;
    try {
        LoadedDatafile added = LoadDatafile(PathFromQt(path), state_.shell.TodayText);
        if (!added.ok) {
            state_.messages.ShowWarning(kDatafileErrorsWarning);
            return;
        }
        const std::string title = added.state.CircuitTitle.empty()
                                      ? QFileInfo(path).fileName().toStdString()
                                      : added.state.CircuitTitle;
        traces_.AddOverlay(title, std::move(added.circuit));
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
        return;
    }
    ShowTraceList();
    if (const auto range = RangeFromBoxes()) {
        Compute(*range, nullptr);
    }
}

void TFormBode::ButtonStepClick() {
    try {
        const std::string datafile = ReadDatafileBytes(state_.DatafilePath());
        const std::optional<StepRequest> step =
            state_.dialogs.ChooseStep(this, SteppableLines(datafile, state_.shell.TodayText));
        if (!step) {
            return;
        }
        std::vector<std::pair<std::string, LoadedCircuit>> steps;
        for (SteppedCircuit& circuit :
             SteppedCircuits(datafile, step->target, step->values, state_.shell.TodayText)) {
            steps.emplace_back(std::move(circuit.name), std::move(circuit.circuit));
        }
        if (!traces_.SetSteps(std::move(steps))) {
            state_.messages.ShowWarning(kSetFull);
            return;
        }
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
        return;
    }
    ShowTraceList();
    // The current Datafile is computed again with its variants, so that all are of one text.
    ButtonComputeClick();
}

void TFormBode::ButtonKeepClick() {
    if (!traces_.KeepCurrent()) {
        state_.messages.ShowWarning(traces_.Full() ? kSetFull
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
    const std::optional<QString> path =
        state_.dialogs.ChooseFileToWrite(this, kCsvToWrite, PathToQt(state_.File("BODE.CSV")));
    if (!path || !MayReplaceFile(state_.messages, PathFromQt(*path))) {
        return;
    }
    const auto computed = [](const BodeTrace& trace) { return trace.curve.size() > 0; };
    const bool someHidden =
        std::any_of(traces_.traces().begin(), traces_.traces().end(),
                    [&](const BodeTrace& trace) { return computed(trace) && !trace.visible; });
    bool hiddenToo = false;
    if (someHidden) {
        const Answer answer =
            state_.messages.Ask("Some curves are hidden. Export the hidden curves as well?\r\n"
                                "Yes: every curve.  No: the shown curves only.",
                                QuestionButtons::YesNoCancel);
        if (answer == Answer::Cancel) {
            return;
        }
        hiddenToo = answer == Answer::Yes;
    }
    std::vector<NamedCurve> curves;
    for (const BodeTrace& trace : traces_.traces()) {
        if (computed(trace) && (trace.visible || hiddenToo)) {
            curves.push_back({trace.title, &trace.curve});
        }
    }
    BodeCsvContext context{
        state_.shell.DatafileName, state_.shell.TodayText, computedRange_, computedDensity_, {}};
    if (noise_ != nullptr && NoiseFollowsCurves()) {
        if (std::optional<CsvColumns> noise = noise_->ColumnsBesideCurves()) {
            context.beside.push_back(std::move(*noise));
        }
    }
    try {
        WriteBodeCsv(PathFromQt(*path), curves, context);
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
    }
}

void TFormBode::ButtonExportPictureClick() {
    const std::optional<QString> chosen =
        state_.dialogs.ChooseFileToWrite(this, kPictureToWrite, PathToQt(state_.File("BODE.png")));
    if (!chosen) {
        return;
    }
    const QString& path = *chosen;
    const auto kind = plot::PictureKindOf(path);
    if (!kind) {
        state_.messages.ShowWarning("Name the picture .png, .pdf or .svg");
        return;
    }
    if (!MayReplaceFile(state_.messages, PathFromQt(path))) {
        return;
    }
    // The picture says what it shows, as a printout does; the window itself has its title.
    Plot->setHeading(HeadingText());
    try {
        plot::SavePlot(*Plot, path, *kind, Plot->size(), SpinBoxPictureScale->value());
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
    }
    Plot->setHeading(QString());
}

void TFormBode::ButtonPrintClick() {
    QPrinter& printer = state_.printer();
    const std::optional<PrintTarget> target =
        ChoosePrintTarget(state_.dialogs, printer, this, state_.workingFolder, "BODE");
    if (!target || (!target->toPdf && !state_.dialogs.SetUpPrinter(printer, this))) {
        return;
    }
    std::vector<QStringList> rows;
    for (int row = 0; row < TableMarkers->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < TableMarkers->columnCount(); ++column) {
            const QTableWidgetItem* item = TableMarkers->item(row, column);
            cells << (item == nullptr ? QString() : item->text());
        }
        rows.push_back(cells);
    }
    try {
        PrintBodePage(printer, *Plot, HeadingText(), rows);
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
    }
}

QString TFormBode::HeadingText() const {
    return Text(traces_.current().title) + "    " + ShownText(state_.shell.DatafileName) + "    " +
           Text(state_.shell.TodayText);
}

void TFormBode::ShowQuantities() {
    plot::QuantityChoice choice;
    choice.gain = CheckBoxGain->isChecked();
    choice.phase = CheckBoxPhase->isChecked();
    choice.unwrappedPhase = CheckBoxUnwrapped->isChecked();
    choice.groupDelay = CheckBoxGroupDelay->isChecked();
    choice.zin = CheckBoxZin->isChecked();
    choice.zout = CheckBoxZout->isChecked();
    choice.noise = CheckBoxNoise->isChecked();
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
        // The current Datafile's markers first, then those of each other shown curve, named
        // with its title; only the current one's are drawn, so the lines stay readable.
        for (std::size_t index = 0; index < traces_.traces().size(); ++index) {
            const BodeTrace& trace = traces_.traces()[index];
            if (index > 0 && !trace.visible) {
                continue;
            }
            const QString whose = index == 0 ? QString() : "  [" + Text(trace.title) + "]";
            for (const BodeMarker& marker : trace.markers) {
                const bool placeable = marker.found && marker.frequency > 0;
                addRow(Text(marker.name) + whose,
                       placeable ? Significant(marker.frequency, "Hz") : QString(),
                       Text(marker.text), std::nullopt);
            }
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
    if (!OpenHelpOnF1(event, state_, help::kBodeAnalyser)) {
        QWidget::keyReleaseEvent(event);
    }
}

void TFormBode::closeEvent(QCloseEvent* event) {
    calculation_.RequestReset();
    QWidget::closeEvent(event);
}

} // namespace kelvor::app
