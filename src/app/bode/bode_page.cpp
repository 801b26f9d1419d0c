// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bode/bode_page.h"

#include "kelvor_error.h"
#include "plot/bode_plot.h"

#include <QFontInfo>
#include <QPagedPaintDevice>
#include <algorithm>

namespace kelvor::app {
namespace {

constexpr double kHeadingPoints = 12;
constexpr double kTablePoints = 9;
constexpr double kPointsPerInch = 72;
// The plots take at most this share of the page height; the table gets the rest.
constexpr double kMostPlotShare = 0.62;
// The marker table's columns: name, frequency, value, as shares of the width.
constexpr double kColumnShares[] = {0.3, 0.2, 0.5};
// The screen resolution the window's layout is drawn for.
constexpr double kScreenDotsPerInch = 96;

QFont PointFont(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    return font;
}

// The plots drawn into `target` (device pixels) as the window lays them out on screen: the
// fonts take the pixel sizes they have on screen, and the layout is scaled from the screen's
// resolution to the device's.
void PaintPlots(QCPPainter& painter, plot::BodePlot& plot, const QRectF& target, double dpi) {
    const QFont screenFont = plot.font();
    QFont pixelFont = screenFont;
    pixelFont.setPixelSize(QFontInfo(screenFont).pixelSize());
    plot.setFont(pixelFont);
    const double scale = dpi / kScreenDotsPerInch;
    const int width = static_cast<int>(target.width() / scale);
    const int height = static_cast<int>(target.height() / scale);
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    plot.toPainter(&painter, width, height);
    painter.restore();
    plot.setFont(screenFont);
}

} // namespace

void PrintBodePage(QPagedPaintDevice& device, plot::BodePlot& plot, const QString& heading,
                   const std::vector<QStringList>& markerRows) {
    QCPPainter painter;
    if (!painter.begin(&device)) {
        throw KelvorError("Cannot print: the printer or PDF file cannot be opened");
    }
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    const QRectF page(0, 0, device.width(), device.height());
    const double dpi = device.logicalDpiY();
    const double gap = dpi * 6 / kPointsPerInch;

    painter.setPen(Qt::black);
    painter.setFont(PointFont(kHeadingPoints));
    const QRectF headingRect =
        painter.boundingRect(page, Qt::AlignLeft | Qt::TextWordWrap, heading);
    painter.drawText(headingRect, Qt::AlignLeft | Qt::TextWordWrap, heading);
    double top = headingRect.bottom() + gap;

    // The plots keep the window's proportions, within their share of the page.
    const QSizeF onScreen = plot.size();
    double plotHeight = page.width() * onScreen.height() / std::max(1.0, onScreen.width());
    plotHeight = std::min(plotHeight, page.height() * kMostPlotShare);
    PaintPlots(painter, plot, QRectF(0, top, page.width(), plotHeight), dpi);
    top += plotHeight + gap;

    const auto row = [&](const QStringList& cells, bool bold) {
        QFont font = PointFont(kTablePoints);
        font.setBold(bold);
        painter.setFont(font);
        double height = 0;
        std::vector<QRectF> places;
        double left = 0;
        for (int column = 0; column < 3; ++column) {
            const double width = page.width() * kColumnShares[column];
            const QRectF room(left, 0, width - gap, page.height());
            const QRectF needed =
                painter.boundingRect(room, Qt::AlignLeft | Qt::TextWordWrap, cells.value(column));
            height = std::max(height, needed.height());
            places.push_back(QRectF(left, 0, width - gap, needed.height()));
            left += width;
        }
        if (top + height > page.bottom()) {
            device.newPage();
            top = 0;
        }
        for (int column = 0; column < 3; ++column) {
            painter.drawText(places[column].translated(0, top), Qt::AlignLeft | Qt::TextWordWrap,
                             cells.value(column));
        }
        top += height;
    };
    if (!markerRows.empty()) {
        row({QStringLiteral("Marker"), QStringLiteral("Frequency"), QStringLiteral("Value")}, true);
        for (const QStringList& cells : markerRows) {
            row(cells, false);
        }
    }
    painter.end();
}

} // namespace kelvor::app
