// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace kelvor::app {

struct AppState;

// The one page option of text printing: whether the body of a printed Datafile is bold. The
// choice is kept in the settings file when the window closes.
class TFormPSet : public QDialog {
    Q_OBJECT

public:
    explicit TFormPSet(AppState& state, QWidget* parent = nullptr);

    QCheckBox* CheckBoxBold = nullptr;
    QPushButton* ButtonClose = nullptr;

    // Every way of closing (the button, the close box, Escape) ends here.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void FormClose();

    AppState& state_;
};

} // namespace kelvor::app
