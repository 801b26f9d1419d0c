// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/bode/analyser_panel.h"
#include "app/state/app_state.h"
#include "tolerance/tolerance_analysis.h"

#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QCustomPlot;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace kelvor::app {

class TFormBode;

// The Bode analyser's tolerance panel: a tolerance per component kind and per component line,
// the distribution, runs and seed, and a gain mask, all kept in the Datafile's .tol file; Run
// solves the Monte Carlo runs and the worst case over the analyser's range and lays their
// spread under its gain and phase curves. Shows the spread of the automatic markers, the
// mask's yield and a histogram of the gain at the analyser's cursor.
class TFormTolerances : public AnalyserPanel {
    Q_OBJECT
public:
    TFormTolerances(AppState& state, TFormBode& bode);

    // Reads the current Datafile's component lines and its .tol file into the controls.
    void ShowForCurrentDatafile();
    void ButtonRunClick() override;
    void ButtonAddMaskRowClick();
    void ButtonRemoveMaskRowClick();
    void ButtonDefaultsClick();

    // The settings the controls hold; none, after a message, when one holds a bad value.
    std::optional<ToleranceSettings> SettingsFromControls();
    const std::optional<ToleranceAnalysis>& analysis() const { return analysis_; }

    QTableWidget* TableKinds = nullptr; // kind, tolerance
    QComboBox* ComboBoxDistribution = nullptr;
    QSpinBox* SpinBoxRuns = nullptr;
    QLineEdit* EditBoxSeed = nullptr;
    QTableWidget* TableComponents = nullptr; // kind, nodes, values, tolerance (empty: the kind's)
    QTableWidget* TableMask = nullptr;       // from, to, lowest, highest
    QPushButton* ButtonAddMaskRow = nullptr;
    QPushButton* ButtonRemoveMaskRow = nullptr;
    QPushButton* ButtonDefaults = nullptr;
    QCheckBox* CheckBoxShowSpread = nullptr;
    QCheckBox* CheckBoxFailingRuns = nullptr;
    QTableWidget* TableSpreads = nullptr; // marker, nominal, mean, sigma, min, max, runs
    QLabel* LabelYield = nullptr;
    QLabel* LabelHistogram = nullptr;
    QCustomPlot* PlotHistogram = nullptr;

protected:
    void EnableControls(bool idle) override;
    // Takes the new circuit and its settings file, and drops the old results.
    void TakeCurrentDatafile() override;

private:
    QWidget* BuildSettings();
    QWidget* BuildResults();
    void LoadCurrentDatafile();
    void ShowSettings(const ToleranceSettings& settings);
    void ShowResults();
    void ShowSpread();
    // The histogram of the gain at the computed frequency nearest to `frequency`.
    void ShowHistogram(double frequency);

    std::map<std::string, long double> unshownLines_; // overrides of lines not in the Datafile
    std::optional<ToleranceAnalysis> analysis_;
    ToleranceSettings analysedSettings_;
};

} // namespace kelvor::app
