// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kelvor::app {

struct AppState;

// After a sweep: the range, the largest and smallest gain, and the dB scale, grid, colour, bold
// and superimposing of the next amplitude graph. "&Continue" keeps the choices and shows the
// graph window.
//
// The graph picture is cleared by making it a null QImage; the graph window treats a null
// picture as a white one of its own size.
class TFormFResults : public QDialog {
    Q_OBJECT
public:
    explicit TFormFResults(AppState& state, QWidget* parent = nullptr);

    void ButtonContinueClick();
    void CheckBoxSuperimposeClick();
    void CheckBoxBoldClick();

    QLabel* StaticTextGridLines = nullptr;
    QLineEdit* EditBoxFreqRange = nullptr;
    QLineEdit* EditBoxMaxdB = nullptr;
    QLineEdit* EditBoxMindB = nullptr;
    QLineEdit* EditBoxTop = nullptr;
    QListWidget* ListBoxGraphScale = nullptr;
    QCheckBox* CheckBoxGridLines = nullptr;
    QCheckBox* CheckBoxColour = nullptr;
    QCheckBox* CheckBoxBold = nullptr;
    QCheckBox* CheckBoxSuperimpose = nullptr;
    QPushButton* ButtonContinue = nullptr;

    // The window is left by "&Continue" only: no close box, and Escape does nothing.
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void ConnectGraphChoices();
    void FormShow();
    void ReloadSettings();
    void FillScaleList();
    void ClearPicture();

    AppState& state_;
};

} // namespace kelvor::app
