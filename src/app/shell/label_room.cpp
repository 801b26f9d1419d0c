// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell/label_room.h"

#include <algorithm>

namespace kelvor::app {

QRect LabelRoom(const QRect& wanted, const std::vector<QRect>& controls, int windowWidth) {
    int roomLeft = 0;
    int roomRight = windowWidth; // one past the last free column
    const int centre = wanted.left() + wanted.width() / 2;
    for (const QRect& control : controls) {
        const bool sameRow = control.top() <= wanted.bottom() && control.bottom() >= wanted.top();
        if (!sameRow || control.isEmpty()) {
            continue;
        }
        if (control.left() + control.width() / 2 < centre) {
            roomLeft = std::max(roomLeft, control.right() + 1 + kLabelControlGap);
        } else {
            roomRight = std::min(roomRight, control.left() - kLabelControlGap);
        }
    }
    const int roomWidth = std::max(0, roomRight - roomLeft);
    if (wanted.width() >= roomWidth) {
        return QRect(roomLeft, wanted.top(), roomWidth, wanted.height());
    }
    const int left = std::clamp(wanted.left(), roomLeft, roomRight - wanted.width());
    return QRect(left, wanted.top(), wanted.width(), wanted.height());
}

} // namespace kelvor::app
