// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRectF>
#include <QSize>
#include <QString>
#include <optional>

class QCustomPlot;
class QPaintDevice;

namespace kelvor::plot {

enum class PictureKind { Png, Pdf, Svg };

// The picture kind of a file name's extension (.png, .pdf, .svg, any case), or none.
std::optional<PictureKind> PictureKindOf(const QString& path);

// Writes the plot as it would be drawn at `size` (logical pixels): PNG as a bitmap of
// `scale` device pixels per logical pixel, PDF and SVG as vector graphics with a page of that
// size. The file is written atomically (WriteFileAtomically), so a failed save leaves no half
// picture behind. Throws KelvorError naming the file when it cannot be written.
void SavePlot(QCustomPlot& plot, const QString& path, PictureKind kind, QSize size,
              double scale = 1);

// Draws the plot as vector graphics into `target`, filling `page` (in the device's units) with
// the plot laid out at `size` logical pixels: the printer takes this road.
void PaintPlot(QCustomPlot& plot, QPaintDevice& target, const QRectF& page, QSize size);

} // namespace kelvor::plot
