// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/screen_checks.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace kelvor::app {

DisplayFacts CurrentDisplay(const QWidget* window) {
    const QScreen* screen = window != nullptr && window->screen() != nullptr
                                ? window->screen()
                                : QGuiApplication::primaryScreen();
    DisplayFacts facts;
    if (screen != nullptr) {
        facts.dotsPerInch = static_cast<int>(std::lround(screen->logicalDotsPerInch()));
        facts.width = screen->geometry().width();
        facts.height = screen->geometry().height();
        facts.devicePixelRatio = screen->devicePixelRatio();
    }
    return facts;
}

void CentreOnScreen(QWidget* window) {
    const QScreen* screen =
        window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    // A window larger than the screen keeps its title bar and menus on it.
    window->move(std::max(frame.left(), area.left()), std::max(frame.top(), area.top()));
}

void FitOnScreen(QWidget* window, int wantedWidth, int wantedHeight) {
    const QScreen* screen =
        window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        window->resize(wantedWidth, wantedHeight);
        return;
    }
    // Before the window is shown its frame is not known; a title bar and borders this large
    // are the most window managers add.
    constexpr int kFrameWidth = 16;
    constexpr int kFrameHeight = 48;
    const QRect area = screen->availableGeometry();
    window->resize(std::min(wantedWidth, area.width() - kFrameWidth),
                   std::min(wantedHeight, area.height() - kFrameHeight));
    CentreOnScreen(window);
}

QScrollArea* ScrolledWhenSmall(QWidget* content, QWidget* parent) {
    auto* area = new QScrollArea(parent);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(content);
    return area;
}

int ScaledForDpi(int size, int percent, int dotsPerInch) {
    return size + percent * (dotsPerInch - 96) * size / 9600;
}

void ScaleFormForDpi(QWidget* window, int percent, int dotsPerInch) {
    window->resize(ScaledForDpi(window->width(), percent, dotsPerInch),
                   ScaledForDpi(window->height(), percent, dotsPerInch));
}

std::string FontSizeWarning(int dotsPerInch) {
    return "\r\n      Font size is currently set to " + std::to_string(dotsPerInch) +
           " dots per inch.\r\n\r\n      You must set your fonts to 'small' (96 dpi) in \r\n\r\n"
           " order to scale windows correctly for this program.      \r\n\r\n"
           "For details of how to make the change see Help File.\r\n";
}

std::string ScreenSizeWarning(int width, int height) {
    return "     Your screen is set to " + std::to_string(width) + "x" + std::to_string(height) +
           "\r\n\r\n   Use 800x600 for a correct display\r\n\r\nFor 640x480 VGA use KELVOR V2.30 ";
}

} // namespace kelvor::app
