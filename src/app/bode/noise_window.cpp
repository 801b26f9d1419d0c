// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bode/noise_window.h"

#include "app/bode/bode_window.h"
#include "app/common/qt_text.h"
#include "app/common/screen_checks.h"
#include "app/state/help_topics.h"
#include "bode/significant_format.h"
#include "circuit/datafile_reader.h"
#include "kelvor_error.h"
#include "plot/noise_layers.h"
#include "text/eng_value.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <memory>

namespace kelvor::app {
namespace {

constexpr int kSignificantDigits = 5;
constexpr int kEnColumn = 2, kInColumn = 3;
constexpr int kAtCursorColumn = 3;
// The boxes as their refusals name them.
constexpr const char* kBandFromBox = "Band from (Hz)";
constexpr const char* kBandToBox = "Band to (Hz)";

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Std(const QLineEdit* box) {
    return box->text().trimmed().toStdString();
}

QString Significant(long double value, const char* unit, bool prefix = true) {
    return Text(FormatSignificant(value, kSignificantDigits, unit, prefix));
}

// A value as it can be typed back: "10.000n".
QString EngText(long double value) {
    return Significant(value, "").remove(' ');
}

std::optional<long double> EngValue(const std::string& text) {
    bool ok = true;
    const long double value = ParseEngValue(text, ok);
    return ok && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

QString Percent(long double share) {
    return QString::number(static_cast<double>(share * 100), 'f', 3) + " %";
}

QTableWidgetItem* Fixed(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

bool SameSettings(const NoiseSettings& a, const NoiseSettings& b) {
    if (a.temperatureCelsius != b.temperatureCelsius || a.opAmps.size() != b.opAmps.size()) {
        return false;
    }
    for (const auto& [line, noise] : a.opAmps) {
        const auto other = b.opAmps.find(line);
        if (other == b.opAmps.end() || other->second.voltage != noise.voltage ||
            other->second.current != noise.current) {
            return false;
        }
    }
    return true;
}

// The totals of the core's summary: every line above the contributors.
QString TotalsText(const NoiseAnalysis& analysis) {
    const std::string summary = NoiseSummaryText(analysis);
    return Text(summary.substr(0, summary.find("Contributors:"))).trimmed();
}

} // namespace

TFormNoise::TFormNoise(AppState& state, TFormBode& bode)
    : AnalyserPanel(state, bode, help::kNoiseAnalysis) {
    setWindowTitle("Noise");
    BuildFrame(BuildSettings(), BuildResults(), 420);
    // Connected after the analyser's own handler, which puts the cursor on a computed point.
    connect(bode_.Plot, &plot::BodePlot::cursorMoved, this, [this](double frequency) {
        ShowAtFrequency(bode_.Plot->cursorFrequency().value_or(frequency));
    });
    FitOnScreen(this, 1060, 680);
    LoadCurrentDatafile();
}

void TFormNoise::ShowForCurrentDatafile() {
    if (!calculation_.Running() && !loaded_.IsCurrent(state_)) {
        LoadCurrentDatafile();
    }
    show();
    raise();
    activateWindow();
    ShowAtFrequency(ShownFrequency());
}

double TFormNoise::ShownFrequency() const {
    if (const auto cursor = bode_.Plot->cursorFrequency()) {
        return *cursor;
    }
    const std::vector<long double>& computed =
        analysis_ ? request_->frequencies : bode_.traces().current().curve.frequency;
    return computed.empty() ? 0 : static_cast<double>(computed[computed.size() / 2]);
}

void TFormNoise::TakeCurrentDatafile() {
    // The analyser may have run the new circuit already, as it computed its curves.
    if (!loaded_.IsCurrent(state_)) {
        LoadCurrentDatafile();
    }
}

void TFormNoise::LoadCurrentDatafile() {
    loaded_.Load(state_);
    const NoiseFileReading reading = ReadNoiseFile(NoiseFilePath(loaded_.path));
    if (!reading.problem.empty()) {
        state_.messages.ShowWarning(reading.problem);
    }
    fileSettings_ = reading.settings;
    ShowSettings(reading.settings);
    request_.reset();
    analysis_.reset();
    highlighted_.reset();
    sensitivity_.reset();
    ShowResults();
    setWindowTitle("Noise  -  " + ShownText(state_.shell.DatafileName));
}

void TFormNoise::ShowSettings(const NoiseSettings& settings) {
    EditBoxTemperature->setText(EngText(settings.temperatureCelsius));
    const QVariant chosen = ComboBoxSourceLine->currentData();
    ComboBoxSourceLine->clear();
    ComboBoxSourceLine->addItem("None: no noise figure", 0);
    TableOpAmps->setRowCount(0);
    for (std::size_t index = 0;
         index < loaded_.componentLines.size() && index < loaded_.sourceLines.size(); ++index) {
        const char kind = loaded_.circuit->records[index + 1].kind;
        const int line = loaded_.sourceLines[index];
        const QString text = Text(loaded_.componentLines[index]).simplified();
        if (kind == 'R') {
            ComboBoxSourceLine->addItem(QStringLiteral("Line %1:  %2").arg(line).arg(text), line);
        } else if (kind == 'A') {
            const OpAmpNoise noise = settings.OpAmpAt(line);
            const int row = TableOpAmps->rowCount();
            TableOpAmps->insertRow(row);
            auto* lineItem = Fixed(QString::number(line));
            lineItem->setData(Qt::UserRole, line);
            TableOpAmps->setItem(row, 0, lineItem);
            TableOpAmps->setItem(row, 1, Fixed(text));
            TableOpAmps->setItem(row, kEnColumn, new QTableWidgetItem(EngText(noise.voltage)));
            TableOpAmps->setItem(row, kInColumn, new QTableWidgetItem(EngText(noise.current)));
        }
    }
    TableOpAmps->resizeColumnsToContents();
    ComboBoxSourceLine->setCurrentIndex(std::max(0, ComboBoxSourceLine->findData(chosen)));
}

std::optional<NoiseSettings> TFormNoise::SettingsFromControls() {
    const auto refuse = [&](const std::string& why) {
        state_.messages.ShowWarning(why);
        return std::nullopt;
    };
    // Op-amps of lines the Datafile no longer has keep their figures in the file, unseen.
    NoiseSettings settings = fileSettings_;
    const auto temperature = EngValue(Std(EditBoxTemperature));
    if (!temperature || !(*temperature > -kZeroCelsiusInKelvin)) {
        return refuse("Temperature (\u00b0C): must be a number above -273.15.");
    }
    settings.temperatureCelsius = *temperature;
    for (int row = 0; row < TableOpAmps->rowCount(); ++row) {
        const int line = TableOpAmps->item(row, 0)->data(Qt::UserRole).toInt();
        const auto figure = [&](int column) {
            const auto value =
                EngValue(TableOpAmps->item(row, column)->text().trimmed().toStdString());
            return value && *value >= 0 ? value : std::nullopt;
        };
        const auto voltage = figure(kEnColumn);
        const auto current = figure(kInColumn);
        if (!voltage || !current) {
            return refuse("Op-amp of line " + std::to_string(line) +
                          ": en and in must be numbers not below 0 (10n, 1p).");
        }
        const OpAmpNoise noise{*voltage, *current};
        const OpAmpNoise defaults;
        // Only figures that differ from the defaults, or that the file holds, are kept.
        if (settings.opAmps.count(line) > 0 || noise.voltage != defaults.voltage ||
            noise.current != defaults.current) {
            settings.opAmps[line] = noise;
        }
    }
    return settings;
}

std::optional<NoiseRequest> TFormNoise::RequestFromControls() {
    const std::optional<FrequencyRange> range = bode_.RangeFromBoxes();
    if (!range) {
        return std::nullopt;
    }
    NoiseRequest request;
    request.refine = true; // the noise plot must not miss a peak of its own
    // The analyser's points, where its curve has the least density and more where it turns.
    const BodeCurve& curve = bode_.traces().current().curve;
    request.frequencies = curve.size() > 0
                              ? curve.frequency
                              : LogFrequencyGrid(*range, bode_.SpinBoxPointsPerDecade->value());
    if (CheckBoxVisibleBand->isChecked()) {
        const QCPRange view = bode_.Plot->frequencyView();
        request.band = view.lower > 0 && view.upper > view.lower
                           ? FrequencyRange{view.lower, view.upper}
                           : *range;
    } else {
        const FrequencyRangeReading band =
            ReadFrequencyRange(Std(EditBoxBandFrom), Std(EditBoxBandTo), kBandFromBox, kBandToBox);
        if (!band.range) {
            state_.messages.ShowWarning(band.problem);
            return std::nullopt;
        }
        request.band = *band.range;
    }
    request.weighting =
        ComboBoxWeighting->currentIndex() == 1 ? NoiseWeighting::A : NoiseWeighting::None;
    if (const int line = ComboBoxSourceLine->currentData().toInt(); line > 0) {
        request.sourceLine = line;
    }
    if (const std::string reference = Std(EditBoxReference); !reference.empty()) {
        const auto level = EngValue(reference);
        if (!level || !(*level > 0)) {
            state_.messages.ShowWarning("Reference (V rms): must be empty or a level above 0.");
            return std::nullopt;
        }
        request.referenceLevel = *level;
    }
    return request;
}

bool TFormNoise::Run() {
    if (calculation_.Running() || bode_.Computing()) {
        return false;
    }
    // Another Datafile brings its own .noi file; the same one changed behind the panel's back
    // (saved by an editor, or by another program) is read again with the figures typed in kept
    // by line, so the run solves the circuit as it stands.
    if (loaded_.path != state_.DatafilePath()) {
        LoadCurrentDatafile();
    }
    const std::optional<NoiseSettings> settings = SettingsFromControls();
    if (!settings) {
        return false;
    }
    if (!loaded_.IsCurrent(state_)) {
        loaded_.Load(state_);
        ShowSettings(*settings);
    }
    if (!loaded_.good) {
        state_.messages.ShowWarning(kDatafileErrorsWarning);
        return false;
    }
    std::optional<NoiseRequest> request = RequestFromControls();
    if (!request) {
        return false;
    }
    // Figures that differ from the file's are kept beside the Datafile; a failed save does not
    // stop the analysis, but says why.
    if (!SameSettings(*settings, fileSettings_)) {
        try {
            WriteNoiseFile(NoiseFilePath(loaded_.path), *settings, state_.shell.DatafileName);
            fileSettings_ = *settings;
        } catch (const KelvorError& error) {
            state_.messages.ShowError(error.what());
        }
    }

    ProgressBar->setValue(0);
    auto result = std::make_shared<std::optional<NoiseAnalysis>>();
    // The worker reads copies: the panel may load another circuit once this one is cancelled.
    const auto work = [this, result, circuit = loaded_.circuit, lines = loaded_.sourceLines,
                       settings = *settings, request = *request] {
        const AnalysisProgress progress = [this](int done, int expected) {
            return calculation_.Report([this, done, expected] {
                ProgressBar->setRange(0, expected);
                ProgressBar->setValue(done);
            });
        };
        *result = RunNoiseAnalysis(*circuit, lines, settings, request, progress);
        return (*result)->complete;
    };
    const auto finish = [this, result, request = *request,
                         temperature = settings->temperatureCelsius](CalculationEnd end) {
        if (end != CalculationEnd::Finished) {
            ProgressBar->setValue(0);
            if (end == CalculationEnd::Reset) {
                LabelTotals->setText("Cancelled: the results are as they were.");
            }
            return;
        }
        SetRunning(false);
        bode_.SetComputing(false);
        ProgressBar->setValue(ProgressBar->maximum());
        request_ = request;
        analysis_ = std::move(*result);
        analysedTemperature_ = temperature;
        highlighted_.reset();
        ShowResults();
    };
    calculation_.Start(work, finish);
    return true;
}

void TFormNoise::EnableControls(bool idle) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             ButtonRun, EditBoxTemperature, ComboBoxSourceLine, TableOpAmps, CheckBoxVisibleBand,
             ComboBoxWeighting, EditBoxReference, ButtonExportCsv, ButtonExportSensitivity}) {
        control->setEnabled(idle);
    }
    EditBoxBandFrom->setEnabled(idle && !CheckBoxVisibleBand->isChecked());
    EditBoxBandTo->setEnabled(idle && !CheckBoxVisibleBand->isChecked());
}

