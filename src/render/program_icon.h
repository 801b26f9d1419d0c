// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPolygon>

class QPainter;

namespace kelvor::render {

// The icon's own grid: it is designed on 32 by 32 pixels and scaled to every other size.
inline constexpr int kProgramIconGrid = 32;

// One period of a square wave every `period` pixels, between the two heights: the program's
// mark, in its logo and its icon.
QPolygon SquareWavePolyline(int left, int right, int high, int low, int period);

// The program's icon, a square wave on a navy tile, painted over the square of `size` pixels at
// the painter's origin: the setup window, the desktop's icons at every size and the scalable
// icon all come from here.
void PaintProgramIcon(QPainter& painter, int size);

// The icon as a picture of size by size pixels, smoothed when it is not drawn on its own grid.
QImage ProgramIconImage(int size);

} // namespace kelvor::render
