// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "schematic/schematic_geometry.h"

#include <QColor>
#include <QImage>

class QPainter;

namespace kelvor::render {

struct SchematicColours {
    QColor background = Qt::white;
    QColor ink = Qt::black; // symbols and wires
    QColor text = Qt::black;
    QColor highlight = QColor(0, 90, 200);
};

// Draws the schematic in drawing units onto a painter whose transform the caller has set: the
// window, the picture files and the printout all draw through here. `highlighted` is the index
// of a component to draw in the highlight colour, or -1.
void PaintSchematic(QPainter& painter, const schematic::Drawing& drawing,
                    const SchematicColours& colours, int highlighted = -1);

// The drawing on a white picture, `scale` pixels per drawing unit.
QImage SchematicImage(const schematic::Drawing& drawing, double scale);

} // namespace kelvor::render
