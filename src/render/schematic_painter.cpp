// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/schematic_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace kelvor::render {
namespace {

using schematic::Box;
using schematic::Drawing;
using schematic::DrawnComponent;
using schematic::Point;

constexpr double kLineWidth = 1.6;
constexpr double kDotRadius = 3.0;

QPointF At(Point p) {
    return QPointF(p.x, p.y);
}

QRectF Rect(const Box& box) {
    return QRectF(QPointF(box.x0, box.y0), QPointF(box.x1, box.y1));
}

// Two-terminal bodies, drawn along x from -20 to 20 about the origin.
void PaintResistor(QPainter& painter) {
    QPolygonF zigzag;
    zigzag << QPointF(-20, 0);
    for (int i = 0; i < 6; ++i) {
        zigzag << QPointF(-20 + 40.0 * (i + 0.5) / 6.0, i % 2 == 0 ? -6 : 6);
    }
    zigzag << QPointF(20, 0);
    painter.drawPolyline(zigzag);
}

void PaintCapacitor(QPainter& painter) {
    painter.drawLine(QPointF(-20, 0), QPointF(-3, 0));
    painter.drawLine(QPointF(3, 0), QPointF(20, 0));
    painter.drawLine(QPointF(-3, -9), QPointF(-3, 9));
    painter.drawLine(QPointF(3, -9), QPointF(3, 9));
}

// Humps of a winding from `from` to `to`, bulging to the side `bulge` points at.
void PaintWinding(QPainter& painter, QPointF from, QPointF to, int turns, double bulge) {
    QPainterPath path(from);
    const QPointF step = (to - from) / turns;
    const QPointF across = QPointF(-step.y(), step.x()) / std::hypot(step.x(), step.y()) * bulge *
                           std::hypot(step.x(), step.y()) * 0.6;
    for (int i = 0; i < turns; ++i) {
        const QPointF a = from + step * i;
        path.cubicTo(a + across, a + step + across, a + step);
    }
    painter.drawPath(path);
}

void PaintTwoTerminal(QPainter& painter, const DrawnComponent& component) {
    const QPointF a = At(component.pins[0].at);
    const QPointF b = At(component.pins[1].at);
    const QPointF middle = (a + b) / 2;
    const QPointF unit = (b - a) / std::hypot(b.x() - a.x(), b.y() - a.y());
    painter.drawLine(a, middle - unit * 20);
    painter.drawLine(middle + unit * 20, b);
    painter.save();
    painter.translate(middle);
    if (component.turn.vertical) {
        painter.rotate(90);
    }
    switch (component.kind) {
    case 'R':
        PaintResistor(painter);
        break;
    case 'C':
        PaintCapacitor(painter);
        break;
    default:
        PaintWinding(painter, QPointF(-20, 0), QPointF(20, 0), 4, -1.0);
        break;
    }
    painter.restore();
}

void PaintArrow(QPainter& painter, QPointF from, QPointF to) {
    const QPointF unit = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF side(-unit.y(), unit.x());
    const QPolygonF head{to, to - unit * 7 + side * 3.5, to - unit * 7 - side * 3.5};
    painter.save();
    painter.setBrush(painter.pen().color());
    painter.drawPolygon(head);
    painter.restore();
}

// Devices in their upright footprint (see symbol_footprint.cpp); the caller flips the frame.
void PaintBipolar(QPainter& painter) {
    painter.drawEllipse(QPointF(28, 0), 18, 18);
    painter.drawLine(QPointF(0, 0), QPointF(18, 0));
    painter.drawLine(QPointF(18, -11), QPointF(18, 11));
    painter.drawLine(QPointF(18, -5), QPointF(40, -17));
    painter.drawLine(QPointF(40, -17), QPointF(40, -40));
    painter.drawLine(QPointF(18, 5), QPointF(40, 17));
    painter.drawLine(QPointF(40, 17), QPointF(40, 40));
    PaintArrow(painter, QPointF(18, 5), QPointF(36, 15));
}

void PaintFet(QPainter& painter) {
    painter.drawEllipse(QPointF(28, 0), 18, 18);
    painter.drawLine(QPointF(0, 0), QPointF(20, 0));
    PaintArrow(painter, QPointF(6, 0), QPointF(19, 0));
    painter.drawLine(QPointF(20, -12), QPointF(20, 12));
    painter.drawLine(QPointF(20, -8), QPointF(40, -8));
    painter.drawLine(QPointF(40, -8), QPointF(40, -40));
    painter.drawLine(QPointF(20, 8), QPointF(40, 8));
    painter.drawLine(QPointF(40, 8), QPointF(40, 40));
}

void PaintTriode(QPainter& painter) {
    painter.drawEllipse(QPointF(27, 0), 19, 21);
    painter.drawLine(QPointF(18, -11), QPointF(36, -11)); // anode
    painter.drawLine(QPointF(27, -11), QPointF(27, -30));
    painter.drawLine(QPointF(27, -30), QPointF(40, -30));
    painter.drawLine(QPointF(40, -30), QPointF(40, -40));
    QPen dashed = painter.pen();
    dashed.setStyle(Qt::DashLine);
    painter.save();
    painter.setPen(dashed);
    painter.drawLine(QPointF(12, 0), QPointF(40, 0)); // grid
    painter.restore();
    painter.drawLine(QPointF(0, 0), QPointF(12, 0));
    painter.drawLine(QPointF(18, 11), QPointF(36, 11)); // cathode
    painter.drawLine(QPointF(27, 11), QPointF(27, 30));
    painter.drawLine(QPointF(27, 30), QPointF(40, 30));
    painter.drawLine(QPointF(40, 30), QPointF(40, 40));
}

void PaintOpAmp(QPainter& painter) {
    painter.drawPolygon(QPolygonF{QPointF(12, -8), QPointF(12, 48), QPointF(68, 20)});
    painter.drawLine(QPointF(0, 0), QPointF(12, 0));
    painter.drawLine(QPointF(0, 40), QPointF(12, 40));
    painter.drawLine(QPointF(68, 20), QPointF(80, 20));
    painter.drawLine(QPointF(16, 0), QPointF(24, 0)); // + on the first input
    painter.drawLine(QPointF(20, -4), QPointF(20, 4));
    painter.drawLine(QPointF(16, 40), QPointF(24, 40)); // - on the second
}

void PaintDot(QPainter& painter, QPointF at) {
    painter.save();
    painter.setBrush(painter.pen().color());
    painter.drawEllipse(at, 2.5, 2.5);
    painter.restore();
}

// Coupled coils (height 60) and the tapped transformer (height 80, tap at 40, iron core).
void PaintWindings(QPainter& painter, int height, bool tapped) {
    const double bottom = height;
    painter.drawPolyline(QPolygonF{QPointF(0, 0), QPointF(20, 0), QPointF(20, 6)});
    painter.drawPolyline(
        QPolygonF{QPointF(0, bottom), QPointF(20, bottom), QPointF(20, bottom - 6)});
    painter.drawPolyline(QPolygonF{QPointF(60, 0), QPointF(40, 0), QPointF(40, 6)});
    painter.drawPolyline(
        QPolygonF{QPointF(60, bottom), QPointF(40, bottom), QPointF(40, bottom - 6)});
    const int turns = height / 15;
    PaintWinding(painter, QPointF(20, 6), QPointF(20, bottom - 6), turns, 1.0);
    PaintWinding(painter, QPointF(40, 6), QPointF(40, bottom - 6), turns, -1.0);
    if (tapped) {
        painter.drawLine(QPointF(0, 40), QPointF(20, 40));
        painter.drawLine(QPointF(28, 4), QPointF(28, bottom - 4));
        painter.drawLine(QPointF(32, 4), QPointF(32, bottom - 4));
    }
    PaintDot(painter, QPointF(13, 9));
    PaintDot(painter, QPointF(47, 9));
}

void PaintDevice(QPainter& painter, const DrawnComponent& component) {
    painter.save();
    painter.translate(At(component.origin));
    double middle = 0;
    switch (component.kind) {
    case 'A':
        middle = 20;
        break;
    case 'M':
        middle = 30;
        break;
    case 'T':
        middle = 40;
        break;
    default:
        break;
    }
    if (component.turn.flipped) {
        painter.translate(0, 2 * middle);
        painter.scale(1, -1);
    }
    switch (component.kind) {
    case 'B':
        PaintBipolar(painter);
        break;
    case 'F':
        PaintFet(painter);
        break;
    case 'V':
        PaintTriode(painter);
        break;
    case 'A':
        PaintOpAmp(painter);
        break;
    case 'M':
        PaintWindings(painter, 60, false);
        break;
    case 'T':
        PaintWindings(painter, 80, true);
        break;
    default:
        painter.drawRect(Rect(component.box).translated(-component.origin.x, -component.origin.y));
        break;
    }
    painter.restore();
}

void PaintGround(QPainter& painter, QPointF at) {
    painter.drawLine(at, at + QPointF(0, 8));
    painter.drawLine(at + QPointF(-10, 8), at + QPointF(10, 8));
    painter.drawLine(at + QPointF(-6, 12), at + QPointF(6, 12));
    painter.drawLine(at + QPointF(-2, 16), at + QPointF(2, 16));
}

void PaintSource(QPainter& painter, const Box& box) {
    const QRectF rect = Rect(box);
    const QPointF centre = rect.center();
    painter.drawLine(QPointF(centre.x(), rect.top() - 10), QPointF(centre.x(), rect.top() + 8));
    painter.drawLine(QPointF(centre.x(), rect.bottom() - 8),
                     QPointF(centre.x(), rect.bottom() + 10));
    painter.drawEllipse(centre, 12, 12);
    QPainterPath wave(centre + QPointF(-7, 0));
    wave.cubicTo(centre + QPointF(-4, -8), centre + QPointF(-1, -8), centre);
    wave.cubicTo(centre + QPointF(1, 8), centre + QPointF(4, 8), centre + QPointF(7, 0));
    painter.drawPath(wave);
}

void PaintText(QPainter& painter, const QString& text, const QRectF& box, Qt::Alignment align) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(10);
    const double width = QFontMetricsF(font).horizontalAdvance(text);
    if (width > box.width()) {
        // The layout measured text roughly; shrink rather than spill out of the box.
        font.setPixelSize(std::max(1, static_cast<int>(10 * box.width() / width)));
    }
    painter.setFont(font);
    painter.drawText(box, align | Qt::AlignVCenter, text);
}

} // namespace