void TFormNoise::ShowResults() {
    const QSignalBlocker blocker(TableContributors);
    TableContributors->setRowCount(0);
    if (!analysis_) {
        LabelTotals->setText("Run to see the noise of the circuit over the band, and which "
                             "components make it.");
        ShowNoiseCurve();
        ShowAtFrequency(ShownFrequency());
        return;
    }
    const FrequencyRange& band = request_->band;
    LabelTotals->setText(TotalsText(*analysis_) +
                         QStringLiteral("\nBand %1 to %2%3, %4 \u00b0C")
                             .arg(Significant(band.start, "Hz"), Significant(band.end, "Hz"),
                                  request_->weighting == NoiseWeighting::A ? ", A-weighted" : "",
                                  EngText(analysedTemperature_)));
    if (analysis_->pointLimitReached) {
        LabelTotals->setText(LabelTotals->text() +
                             "\nThe noise curves reached the most points they may have before "
                             "they were smooth everywhere: between some points the densities may "
                             "differ from the lines drawn.");
    }
    for (const NoiseContributor& contributor : analysis_->band.ranked) {
        const int row = TableContributors->rowCount();
        TableContributors->insertRow(row);
        auto* name =
            new QTableWidgetItem(Text(analysis_->generators[contributor.generator].Name()));
        name->setData(Qt::UserRole, static_cast<qulonglong>(contributor.generator));
        TableContributors->setItem(row, 0, name);
        TableContributors->setItem(
            row, 1, new QTableWidgetItem(Significant(std::sqrt(contributor.power), "V")));
        TableContributors->setItem(row, 2, new QTableWidgetItem(Percent(contributor.share)));
        TableContributors->setItem(row, kAtCursorColumn, new QTableWidgetItem);
    }
    TableContributors->resizeColumnsToContents();
    ShowNoiseCurve();
    ShowAtFrequency(ShownFrequency());
}

