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
std::string ScreenSizeWarning(int width, int height);

} // namespace kelvor::app