void PaintSchematic(QPainter& painter, const Drawing& drawing, const SchematicColours& colours,
                    int highlighted) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(colours.ink, kLineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    for (const schematic::Wire& wire : drawing.wires) {
        painter.drawLine(At(wire.from), At(wire.to));
    }
    for (std::size_t i = 0; i < drawing.components.size(); ++i) {
        const DrawnComponent& component = drawing.components[i];
        QPen own = pen;
        if (static_cast<int>(i) == highlighted) {
            own.setColor(colours.highlight);
            own.setWidthF(kLineWidth * 1.6);
        }
        painter.setPen(own);
        if (component.pins.size() == 2) {
            PaintTwoTerminal(painter, component);
        } else {
            PaintDevice(painter, component);
        }
    }
    painter.setPen(pen);
    painter.setBrush(colours.ink);
    for (const schematic::NodePoint& dot : drawing.junctions) {
        painter.drawEllipse(At(dot.at), kDotRadius, kDotRadius);
    }
    painter.setBrush(Qt::NoBrush);
    for (const schematic::NodePoint& ground : drawing.grounds) {
        PaintGround(painter, At(ground.at));
    }
    if (drawing.hasSource) {
        PaintSource(painter, drawing.sourceBox);
    }
    painter.setBrush(colours.background);
    for (const schematic::Terminal& terminal : drawing.terminals) {
        painter.drawEllipse(At(terminal.at), kDotRadius, kDotRadius);
    }
    painter.setPen(colours.text);
    for (const schematic::Label& label : drawing.labels) {
        PaintText(painter, QString::fromUtf8(label.text.c_str()), Rect(label.box),
                  Qt::AlignHCenter);
    }
    painter.restore();
}

QImage SchematicImage(const Drawing& drawing, double scale) {
    const QRectF bounds = Rect(drawing.bounds);
    QImage image(std::max(1, static_cast<int>(std::ceil(bounds.width() * scale))),
                 std::max(1, static_cast<int>(std::ceil(bounds.height() * scale))),
                 QImage::Format_RGB32);
    const SchematicColours colours;
    image.fill(colours.background);
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.translate(-bounds.topLeft());
    PaintSchematic(painter, drawing, colours);
    painter.end();
    return image;
}

} // namespace kelvor::render
