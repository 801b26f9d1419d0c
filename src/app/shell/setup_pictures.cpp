// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell/setup_pictures.h"

#include "app/common/window_fonts.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <algorithm>

namespace kelvor::app {
namespace {

const QColor kNavy(0, 0, 128);

// One period of a square wave every `period` pixels, between the two heights.
QPolygon SquareWave(int left, int right, int high, int low, int period) {
    QPolygon wave;
    for (int x = left; x < right; x += period) {
        const int half = std::min(x + period / 2, right);
        const int end = std::min(x + period, right);
        wave << QPoint(x, low) << QPoint(x, high) << QPoint(half, high) << QPoint(half, low)
             << QPoint(end, low);
    }
    return wave;
}

} // namespace

QImage SetupLogo() {
    QImage logo(kLogoWidth, kLogoHeight, QImage::Format_RGB32);
    logo.fill(kNavy);
    QPainter painter(&logo);
    painter.setPen(QPen(QColor(255, 255, 0), 1));
    painter.drawPolyline(SquareWave(8, kLogoWidth - 8, 36, 50, 32));
    QFont name = PixelFont("Arial", 22, true);
    name.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(name);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 2, kLogoWidth, 30), Qt::AlignCenter, "KELVOR2007");
    return logo;
}

QIcon SetupIcon() {
    QPixmap tile(32, 32);
    tile.fill(kNavy);
    QPainter painter(&tile);
    painter.setPen(QPen(QColor(255, 255, 0), 2));
    painter.drawPolyline(SquareWave(3, 29, 9, 23, 13));
    return QIcon(tile);
}

} // namespace kelvor::app
