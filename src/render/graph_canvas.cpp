// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/graph_canvas.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPen>
#include <QVarLengthArray>
#include <algorithm>
#include <cstdlib>

namespace kelvor::render {
namespace {

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The minor coordinate of step k of a line whose major axis has `steps` steps and whose minor
// axis moves by `delta`: the nearest pixel, a tie stepping over to the far side.
int MinorOffset(int64_t k, int64_t delta, int64_t steps) {
    const int64_t magnitude = (2 * k * std::llabs(delta) + steps) / (2 * steps);
    return static_cast<int>(delta < 0 ? -magnitude : magnitude);
}

// Fixed-pitch text advances by whole pixels, as a 96 dpi display lays it out, so that a label
// row of 89 characters still stands under its grid lines at the end.
int FixedAdvance(const QFont& font) {
    if (!QFontInfo(font).fixedPitch()) {
        return 0;
    }
    return qRound(QFontMetricsF(font).horizontalAdvance(QLatin1Char('0')));
}

} // namespace

QColor ColourFromValue(int32_t value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int32_t ValueFromColour(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

int PointsToPixels(int points) {
    // The font height of a point size on a 96 dots-per-inch display, rounded.
    return (points * 96 + 36) / 72;
}

GraphCanvas::GraphCanvas(QImage& picture) : picture_(picture) {
    painter_.begin(&picture_);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
}

void GraphCanvas::SetFont(const QString& family, int points) {
    fontFamily_ = family;
    SetFontSize(points);
}

void GraphCanvas::SetFontSize(int points) {
    fontPixels_ = PointsToPixels(points);
    rotated_ = false;
}

void GraphCanvas::SetFontStyle(bool bold, bool underline) {
    bold_ = bold;
    underline_ = underline;
}

void GraphCanvas::UseRotatedFont() {
    rotated_ = true;
}

QFont GraphCanvas::CurrentFont() const {
    QFont font(fontFamily_);
    font.setPixelSize(fontPixels_);
    font.setBold(bold_);
    // The underline is drawn by hand across the whole cell, see TextOut.
    font.setUnderline(false);
    // Setting the hint also sets the strategy: both in one call.
    font.setStyleHint(fontFamily_ == "Courier New" ? QFont::TypeWriter : QFont::AnyStyle,
                      QFont::NoAntialias);
    return font;
}

int GraphCanvas::TextWidth(std::string_view text) const {
    const QFont font = CurrentFont();
    const int advance = FixedAdvance(font);
    if (advance > 0) {
        return advance * static_cast<int>(text.size());
    }
    return QFontMetrics(font).horizontalAdvance(Latin1(text));
}

int GraphCanvas::TextHeight() const {
    const QFontMetrics metrics(CurrentFont());
    return metrics.ascent() + metrics.descent();
}

void GraphCanvas::TextOut(int x, int y, std::string_view text) {
    const QFont font = CurrentFont();
    const QFontMetrics metrics(font);
    const int advance = FixedAdvance(font);
    const int width = TextWidth(text);
    const int height = metrics.ascent() + metrics.descent();

    painter_.save();
    painter_.translate(x, y);
    if (rotated_) {
        painter_.rotate(-90);
    }
    painter_.fillRect(QRect(0, 0, width, height), Qt::white);
    painter_.setFont(font);
    painter_.setPen(QPen(Qt::black, 1));
    if (advance > 0) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != ' ') {
                painter_.drawText(QPoint(static_cast<int>(i) * advance, metrics.ascent()),
                                  QString(QLatin1Char(text[i])));
            }
        }
    } else if (!text.empty()) {
        painter_.drawText(QPoint(0, metrics.ascent()), Latin1(text));
    }
    if (underline_) {
        const int thickness = std::max(1, metrics.lineWidth());
        painter_.fillRect(QRect(0, metrics.ascent() + metrics.underlinePos(), width, thickness),
                          Qt::black);
    }
    painter_.restore();
}

void GraphCanvas::SetPixel(int x, int y, const QColor& colour) {
    painter_.setPen(QPen(colour, 1));
    painter_.drawPoint(x, y);
}

