// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "stepping/stepped_circuits.h"

#include <QDialog>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace kelvor::app {

// The analyser's Step...: one value of one component line, and the values it takes: a list, an
// evenly spaced range (linear or in log), or the E12 or E24 values between two bounds.
class TFormStep : public QDialog {
    Q_OBJECT
public:
    TFormStep(std::vector<SteppableLine> lines, QWidget* parent);

    // The step the controls hold; none, with the reason shown in the dialog, when they do not
    // make one.
    std::optional<StepRequest> Request();
    // The step list as kelvor-cli bode --step writes it.
    QString ListText() const;

    QComboBox* ComboBoxLine = nullptr;
    QSpinBox* SpinBoxValue = nullptr;
    QComboBox* ComboBoxForm = nullptr;
    QLineEdit* EditBoxList = nullptr;
    QLineEdit* EditBoxFrom = nullptr;
    QLineEdit* EditBoxTo = nullptr;
    QSpinBox* SpinBoxCount = nullptr;
    QLabel* LabelProblem = nullptr;

private:
    void ShowLineValues();
    void ShowForm();

    std::vector<SteppableLine> lines_;
};

} // namespace kelvor::app
