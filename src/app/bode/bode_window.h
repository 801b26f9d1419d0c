// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/bode/bode_traces.h"
#include "app/common/long_calculation.h"
#include "app/state/app_state.h"
#include "plot/bode_plot.h"

#include <QWidget>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace kelvor::app {

// The analyser and its panels show their progress this often while they compute: the many
// progress reports of a computation cost little.
inline constexpr int kAnalyserProgressSliceMs = 20;
// The counts the analyser and its panel take are typed in freely up to this; one above the
// computation's limit is answered with a message at Compute or Run, not cut down unseen.
inline constexpr int kSpinBoxCeiling = 999999;

class TFormNoise;
class TFormTolerances;

// The Bode analyser: gain, phase, group delay, Zin and Zout of the current Datafile over a
// range of the user's choice, with a cursor readout, automatic and pinned markers, other
// circuits laid over it, and export. A resizable window that does not block the others.
class TFormBode : public QWidget {
    Q_OBJECT
public:
    explicit TFormBode(AppState& state, QWidget* parent = nullptr);

    // Shows the window and computes the current Datafile.
    void ShowForCurrentDatafile();

    void ButtonComputeClick();
    void ButtonCancelClick();
    void ButtonFitClick();
    void ButtonRefineClick();
    void ButtonAddDatafileClick();
    void ButtonKeepClick();
    void ButtonRemoveTraceClick();
    void ButtonStepClick();
    void ButtonRemoveMarkerClick();
    void ButtonExportCsvClick();
    void ButtonExportPictureClick();
    void ButtonPrintClick();
    void ButtonTolerancesClick();
    void ButtonNoiseClick();

    // While a computation runs the range, the computing buttons and the export are locked and
    // Cancel is enabled; the tolerance panel locks them too while it runs.
    void SetComputing(bool computing);
    bool Computing() const { return computing_; }
    // The range the boxes hold; none, after a message naming the box and the reason, when a
    // frequency or the points per decade cannot be used.
    std::optional<FrequencyRange> RangeFromBoxes();

    TFormTolerances* tolerances() const { return tolerances_; }
    TFormNoise* noise() const { return noise_; }

    const BodeTraceSet& traces() const { return traces_; }
    const std::vector<double>& pinnedMarkers() const { return pinned_; }

    QLineEdit* EditBoxStart = nullptr;
    QLineEdit* EditBoxEnd = nullptr;
    QSpinBox* SpinBoxPointsPerDecade = nullptr;
    QPushButton* ButtonCompute = nullptr;
    QPushButton* ButtonCancel = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QCheckBox* CheckBoxGain = nullptr;
    QCheckBox* CheckBoxPhase = nullptr;
    QCheckBox* CheckBoxUnwrapped = nullptr;
    QCheckBox* CheckBoxGroupDelay = nullptr;
    QCheckBox* CheckBoxZin = nullptr;
    QCheckBox* CheckBoxZout = nullptr;
    QCheckBox* CheckBoxAutoMarkers = nullptr;
    QCheckBox* CheckBoxNoise = nullptr;
    plot::BodePlot* Plot = nullptr;
    QLabel* LabelReadout = nullptr;
    QTableWidget* TableMarkers = nullptr;
    QPushButton* ButtonRemoveMarker = nullptr;
    QListWidget* ListTraces = nullptr;
    QPushButton* ButtonAddDatafile = nullptr;
    QPushButton* ButtonKeep = nullptr;
    QPushButton* ButtonRemoveTrace = nullptr;
    QPushButton* ButtonStep = nullptr;
    QPushButton* ButtonFit = nullptr;
    QPushButton* ButtonRefine = nullptr;
    QPushButton* ButtonExportCsv = nullptr;
    QPushButton* ButtonExportPicture = nullptr;
    QSpinBox* SpinBoxPictureScale = nullptr;
    QPushButton* ButtonPrint = nullptr;
    QPushButton* ButtonTolerances = nullptr;
    QPushButton* ButtonNoise = nullptr;

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* BuildRangeRow();
    QWidget* BuildSidePanel();
    QPushButton* NewButton(QWidget* parent, const char* caption, void (TFormBode::*handler)());
    QLayout* BuildQuantityChecks(QWidget* panel);
    QWidget* BuildTraceList(QWidget* panel);
    QLayout* BuildTraceButtons(QWidget* panel);
    QLayout* BuildExportButtons(QWidget* panel);
    // Starts solving every curve that has a circuit over the range; afterwards follows once
    // the curves are shown. Cancelled or failed, every curve stays as it was.
    void Compute(const FrequencyRange& range, std::function<void()> afterwards);
    // Parses the current Datafile as it is now, so that an edit since the last computation
    // counts; false, after the Graphs menu's warning, when it has errors.
    bool ReloadCurrentDatafile();
    // Another Datafile became current, or the current one was saved: the first curve takes it
    // (computed again when the window is open). A computation running then is cancelled and
    // the change taken once it has stopped, so no curve of the old circuit is shown as new.
    void FollowCurrentDatafile();
    // The boxes take the range last computed for the current Datafile, when one is kept.
    void ShowRememberedRange();
    void RememberRange();
    void ShowTraces();
    void ShowMarkers();
    void ShowTraceList();
    void PlotCursorMoved(double frequency);
    void PlotClickedAt(double frequency);
    void ShowQuantities();
    // The noise panel, made hidden when first needed: it computes the noise plot's curves.
    TFormNoise& NoisePanel();
    // The noise plot or the noise panel is shown: the noise follows the curves, and the CSV
    // export writes it beside them.
    bool NoiseFollowsCurves() const;
    // Title, Datafile and date, as pictures and printouts carry them.
    QString HeadingText() const;
    // The index of the computed point of the first visible curve nearest to the frequency.
    std::optional<std::pair<const BodeCurve*, std::size_t>> NearestPoint(double frequency) const;

    AppState& state_;
    BodeTraceSet traces_;
    std::vector<double> pinned_;
    // What the curves were last computed over, as the exports say it.
    FrequencyRange computedRange_;
    int computedDensity_ = 0;
    bool rangeFaultReported_ = false; // once per run, not at every computation
    bool computing_ = false;
    bool followPending_ = false; // the Datafile changed while a computation ran
    LongCalculation calculation_;
    TFormTolerances* tolerances_ = nullptr; // made when first opened
    TFormNoise* noise_ = nullptr;
};

} // namespace kelvor::app
