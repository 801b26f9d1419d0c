// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/common/long_calculation.h"
#include "app/state/analysis_mode.h"
#include "app/state/help_topics.h"
#include "render/time_response_graph.h"
#include "timeresp/harmonic_table.h"

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QButtonGroup;
class QCheckBox;
class QFont;
class QFrame;
class QGroupBox;
class QImage;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace kelvor::app {

struct AppState;
class TFormVGA;

// What the square-wave and pulse windows do not share: texts, positions and the few numbers
// of their own.
struct TimeResponseMenuLayout {
    const char* objectName;
    AnalysisMode analysisMode;
    const char* captionPrefix;
    HelpPlace helpPlace;
    int baseFontPixels;
    bool sizeable;

    const char* entryPrompt;
    int entryPromptLeft;
    const char* valueCaption;
    QRect valueCaptionRect;
    int valueMaxLength;
    const char* invalidValueMessage;

    const char* choiceFrameCaption;
    QRect choiceFrameRect;
    int choiceFrameFontPixels;
    std::array<const char*, 3> choiceCaptions; // High, Medium, Low
    std::array<int32_t, 3> choiceGroups;
    std::array<int, 3> choiceFontPixels;
    int choiceLeft;

    const char* gainCaption;
    QRect gainCaptionRect;
    QRect gainBoxRect;
    const char* boldCaption;
    QPoint labelBold;
    QPoint checkBold;
    QPoint labelShowOrig;
    QPoint checkShowOrig;
    QRect progressRect;
    int boxFrameTop;

    int32_t gainSpread;
    // The progress bar moves one step every 4 x groups harmonics, `progressLead` harmonics
    // before the end of each run of them.
    int progressLead;
};

// The shared flow of the square-wave and pulse windows: entry (the value and the choice of
// harmonics), calculation (every harmonic solved once, with "&Reset"), and graph parameters
// (the plot drawn and redrawn on the graph window from the kept table). Each twin supplies its
// layout, its setting, its fundamental and its picture.
class TimeResponseMenu : public QDialog {
    Q_OBJECT
public:
    TimeResponseMenu(AppState& state, const TimeResponseMenuLayout& layout, QWidget* parent);

    void ButtonContinueOrResetClick();
    void ButtonPlotGraphClick();
    void ButtonCloseClick();
    void SaveChoices();

    // The number of groups of 256 harmonics chosen: the Resolution or the Expansion.
    int32_t Groups() const { return groups_; }
    const HarmonicTable& Table() const { return table_; }
    long double DefaultGain() const { return defaultGain_; }
    long double PlotGain() const { return plotGain_; }
    bool Running() const { return calculation_.Running(); }
    bool ResetRequested() const { return calculation_.ResetRequested(); }
    // The plot is being drawn onto the graph window.
    bool Plotting() const { return plotting_; }
    // Harmonics solved by the latest calculation, finished or not.
    int SolvedHarmonics() const { return solved_; }

    QLabel* LabelSelect = nullptr;
    QLabel* StaticTextValue = nullptr;
    QLineEdit* EditBoxValue = nullptr;
    QGroupBox* RadioGroupChoice = nullptr;
    QRadioButton* RadioButtonHigh = nullptr;
    QRadioButton* RadioButtonMedium = nullptr;
    QRadioButton* RadioButtonLow = nullptr;
    QPushButton* ButtonContinueOrReset = nullptr;
    QPushButton* ButtonPlotGraph = nullptr;
    QPushButton* ButtonClose = nullptr;
    QLabel* StaticTextGain = nullptr;
    QLineEdit* EditBoxGraphGain = nullptr;
    QLabel* LabelBold = nullptr;
    QCheckBox* CheckBoxBold = nullptr;
    QLabel* LabelShowOrig = nullptr;
    QCheckBox* CheckBoxShowOrig = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QGroupBox* RadioGroupGraphBoxColour = nullptr;
    QRadioButton* RadioButtonBlack = nullptr;
    QRadioButton* RadioButtonGrey = nullptr;
    QRadioButton* RadioButtonNone = nullptr;
    QFrame* BevelEdge = nullptr;

    // The window is left through its buttons, or with the graph window: no close box, and
    // Escape does nothing.
    void reject() override {}

protected:
    // The setting that keeps the typed value (SqFStr or WidthStr).
    virtual std::string& ValueSetting() = 0;
    virtual bool& ReopenFlag() = 0;
    virtual TimeResponseKind Kind() const = 0;
    // The fundamental frequency of the harmonics for a value above 0.
    virtual long double Fundamental(long double value) const = 0;
    // The renderer's drawing of this kind of plot; a worker draws with it.
    using PlotDrawing = void (*)(QImage&, const render::TimeResponsePlotInput&,
                                 const HarmonicTable&, const render::PlotPause&);
    virtual PlotDrawing Drawing() const = 0;
    // Called first when the window shows.
    virtual void BeforeShow() {}

    AppState& state_;

    void showEvent(QShowEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void BuildEntryControls(const QFont& controls);
    void BuildButtons(const QFont& controls);
    void BuildGraphParameterControls(const QFont& controls);
    void FormShow();
    void SetEntryLocked(bool locked);
    void ShowGraphParameters();
    void ShowControlsOfStage(bool graphParameters);
    void SelectBoxColour();
    // Starts solving the harmonics; the graph parameters follow once every one is solved.
    void Calculate(long double value);
    void Plot(int32_t graphGain);
    TFormVGA& PrepareGraphWindow();
    void GraphClosed(AnalysisMode mode);
    void DisplayAgain(AnalysisMode mode);

    const TimeResponseMenuLayout& layout_;
    QButtonGroup* choiceButtons_ = nullptr;
    QButtonGroup* boxButtons_ = nullptr;
    int32_t groups_;
    HarmonicTable table_;
    long double defaultGain_ = 0;
    long double plotGain_ = 0;
    int32_t graphGain_ = 0;
    LongCalculation calculation_;
    LongCalculation drawing_;
    int solved_ = 0;
    bool connectedToGraph_ = false;
    bool plotting_ = false;
};

} // namespace kelvor::app
