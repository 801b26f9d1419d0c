// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/common/event_wait.h"
#include "app/state/app_state.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace kelvor::app {

// The single-frequency response: one frequency in, gain, phase, Zin and Zout out, and a table of
// stored results that can be printed.
class TFormResponse : public QDialog {
    Q_OBJECT
public:
    explicit TFormResponse(AppState& state, QWidget* parent = nullptr);

    void ButtonRespClick();
    void ButtonStoreResultClick();
    void ButtonClearClick();
    void ButtonPrintClick();

    QLineEdit* EditBoxFreq = nullptr;
    QLineEdit* EditBoxGain = nullptr;
    QLineEdit* EditBoxPhase = nullptr;
    QLineEdit* EditBoxZin = nullptr;
    QLineEdit* EditBoxZout = nullptr;
    QCheckBox* CheckBoxResponse = nullptr;
    QCheckBox* CheckBoxBold = nullptr;
    QPushButton* ButtonResp = nullptr;
    QPushButton* ButtonClear = nullptr;
    QPushButton* ButtonStoreResult = nullptr;
    QPushButton* ButtonPrint = nullptr;
    QTextEdit* RichEditBoxDisplay = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildButtons(QWidget* panel);
    void ClearResults();
    void FocusFrequency();
    void AddTableLine(const std::string& text, int pointSize);
    bool ComputeAndShow(long double frequency);

    AppState& state_;
    bool ResponseHeaderPending = true;
    Stopwatch stopwatch_;
};

} // namespace kelvor::app
