// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QImage>

class QLabel;

namespace kelvor::app {

struct AppState;

// The image processing window: brightens the shadows of the photograph "102_0251.bmp" in the
// working folder each time it is shown, saves the brightened copy beside it and shows it. The
// working bitmap stays between showings.
class TFormImgProc : public QDialog {
    Q_OBJECT
public:
    explicit TFormImgProc(AppState& state, QWidget* parent = nullptr);

    // Loads, brightens and saves the photograph; nothing happens when it is missing.
    void FormShow();
    const QImage& WorkingBitmap() const { return workingBitmap_; }

    QLabel* ImageImgProc = nullptr;

signals:
    // Before each column, counted from 1, with window events handled after it.
    void ColumnReached(int column);
    // The brightened copy is saved (or could not be), and the peak is about to be shown.
    void ProcessingFinished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowWorkingBitmap();

    AppState& state_;
    QImage workingBitmap_;
    bool processing_ = false;
};

} // namespace kelvor::app
