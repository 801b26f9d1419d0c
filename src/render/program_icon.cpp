// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/program_icon.h"

#include <QPainter>
#include <algorithm>

namespace kelvor::render {

QPolygon SquareWavePolyline(int left, int right, int high, int low, int period) {
    QPolygon wave;
    for (int x = left; x < right; x += period) {
        const int half = std::min(x + period / 2, right);
        const int end = std::min(x + period, right);
        wave << QPoint(x, low) << QPoint(x, high) << QPoint(half, high) << QPoint(half, low)
             << QPoint(end, low);
    }
    return wave;
}

void PaintProgramIcon(QPainter& painter, int size) {
    painter.save();
    painter.scale(static_cast<double>(size) / kProgramIconGrid,
                  static_cast<double>(size) / kProgramIconGrid);
    painter.fillRect(0, 0, kProgramIconGrid, kProgramIconGrid, QColor(0, 0, 128));
    painter.setPen(QPen(QColor(255, 255, 0), 2));
    painter.drawPolyline(SquareWavePolyline(3, 29, 9, 23, 13));
    painter.restore();
}

QImage ProgramIconImage(int size) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing, size != kProgramIconGrid);
    PaintProgramIcon(painter, size);
    return icon;
}

} // namespace kelvor::render
