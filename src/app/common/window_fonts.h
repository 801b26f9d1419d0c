// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QLatin1String>

namespace kelvor::app {

// Window layouts are given in pixels for 96 dots per inch, and so are their fonts.
inline QFont PixelFont(const char* family, int pixels, bool bold = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    if (QLatin1String(family) == QLatin1String("Courier New")) {
        font.setStyleHint(QFont::TypeWriter); // stays fixed-pitch where the font is missing
    }
    return font;
}

} // namespace kelvor::app
