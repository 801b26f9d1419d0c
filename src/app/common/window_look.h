// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

namespace kelvor::app {

// The size of the menu windows (frequency scales, graph parameters, square wave, pulse), which
// open in the place of one another.
inline constexpr int kMenuWindowWidth = 732;
inline constexpr int kMenuWindowHeight = 534;

// The colours the windows share.
inline const QColor kMaroon(128, 0, 0);
inline const QColor kSilver(192, 192, 192);

// A text colour chosen for the light windows, kept readable on a dark desktop theme: on a dark
// background it is mixed with white until it stands off that background.
inline QColor ReadableText(const QColor& wanted, const QColor& background) {
    if (background.lightness() >= 128 || wanted.lightness() >= 160) {
        return wanted;
    }
    return QColor((wanted.red() + 2 * 255) / 3, (wanted.green() + 2 * 255) / 3,
                  (wanted.blue() + 2 * 255) / 3);
}

} // namespace kelvor::app
