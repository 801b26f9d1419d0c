// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/state/analysis_mode.h"

#include <QColor>
#include <QImage>
#include <QMainWindow>
#include <QString>
#include <filesystem>

class QAction;
class QLabel;
class QMenu;
class QPrinter;

namespace kelvor::app {

struct AppState;

// The graph window: the picture that the amplitude graph, the square-wave and pulse plots and
// the test pattern are drawn on, with saving, printing and the ways back to the menus. It is
// shown without waiting; AnalysisMode says which picture it carries. The picture itself lives
// in the shared graph state, so that it survives between showings and curves can be
// superimposed.
class TFormVGA : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormVGA(AppState& state, QWidget* parent = nullptr);
    ~TFormVGA() override;

    // Sizes and places the picture control; an empty picture becomes white at this size.
    void PlaceGraphImage(int width, int height, int left, int top);
    // The picture to draw on: the shared picture, made a white one of the control's size when
    // it is empty or of another size. Call ShowPicture() after drawing.
    QImage& Picture();
    void ShowPicture();
    QSize PictureSize() const;

    // Square-wave and pulse plots hide the File and Repeat menus while they draw.
    void SetCommandMenusVisible(bool visible);

    void SaveAsClick();
    void PrintClick();
    void PageSetupClick();
    void DisplayAgainClick();
    void CalculateAgainClick();
    void MainMenuClick();

    QLabel* ImageVGA = nullptr;
    QMenu* MenuFile = nullptr;
    QMenu* MenuRepeat = nullptr;
    QAction* OptionKeepGreyBorder = nullptr;

signals:
    // "&Display Again" for a square-wave or pulse plot: their windows show themselves.
    void DisplayAgainRequested(AnalysisMode mode);
    // Every close, after the picture is saved: the square-wave, pulse and setup windows close
    // with the plot they opened.
    void GraphClosed(AnalysisMode mode);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void BuildMenus();
    void FormShow();
    void FormClose();
    void DrawAmplitude();
    void DrawTestPatternPicture();
    void SetClientSize(int width, int height);
    QImage ReadBoardPicture(const std::filesystem::path& path);
    bool SavePictureReported(const std::filesystem::path& path);
    void PrintPicture();

    AppState& state_;
    QWidget* clientArea_ = nullptr;
    QColor dialogColour_ = Qt::black; // the colour dialog opens at the colour it held last
};

} // namespace kelvor::app
