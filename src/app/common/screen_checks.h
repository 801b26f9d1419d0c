// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class QScrollArea;
class QWidget;

namespace kelvor::app {

struct DisplayFacts {
    int dotsPerInch = 96;
    int width = 0;
    int height = 0;
    // Device pixels per logical pixel: 2 at 200 % scaling.
    double devicePixelRatio = 1;
};

// The dots per inch and the size in logical pixels of the screen the window is on, which is what
// windows are laid out and fitted in.
DisplayFacts CurrentDisplay(const QWidget* window);

// Windows open centred on the screen they are on; one larger than the screen at its top left.
void CentreOnScreen(QWidget* window);

// Resizes a resizable window to `wanted`, or to what its screen's free area holds when that is
// smaller (room left for the frame), and centres it there: nothing of it off-screen.
void FitOnScreen(QWidget* window, int wantedWidth, int wantedHeight);
// The content in a frameless scroll area that it fills when there is room, so that a small
// screen scrolls it instead of cutting it off.
QScrollArea* ScrolledWhenSmall(QWidget* content, QWidget* parent);

std::string FontSizeWarning(int dotsPerInch);

// A size enlarged for a display that is not 96 dots per inch: size + percent x (dpi - 96) x
// size / 9600, in integer arithmetic.
int ScaledForDpi(int size, int percent, int dotsPerInch);
// Enlarges the window's width and height that way.
void ScaleFormForDpi(QWidget* window, int percent, int dotsPerInch);
std::string ScreenSizeWarning(int width, int height);

} // namespace kelvor::app
