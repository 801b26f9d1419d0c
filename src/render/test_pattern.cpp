// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/test_pattern.h"

#include "render/graph_canvas.h"

#include <array>

namespace kelvor::render {
namespace {

constexpr std::array<int32_t, 16> kStrokeColours = {
    0,        128, 32768, 32896,    8388608,  8388736,  8421376, 8421504,
    12632256, 255, 65280, 16711680, 16776960, 16711935, 65535,   16777215};

} // namespace

QImage DrawTestPattern(const std::string& datafileName, const std::string& dateText) {
    QImage picture(kTestPatternWidth, kTestPatternHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    GraphCanvas canvas(picture);

    canvas.SetFont("Arial", 10);
    canvas.SetFontStyle(false, true);
    canvas.SetPenColour(kRed);
    canvas.TextOut(260, 90, "TEST PATTERN");
    canvas.SetFontStyle(false, false);
    canvas.Polyline({{0, 30}, {0, 0}, {30, 0}});

    canvas.SetPenColour(kBlack);
    canvas.DrawSegment(10, 100, 11, 120);
    canvas.DrawBoldSegment(11, 120, 12, 140);
    canvas.DrawSegment(20, 100, 35, 100);
    canvas.DrawBoldSegment(37, 100, 50, 100);
    canvas.DrawSegment(10, 140, 30, 160);
    canvas.DrawBoldSegment(10, 150, 30, 170);
    canvas.DrawSegment(10, 200, 30, 180);
    canvas.DrawBoldSegment(10, 205, 30, 185);

    canvas.RoundRect(44, 213, 377, 292, 16, 16);

    canvas.Polyline({{609, 0}, {639, 0}, {639, 30}});
    canvas.Polyline({{0, 449}, {0, 479}, {30, 479}});
    canvas.Polyline({{609, 479}, {639, 479}, {639, 449}});

    canvas.Line(0, 0, 639, 479);
    canvas.Line(0, 479, 639, 0);
    canvas.Line(0, 0, 480, 480);
    canvas.SetPixel(0, 0, Qt::white);
    canvas.SetPixel(639, 479, Qt::white);

    canvas.SetPenWidth(17);
    for (int i = 0; i < 16; ++i) {
        canvas.SetPenColour(kStrokeColours[i]);
        canvas.Line(60 + 20 * i, 225, 64 + 20 * i, 280);
    }
    canvas.SetPenWidth(1);
    canvas.SetPenColour(kBlack);

    canvas.SetFontStyle(true, false);
    canvas.TextOut(170, 430, datafileName + std::string(6, ' ') + dateText);
    canvas.SetFontStyle(false, false);
    return picture;
}

QImage DrawBigPcbPicture(const QImage& pattern, const QImage& tile) {
    QImage picture(kBigPcbWidth, kBigPcbHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    GraphCanvas canvas(picture);
    canvas.DrawImage(0, 0, pattern);
    for (int i = 0; i <= 5; ++i) {
        for (int j = 0; j <= 3; ++j) {
            canvas.DrawImage(kPcbTileStep * i, kPcbTileStep * j, tile);
        }
    }
    return picture;
}

} // namespace kelvor::render
