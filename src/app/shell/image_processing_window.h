// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/common/long_calculation.h"
#include "render/image_brightening.h"

#include <QDialog>
#include <QImage>
#include <filesystem>
#include <string>

class QLabel;

namespace kelvor::app {

struct AppState;

// The image processing window: brightens the shadows of the photograph "102_0251.bmp" in the
// working folder each time it is shown, saves the brightened copy beside it and shows it. The
// work runs on a thread of its own, so that the windows stay live meanwhile. The working bitmap
// stays between showings.
class TFormImgProc : public QDialog {
    Q_OBJECT
public:
    explicit TFormImgProc(AppState& state, QWidget* parent = nullptr);

    // Starts reading, brightening and saving the photograph; nothing happens when it is missing
    // or one is being brightened. A picture that cannot be read is reported when the work ends.
    void FormShow();
    bool Processing() const { return calculation_.Running(); }
    const QImage& WorkingBitmap() const { return workingBitmap_; }

    QLabel* ImageImgProc = nullptr;

signals:
    // Each column, counted from 1, as the brightening reaches it.
    void ColumnReached(int column);
    // The brightening has ended: the copy is saved (or could not be), and the peak is about to
    // be shown.
    void ProcessingFinished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // What the worker leaves for the window thread, read once it has ended.
    struct Brightened {
        bool loaded = false; // the photograph was read, so the brightening ran
        QImage picture;
        render::BrighteningResult result;
        // Why the photograph could not be read or its copy saved.
        std::string fault;
    };

    void ShowWorkingBitmap();
    bool BrightenAndSave(const std::filesystem::path& source, const std::filesystem::path& folder);
    void ProcessingEnded(CalculationEnd end);

    AppState& state_;
    QImage workingBitmap_;
    Brightened brightened_;
    // Last, so destroyed first: a brightening still running when the window goes is waited for
    // while what it uses is still there.
    LongCalculation calculation_;
};

} // namespace kelvor::app
