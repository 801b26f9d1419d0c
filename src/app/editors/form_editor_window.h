// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/editors/datafile_editor.h"

#include <functional>

class QLineEdit;

namespace kelvor::app {

// The form editor behind the main window's Edit command: the header in boxes, the component
// lines as text. Save writes a fresh standard header, so the header lines are never edited by
// hand.
class TFormEdt2 : public DatafileEditor {
    Q_OBJECT
public:
    explicit TFormEdt2(AppState& state, QWidget* parent = nullptr);

    QLineEdit* EditBoxFileMessage = nullptr; // the description
    QLineEdit* EditBoxRevNo = nullptr;
    QLineEdit* EditBoxFileDate = nullptr;
    QLineEdit* EditBoxNodeIn = nullptr;
    QLineEdit* EditBoxNodeOut = nullptr;
    QLineEdit* EditBoxNodeCom = nullptr;
    QPlainTextEdit* MemoBoxEDT2 = nullptr;
    QLabel* PanelHint5 = nullptr; // the star marker over the standard hint's "*"

protected:
    void PrepareOpening() override;
    void FillControls(const std::vector<std::string>& fileLines) override;
    std::string ComposeDatafile() override;
    bool AnyModified() const override;
    void ClearModified() override;
    std::string ClosingTitleLine() const override;
    void ShowStandardHint() override;
    void ShowNewFileHint() override;
    void FormKeyPress(QKeyEvent* event, QObject* target) override;

private:
    void BuildHeader(QWidget* client);
    void BuildHintStrip(QWidget* client);
    void PlaceStarMarker();
    void LoadBody(const std::vector<std::string>& fileLines);

    bool standardHintShown_ = false;
};

} // namespace kelvor::app
