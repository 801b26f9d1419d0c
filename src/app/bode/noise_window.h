// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/bode/analyser_panel.h"
#include "app/state/app_state.h"
#include "noise/noise_analysis.h"
#include "noise/noise_csv.h"
#include "sensitivity/sensitivity.h"

#include <QWidget>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace kelvor::app {

class TFormBode;

// The Bode analyser's noise panel: the temperature and the op-amps' input noise (kept in the
// Datafile's .noi file), the resistor that stands for the source, the band, its weighting and a
// reference level. Run computes the current Datafile's noise at the analyser's frequencies and
// draws it in the analyser's noise plot; the panel shows the band totals, the signal-to-noise
// ratio, the noise figure and every generator ranked by its share, and the sensitivity of the
// gain and phase to every component value at the analyser's cursor.
class TFormNoise : public AnalyserPanel {
    Q_OBJECT
public:
    TFormNoise(AppState& state, TFormBode& bode);

    void ShowForCurrentDatafile();
    // Starts computing the noise of the current Datafile with the panel's settings; false when
    // refused (after a message). Cancelled or failed, the results stay as they were.
    bool Run();
    void ButtonRunClick() override { Run(); }
    void ButtonExportCsvClick();
    void ButtonExportSensitivityClick();

    std::optional<NoiseSettings> SettingsFromControls();
    // The request of the last finished run, with its analysis.
    const std::optional<NoiseRequest>& request() const { return request_; }
    const std::optional<NoiseAnalysis>& analysis() const { return analysis_; }
    const std::optional<SensitivityAnalysis>& sensitivity() const { return sensitivity_; }
    const std::vector<int>& sourceLines() const { return loaded_.sourceLines; }
    // The last run's densities as the analyser's CSV writes them beside its curves, or none.
    std::optional<CsvColumns> ColumnsBesideCurves() const;

    QLineEdit* EditBoxTemperature = nullptr;
    QComboBox* ComboBoxSourceLine = nullptr;
    QTableWidget* TableOpAmps = nullptr; // line, op-amp, en, in
    QCheckBox* CheckBoxVisibleBand = nullptr;
    QLineEdit* EditBoxBandFrom = nullptr;
    QLineEdit* EditBoxBandTo = nullptr;
    QComboBox* ComboBoxWeighting = nullptr;
    QLineEdit* EditBoxReference = nullptr;
    QLabel* LabelTotals = nullptr;
    QTableWidget* TableContributors = nullptr; // generator, band rms, share, share at cursor
    QLabel* LabelSensitivity = nullptr;
    QTableWidget* TableSensitivity = nullptr; // line, component, value, dB/%, deg/%
    QPushButton* ButtonExportCsv = nullptr;
    QPushButton* ButtonExportSensitivity = nullptr;

protected:
    void EnableControls(bool idle) override;
    // Takes the new circuit and its settings file, and drops the old results.
    void TakeCurrentDatafile() override;

private:
    QWidget* BuildSettings();
    QWidget* BuildResults();
    void LoadCurrentDatafile();
    void ShowSettings(const NoiseSettings& settings);
    std::optional<NoiseRequest> RequestFromControls();
    void ShowResults();
    void ShowNoiseCurve();
    // The shares and the sensitivities at the computed frequency nearest to `frequency`.
    void ShowAtFrequency(double frequency);
    // The analyser's cursor, else the middle of the computed range; 0 when nothing is computed.
    double ShownFrequency() const;

    NoiseSettings fileSettings_; // as the .noi file holds them
    std::optional<NoiseRequest> request_;
    std::optional<NoiseAnalysis> analysis_;
    long double analysedTemperature_ = kDefaultNoiseTemperature;
    std::optional<std::size_t> highlighted_; // the generator drawn thick
    std::optional<SensitivityAnalysis> sensitivity_;
};

} // namespace kelvor::app
