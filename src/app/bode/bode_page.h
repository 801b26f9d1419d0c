// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QPagedPaintDevice;

namespace kelvor::plot {
class BodePlot;
}

namespace kelvor::app {

// The analyser's printed page, laid out as its picture export is: a heading line (title,
// Datafile, date), the plots across the page, and the marker table under them (further pages
// when it is long). Fonts are in points on the device; the plots are laid out at the screen's
// proportions and scaled to the device, so text keeps the size it has on screen. Throws
// KelvorError when the device cannot be painted on.
void PrintBodePage(QPagedPaintDevice& device, plot::BodePlot& plot, const QString& heading,
                   const std::vector<QStringList>& markerRows);

} // namespace kelvor::app
