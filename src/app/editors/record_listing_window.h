// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/state/app_state.h"

#include <QDialog>

class QPlainTextEdit;

namespace kelvor::app {

// Shows what the parser made of the Datafile: every record of the record file in absolute
// units, in a fixed-pitch font since the listing is laid out in columns.
class TFormChk : public QDialog {
    Q_OBJECT
public:
    explicit TFormChk(AppState& state, QWidget* parent = nullptr);

    QPlainTextEdit* TextBox = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void LoadListing();

    AppState& state_;
};

} // namespace kelvor::app
