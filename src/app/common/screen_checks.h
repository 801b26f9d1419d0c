// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class QWidget;

namespace kelvor::app {

struct DisplayFacts {
    int dotsPerInch = 96;
    int width = 0;
    int height = 0;
};

// The dots per inch and the size in pixels of the screen the window is on.
DisplayFacts CurrentDisplay(const QWidget* window);

// Windows open centred on the screen they are on.
void CentreOnScreen(QWidget* window);

std::string FontSizeWarning(int dotsPerInch);

// A size enlarged for a display that is not 96 dots per inch: size + percent x (dpi - 96) x
// size / 9600, in integer arithmetic.
int ScaledForDpi(int size, int percent, int dotsPerInch);
// Enlarges the window's width and height that way.
void ScaleFormForDpi(QWidget* window, int percent, int dotsPerInch);
std::string ScreenSizeWarning(int width, int height);

} // namespace kelvor::app
