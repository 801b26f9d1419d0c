// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/state/analysis_mode.h"

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace kelvor::app {

struct AppState;
class SystemFacts;

// The setup window: the version and the facts about this computer, starting another program or
// a terminal, the hidden button that opens the text editor, and the diagnostic commands that
// test mode (Ctrl+Alt+T) shows. The facts are read once, when the window is created.
class TFormSetup : public QDialog {
    Q_OBJECT
public:
    explicit TFormSetup(AppState& state, QWidget* parent = nullptr);
    TFormSetup(AppState& state, QWidget* parent, const SystemFacts& facts);

    bool TestMode() const { return testMode_; }
    const QImage& Logo() const { return logo_; }

    void ButtonShellClick();
    void ButtonEDTClick();
    void ButtonTimeRespClick();
    void ButtonDOSClick();
    void ButtonTestPatternClick();
    void ButtonModifyGraphDateClick();
    void ButtonBigPCBClick();
    void ButtonTest1Click();
    void ButtonTest2Click();
    void ButtonTest3Click();
    void ButtonTestWinVerClick();
    void ButtonSetFileDateClick();
    void ButtonImageProcClick();

    QLabel* LabelNoNodesLimit = nullptr;
    QLabel* ImageLogo = nullptr;
    QPushButton* BitBtnClose = nullptr;
    QPushButton* ButtonShell = nullptr;
    QPushButton* ButtonEDT = nullptr;
    QPushButton* ButtonImageProc = nullptr;
    // Every control that test mode shows.
    std::vector<QWidget*> diagnosticControls;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    void FormCreate(const SystemFacts& facts);
    void BuildInformationLabels(const SystemFacts& facts);
    void BuildButtons();
    void BuildDiagnosticControls();
    QPushButton* DiagnosticButton(const char* name, const char* caption, int left, int top,
                                  void (TFormSetup::*handler)());
    void ShowDiagnosticControls();
    void FormClose();
    void ConnectToGraphWindow();
    void GraphClosed(AnalysisMode mode);

    AppState& state_;
    std::string userName_;
    std::string operatingSystem_;
    bool testMode_ = false;
    bool connectedToGraph_ = false;
    bool connectedToImageWindow_ = false;
    QImage logo_;
    // Window pixels that "TEST 1" has set black; painted over the background from then on.
    std::vector<QPoint> blackenedPixels_;
};

} // namespace kelvor::app
