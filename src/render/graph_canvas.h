// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace kelvor::render {

// Colours as the settings keep them: 24 bits, red in the low byte.
inline constexpr int32_t kBlack = 0;
inline constexpr int32_t kRed = 255;
inline constexpr int32_t kSilver = 12632256;
inline constexpr int32_t kWhite = 16777215;

QColor ColourFromValue(int32_t value);
int32_t ValueFromColour(const QColor& colour);

// Point sizes are for a 96 dots-per-inch canvas, whatever the image's own resolution says.
int PointsToPixels(int points);

// The graph picture's canvas: a pen (colour, width) and a font (name, size, style, optionally
// turned 90 degrees) over a QImage, with the drawing helpers that every plot of the graph window
// shares. Nothing is antialiased and fixed-pitch text advances by whole pixels, so that every
// pixel lands where the plot's arithmetic puts it.
class GraphCanvas {
public:
    // Draws on the picture, which must not be null, for as long as the canvas lives.
    explicit GraphCanvas(QImage& picture);
    GraphCanvas(const GraphCanvas&) = delete;
    GraphCanvas& operator=(const GraphCanvas&) = delete;

    int Width() const { return picture_.width(); }
    int Height() const { return picture_.height(); }

    void SetPenColour(int32_t colour) { penColour_ = ColourFromValue(colour); }
    void SetPenColour(const QColor& colour) { penColour_ = colour; }
    QColor PenColour() const { return penColour_; }
    void SetPenWidth(int width) { penWidth_ = width < 1 ? 1 : width; }

    // A new font name and size, horizontal again.
    void SetFont(const QString& family, int points);
    // A new size turns rotated text back to horizontal.
    void SetFontSize(int points);
    void SetFontStyle(bool bold, bool underline);
    // Text drawn from now on runs upward from its start point, until the next size change.
    void UseRotatedFont();
    bool FontRotated() const { return rotated_; }

    // Text whose cell's top-left corner is (x, y) (or, turned, whose cell runs upward from
    // (x, y)), on an opaque white cell that hides what lies beneath. Text is black.
    void TextOut(int x, int y, std::string_view text);
    // The width of the text's cell in pixels.
    int TextWidth(std::string_view text) const;
    int TextHeight() const;

    void SetPixel(int x, int y, const QColor& colour);
    void SetPixel(int x, int y) { SetPixel(x, y, penColour_); }

    // A line from the first point towards the second, the second point itself left out: the
    // pen's primitive, so that joined lines do not set their shared points twice.
    void Line(int x1, int y1, int x2, int y2);
    // Lines through the points in turn, the last point left out.
    void Polyline(std::initializer_list<QPoint> points);
    // The rectangle from (left, top) up to but not including (right, bottom), its corners
    // rounded by ellipses of the given size, filled white and outlined with the pen.
    void RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    void Clear(const QColor& colour = Qt::white);
    void DrawImage(int x, int y, const QImage& image);

    // The shared drawing helpers of the graph window's plots.
    void DrawSegment(int x1, int y1, int x2, int y2);
    void DrawBoldSegment(int x1, int y1, int x2, int y2);
    void DrawDottedHLine(int x1, int x2, int y, int32_t colour, int step);
    void DrawDottedVLine(int y1, int y2, int x, int32_t colour, int step);
    void DrawTickH(int x, int y);
    void DrawTickCross(int x, int y);
    void DrawXMark(int x, int y);
    void DrawVTick(int x, int y, int length);
    void DrawMajorDbTick(int y);
    void DrawMinorDbTick(int y);

private:
    QFont CurrentFont() const;
    void ThinLine(int x1, int y1, int x2, int y2, bool withEnd);

    QImage& picture_;
    QPainter painter_;
    QColor penColour_ = Qt::black;
    int penWidth_ = 1;
    QString fontFamily_ = "Courier New";
    int fontPixels_ = 16;
    bool bold_ = false;
    bool underline_ = false;
    bool rotated_ = false;
};

} // namespace kelvor::render
