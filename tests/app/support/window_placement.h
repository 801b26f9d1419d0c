// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QScreen>
#include <QWidget>

namespace kelvor::testing {

// Whether the window's frame stands in the middle of its screen's free area, to a pixel or two
// of rounding.
inline bool CentredOnScreen(const QWidget& window) {
    const QRect area = window.screen()->availableGeometry();
    return (window.frameGeometry().center() - area.center()).manhattanLength() <= 2;
}

} // namespace kelvor::testing
