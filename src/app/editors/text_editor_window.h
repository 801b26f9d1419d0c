// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/editors/datafile_editor.h"

namespace kelvor::app {

// The plain text editor: the whole Datafile, header lines included, as text. Closing after a
// save writes a new line 1 with the Datafile's name and the revision raised by one.
class TFormEdt : public DatafileEditor {
    Q_OBJECT
public:
    explicit TFormEdt(AppState& state, QWidget* parent = nullptr);

    QPlainTextEdit* MemoBox = nullptr;

protected:
    void FillControls(const std::vector<std::string>& fileLines) override;
    std::string ComposeDatafile() override;
    bool AnyModified() const override;
    void ClearModified() override;
    std::string ClosingTitleLine() const override;
    void FormKeyPress(QKeyEvent* event, QObject* target) override;
    void FormKeyUp(QKeyEvent* event) override;
};

} // namespace kelvor::app
