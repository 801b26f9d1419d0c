// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <vector>

namespace kelvor::app {

// Controls and the text beside them keep at least this many pixels apart.
inline constexpr int kLabelControlGap = 6;

// Where a label centred at `wanted` may stand on its row without running under any of
// `controls` (those beside the row leave it alone): where it is when it clears them, else moved
// just as far as the free room between the nearest control on each side needs, and cut to that
// room when it is wider. Controls left of the label's centre bound the room on the left, the
// others on the right; the window's edges bound it too.
QRect LabelRoom(const QRect& wanted, const std::vector<QRect>& controls, int windowWidth);

} // namespace kelvor::app