// One-pixel lines are rasterised here rather than by the paint engine, so that the pixels of a
// line are fixed by this arithmetic alone. Steps outside the picture are skipped, which keeps a
// curve running 32000 rows off the bottom cheap.
void GraphCanvas::ThinLine(int x1, int y1, int x2, int y2, bool withEnd) {
    const int dx = x2 - x1;
    const int dy = y2 - y1;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const int steps = std::max(std::abs(dx), std::abs(dy));
    const int lastStep = withEnd ? steps : steps - 1;
    if (steps == 0) {
        if (withEnd) {
            SetPixel(x1, y1);
        }
        return;
    }
    // The visible steps along the major axis.
    const int majorStart = xMajor ? x1 : y1;
    const int majorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int majorLimit = xMajor ? Width() : Height();
    int first = 0;
    int last = lastStep;
    if (majorSign > 0) {
        first = std::max(first, -majorStart);
        last = std::min(last, majorLimit - 1 - majorStart);
    } else {
        first = std::max(first, majorStart - (majorLimit - 1));
        last = std::min(last, majorStart);
    }
    QVarLengthArray<QPoint, 64> points;
    for (int k = first; k <= last; ++k) {
        const int major = majorStart + majorSign * k;
        const int minor = MinorOffset(k, xMajor ? dy : dx, steps);
        const QPoint point = xMajor ? QPoint(major, y1 + minor) : QPoint(x1 + minor, major);
        if (picture_.valid(point)) {
            points.append(point);
        }
    }
    if (!points.isEmpty()) {
        painter_.setPen(QPen(penColour_, 1));
        painter_.drawPoints(points.data(), static_cast<int>(points.size()));
    }
}

void GraphCanvas::Line(int x1, int y1, int x2, int y2) {
    if (penWidth_ <= 1) {
        ThinLine(x1, y1, x2, y2, false);
        return;
    }
    painter_.setPen(QPen(penColour_, penWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter_.drawLine(QPoint(x1, y1), QPoint(x2, y2));
}

void GraphCanvas::Polyline(std::initializer_list<QPoint> points) {
    if (points.size() < 2) {
        return;
    }
    const QPoint* previous = points.begin();
    for (const QPoint* point = previous + 1; point != points.end(); previous = point++) {
        Line(previous->x(), previous->y(), point->x(), point->y());
    }
}

void GraphCanvas::RoundRect(int left, int top, int right, int bottom, int ellipseWidth,
                            int ellipseHeight) {
    painter_.setPen(QPen(penColour_, penWidth_));
    painter_.setBrush(Qt::white);
    // An outlined rectangle covers one pixel more than its size, and the right and bottom edges
    // are outside the shape.
    painter_.drawRoundedRect(QRectF(left, top, right - left - 1, bottom - top - 1),
                             ellipseWidth / 2.0, ellipseHeight / 2.0);
    painter_.setBrush(Qt::NoBrush);
}

void GraphCanvas::Clear(const QColor& colour) {
    painter_.fillRect(picture_.rect(), colour);
}

void GraphCanvas::DrawImage(int x, int y, const QImage& image) {
    painter_.drawImage(QPoint(x, y), image);
}

void GraphCanvas::DrawSegment(int x1, int y1, int x2, int y2) {
    Line(x1, y1, x2, y2);
    SetPixel(x2, y2);
}

void GraphCanvas::DrawBoldSegment(int x1, int y1, int x2, int y2) {
    DrawSegment(x1, y1, x2, y2);
    DrawSegment(x1, y1 + 1, x2, y2 + 1);
    if (y2 < y1) {
        DrawSegment(x1 + 1, y1, x2 + 1, y2);
    } else if (y1 < y2) {
        DrawSegment(x1 - 1, y1, x2 - 1, y2);
    }
}

void GraphCanvas::DrawDottedHLine(int x1, int x2, int y, int32_t colour, int step) {
    SetPenColour(colour);
    for (int x = std::min(x1, x2); step > 0 && x <= std::max(x1, x2); ++x) {
        if (x % step == 0) {
            DrawSegment(x, y, x, y);
        }
    }
    SetPenColour(kBlack);
}

void GraphCanvas::DrawDottedVLine(int y1, int y2, int x, int32_t colour, int step) {
    SetPenColour(colour);
    for (int y = std::min(y1, y2); step > 0 && y <= std::max(y1, y2); ++y) {
        if (y % step == 0) {
            DrawSegment(x, y, x, y);
        }
    }
    SetPenColour(kBlack);
}

void GraphCanvas::DrawTickH(int x, int y) {
    DrawSegment(x - 1, y, x + 1, y);
}

void GraphCanvas::DrawTickCross(int x, int y) {
    DrawTickH(x, y);
    DrawSegment(x, y - 1, x, y + 1);
}

void GraphCanvas::DrawXMark(int x, int y) {
    DrawSegment(x - 1, y - 1, x + 1, y + 1);
    DrawSegment(x - 1, y + 1, x + 1, y - 1);
}

void GraphCanvas::DrawVTick(int x, int y, int length) {
    DrawSegment(x, y, x, y + length);
}

void GraphCanvas::DrawMajorDbTick(int y) {
    DrawSegment(57, y, 60, y);
    DrawSegment(681, y, 680, y);
}

void GraphCanvas::DrawMinorDbTick(int y) {
    DrawSegment(57, y, 58, y);
    DrawSegment(681, y, 681, y);
}

} // namespace kelvor::render