void TFormNoise::ShowNoiseCurve() {
    bode_.Plot->setNoise(analysis_ ? std::optional(plot::MakePlotNoise(*analysis_, highlighted_))
                                   : std::nullopt);
}

void TFormNoise::ShowAtFrequency(double frequency) {
    if (!(frequency > 0) || !loaded_.good) {
        TableSensitivity->setRowCount(0);
        LabelSensitivity->setText("Sensitivity: point at the analyser's plots.");
        sensitivity_.reset();
        return;
    }
    long double at = frequency;
    if (analysis_ && !analysis_->points.empty()) {
        const std::vector<NoiseDensityPoint>& points = analysis_->points;
        std::size_t nearest = 0;
        for (std::size_t index = 1; index < points.size(); ++index) {
            if (std::fabs(std::log(points[index].frequency / frequency)) <
                std::fabs(std::log(points[nearest].frequency / frequency))) {
                nearest = index;
            }
        }
        at = points[nearest].frequency;
        const std::vector<long double> shares = SharesAt(points[nearest]);
        for (int row = 0; row < TableContributors->rowCount(); ++row) {
            const auto generator =
                TableContributors->item(row, 0)->data(Qt::UserRole).toULongLong();
            TableContributors->item(row, kAtCursorColumn)->setText(Percent(shares[generator]));
        }
        TableContributors->horizontalHeaderItem(kAtCursorColumn)
            ->setText("At " + Significant(at, "Hz"));
    }
    TableSensitivity->setRowCount(0);
    sensitivity_.reset();
    if (!isVisible()) {
        return; // solved when the panel is shown
    }
    try {
        sensitivity_ = RunSensitivityAnalysis(*loaded_.circuit, loaded_.sourceLines, at);
    } catch (const KelvorError& error) {
        // Said beside the table: a box at every move of the mouse would be in the way.
        LabelSensitivity->setText(Text(error.what()));
        return;
    }
    LabelSensitivity->setText("Sensitivity at " + Significant(at, "Hz") +
                              ": the change for a 1 % larger value, largest first.");
    for (const ValueSensitivity& value : sensitivity_->ranked) {
        const int row = TableSensitivity->rowCount();
        TableSensitivity->insertRow(row);
        TableSensitivity->setItem(row, 0, new QTableWidgetItem(QString::number(value.line)));
        // "R" for a resistor's one value, "B Beta" where a kind has several.
        const QString kind(QChar(value.kind));
        const QString name = Text(value.valueName);
        TableSensitivity->setItem(row, 1,
                                  new QTableWidgetItem(name == kind ? kind : kind + " " + name));
        TableSensitivity->setItem(row, 2, new QTableWidgetItem(EngText(value.value)));
        TableSensitivity->setItem(
            row, 3, new QTableWidgetItem(Significant(value.gainDbPerPercent, "", false)));
        TableSensitivity->setItem(
            row, 4, new QTableWidgetItem(Significant(value.phaseDegreesPerPercent, "", false)));
    }
    TableSensitivity->resizeColumnsToContents();
}

} // namespace kelvor::app
