// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/frequency_scale.h"
#include "app/common/long_calculation.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace kelvor::app {

struct AppState;

// The first step of an amplitude graph: one of 52 fixed frequency ranges or the user's own, then
// the 620-column sweep with its progress bar and Reset, then the graph parameter window.
class TFormFreqScales : public QDialog {
    Q_OBJECT
public:
    explicit TFormFreqScales(AppState& state, QWidget* parent = nullptr);

    // Starts the sweep, or asks the running one to stop after its current column.
    void ButtonContinueOrResetClick();
    void ButtonCloseClick();
    void ReadChoice();

    bool SweepRunning() const { return sweep_.Running(); }
    // The last column the latest sweep computed, abandoned or not (0 before any sweep).
    int LastSweptColumn() const { return lastSweptColumn_; }

    // Index is the FCode.
    std::array<QRadioButton*, kHighestFCode + 1> RadioButtons{};
    QButtonGroup* RadioGroupScales = nullptr;
    QGroupBox* RadioGroup1Decade = nullptr;
    QGroupBox* RadioGroup2Decades = nullptr;
    QGroupBox* RadioGroup3decades = nullptr;
    QGroupBox* RadioGroup5Decades = nullptr;
    QGroupBox* RadioGroup6Decades = nullptr;
    QGroupBox* RadioGroupUserDef = nullptr;
    QLabel* StaticTextUserDefined = nullptr;
    QLabel* StaticTextSF = nullptr;
    QLabel* StaticTextEF = nullptr;
    QLabel* StaticTextUHz = nullptr;
    QLineEdit* EditBoxFS = nullptr;
    QLineEdit* EditBoxFF = nullptr;
    QPushButton* ButtonContinueOrReset = nullptr;
    QPushButton* ButtonClose = nullptr;
    QLabel* LabelSelectFreq = nullptr;
    QProgressBar* ProgressBar = nullptr;

    // The window is left through its buttons only: no close box, and Escape does nothing.
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void FormShow();
    void SetChoosing(bool choosing);
    bool ChosenScale(FrequencyScale& scale);
    void RunSweep(const FrequencyScale& scale);
    void ShowProgress(int column);

    AppState& state_;
    LongCalculation sweep_;
    int lastSweptColumn_ = 0;
};

} // namespace kelvor::app
