// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell/image_processing_window.h"

#include "app/common/bitmap_file.h"
#include "app/common/file_paths.h"
#include "app/state/app_state.h"
#include "files/file_io.h"
#include "kelvor_error.h"

#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QShowEvent>
#include <QVBoxLayout>

namespace kelvor::app {
namespace {

constexpr int kPictureWidth = 2048;
constexpr int kPictureHeight = 1536;
constexpr int kWindowWidth = 2058;
constexpr int kWindowHeight = 1546;
// The scrolled area reaches this far beyond the window's own size.
constexpr int kExtraScrollWidth = 1238;
constexpr int kExtraScrollHeight = 926;
// Far above a 2048 x 1536 bitmap of 32-bit pixels.
constexpr std::size_t kPictureSizeLimit = 64u << 20;

} // namespace

TFormImgProc::TFormImgProc(AppState& state, QWidget* parent)
    : QDialog(parent, Qt::Window), state_(state), calculation_(state.messages, [](bool) {}) {
    setObjectName("FormImgProc");
    setWindowTitle("  Image Processing");
    setFont(QFont("MS Sans Serif"));
    resize(kWindowWidth, kWindowHeight);

    auto* scrollArea = new QScrollArea(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scrollArea);
    auto* scrolled = new QWidget;
    scrolled->setFixedSize(width() + kExtraScrollWidth, height() + kExtraScrollHeight);
    ImageImgProc = new QLabel(scrolled);
    ImageImgProc->setObjectName("ImageImgProc");
    ImageImgProc->setGeometry(0, 0, kPictureWidth, kPictureHeight);
    ImageImgProc->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scrollArea->setWidget(scrolled);

    workingBitmap_ = QImage(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    workingBitmap_.fill(Qt::white);
    ShowWorkingBitmap();
}

void TFormImgProc::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Once the window is on the screen, so that the user sees the work being done.
    if (!event->spontaneous()) {
        QMetaObject::invokeMethod(this, &TFormImgProc::FormShow, Qt::QueuedConnection);
    }
}

// The picture control shows the bitmap one pixel in from its top-left corner.
void TFormImgProc::ShowWorkingBitmap() {
    QPixmap shown(kPictureWidth, kPictureHeight);
    shown.fill(Qt::white);
    QPainter painter(&shown);
    painter.drawImage(1, 1, workingBitmap_);
    painter.end();
    ImageImgProc->setPixmap(shown);
}

void TFormImgProc::FormShow() {
    const std::filesystem::path source = state_.File(render::kImageToBrighten);
    if (calculation_.Running() || !std::filesystem::exists(source)) {
        return;
    }
    brightened_ = {};
    calculation_.Start(
        [this, source, folder = state_.workingFolder] { return BrightenAndSave(source, folder); },
        [this](CalculationEnd end) { ProcessingEnded(end); });
}

// On the worker: it touches no widget and reads nothing the window thread may change.
bool TFormImgProc::BrightenAndSave(const std::filesystem::path& source,
                                   const std::filesystem::path& folder) {
    // Read as every file of the program is: a pipe or device under the name never blocks.
    std::string bytes;
    try {
        bytes = ReadWholeFile(source, kPictureSizeLimit);
    } catch (const KelvorError& fault) {
        brightened_.fault = fault.what();
        return true;
    }
    QImage picture;
    if (!picture.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                              static_cast<int>(bytes.size()))) {
        brightened_.fault = std::string("\r\n   ") + render::kImageToBrighten +
                            " is not a picture that can be read   ";
        return true;
    }
    brightened_.loaded = true;
    calculation_.Report(
        [this, photograph = picture] {
            workingBitmap_ = photograph;
            ShowWorkingBitmap();
        },
        true);
    brightened_.result = render::BrightenImage(picture, [this](int column) {
        calculation_.Report([this, column] { emit ColumnReached(column); });
    });
    // The window went meanwhile (the program is closing): nothing is saved.
    if (calculation_.ResetRequested()) {
        return false;
    }
    try {
        WriteBitmapFile(picture,
                        folder / render::BrightenedFileName(brightened_.result.lastFactor));
    } catch (const KelvorError& fault) {
        brightened_.fault = fault.what();
    }
    brightened_.picture = std::move(picture);
    return true;
}

void TFormImgProc::ProcessingEnded(CalculationEnd end) {
    const bool finished = end == CalculationEnd::Finished;
    if (finished && brightened_.loaded) {
        workingBitmap_ = std::move(brightened_.picture);
        ShowWorkingBitmap();
    }
    if (!brightened_.fault.empty()) {
        state_.messages.ShowWarning(brightened_.fault);
    }
    if (!brightened_.loaded) {
        return;
    }
    emit ProcessingFinished();
    if (finished) {
        state_.messages.ShowInfo(std::to_string(brightened_.result.peak));
    }
}

} // namespace kelvor::app
