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

} // namespace kelvor::app
