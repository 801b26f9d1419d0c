// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kelvor::app {

struct AppState;

// Where a printed graph goes on the page and how large it is: the left and top margins in
// inches and the scale in percent of the picture's pixels, with the resulting print size shown
// while the scale is typed. The values are kept in the settings file when the window closes.
class TFormGraphSetUp : public QDialog {
    Q_OBJECT
public:
    explicit TFormGraphSetUp(AppState& state, QWidget* parent = nullptr);

    void EditBoxScaleChange();

    QLineEdit* EditBoxOriginX = nullptr;
    QLineEdit* EditBoxOriginY = nullptr;
    QLineEdit* EditBoxScale = nullptr;
    QLabel* LabelMargins = nullptr;
    QLabel* LabelScale = nullptr;
    QLabel* LabelPrintSize = nullptr;
    QPushButton* ButtonClose = nullptr;

    // Every way of closing (the button, the close box, Escape) ends here.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void FormShow();
    void FormClose();
    QSize GraphPictureSize() const;

    AppState& state_;
    std::string lastAcceptedScale_;
    bool restoringScale_ = false;
};

} // namespace kelvor::app
