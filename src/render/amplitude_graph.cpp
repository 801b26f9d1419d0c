// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/amplitude_graph.h"

#include "kelvor_error.h"
#include "render/frequency_grid.h"
#include "render/graph_canvas.h"
#include "text/concat.h"
#include "text/words.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace kelvor::render {
namespace {

constexpr int kTopRow = 35;
constexpr int kBottomRowLimit = 32767;
// Graph column n is drawn at pixel x = n + 37.
constexpr int kColumnToPixel = 37;

struct SpanDivisions {
    int32_t span;
    DbDivisions divisions;
};

constexpr SpanDivisions kSpanDivisions[] = {
    {5, {5, 1}},       {10, {5, 2}},     {15, {7.5, 2}},  {20, {4, 5}},     {25, {5, 5}},
    {30, {6, 5}},      {35, {7, 5}},     {40, {4, 10}},   {45, {4.5, 10}},  {50, {5, 10}},
    {55, {5.5, 10}},   {60, {6, 10}},    {65, {6.5, 10}}, {70, {7, 10}},    {75, {7.5, 10}},
    {80, {4, 20}},     {90, {4.5, 20}},  {100, {5, 20}},  {110, {5.5, 20}}, {120, {6, 20}},
    {125, {6.25, 20}}, {130, {6.5, 20}}, {140, {7, 20}},  {150, {7.5, 20}}, {175, {3.5, 50}},
    {200, {4, 50}},    {225, {4.5, 50}}, {250, {5, 50}},  {275, {5.5, 50}}, {300, {6, 50}},
};

// Pixel coordinates round halves to the even neighbour.
int RoundToPixel(double value) {
    return static_cast<int>(std::nearbyint(value));
}

// Minor ticks every tenth of a labelled division, majors every half division (every fifth for
// steps of 5 and 50 dB), and the grid at the labels.
void DrawDbTicks(GraphCanvas& canvas, const DbDivisions& divisions, bool grid) {
    const bool fifths = divisions.D == 5 || divisions.D == 50;
    double y = 43 - 400 / divisions.V;
    int i = 0;
    do {
        const int r = RoundToPixel(y);
        if (r > 18) {
            canvas.DrawMinorDbTick(r + 16);
            if (i % 10 == 0 && grid) {
                canvas.DrawDottedHLine(63, 677, r + 16, kSilver, 2);
            }
            if (fifths ? i % 2 == 0 : i % 5 == 0) {
                canvas.DrawMajorDbTick(r + 16);
            }
        }
        ++i;
        y = y + 40 / divisions.V;
    } while (y <= 469);
}

void DrawMajorLine(GraphCanvas& canvas, int column, bool grid) {
    const int x = column + kColumnToPixel;
    canvas.DrawVTick(x, 31, 2);
    canvas.DrawVTick(x, 488, -5);
    if (grid) {
        canvas.DrawDottedVLine(35, 481, x, kSilver, 2);
    }
}

void DrawMinorTicks(GraphCanvas& canvas, int column) {
    const int x = column + kColumnToPixel;
    canvas.DrawVTick(x, 31, 0);
    canvas.DrawVTick(x, 488, -2);
}

void DrawFrequencyTicks(GraphCanvas& canvas, int graphKind, bool grid) {
    for (int k = 0; k < kGridColumnsPerRow; ++k) {
        const int major = kMajorColumns[graphKind][k] + kColumnToPixel;
        const int minor = kMinorColumns[graphKind][k] + kColumnToPixel;
        canvas.DrawVTick(major, 31, 2);
        canvas.DrawVTick(minor, 31, 0);
        canvas.DrawVTick(major, 488, -5);
        canvas.DrawVTick(minor, 488, -2);
        if (grid) {
            canvas.DrawDottedVLine(35, 481, major, kSilver, 2);
        }
    }
    if (graphKind == 4) {
        for (int column : kKind4ExtraMajorColumns) {
            DrawMajorLine(canvas, column, grid);
        }
    }
    if (graphKind == 6) {
        for (int row : {7, 8}) {
            for (int column : kMinorColumns[row]) {
                DrawMinorTicks(canvas, column);
            }
        }
    }
}

void DrawCurve(GraphCanvas& canvas, const AmplitudeGraphInput& input) {
    int previous = CurveRow(input.SweepGain[0], input.GraphScale, input.GraphTop, input.Bold);
    for (int n = kFirstSweepColumn + 1; n <= kLastSweepColumn; ++n) {
        const int row = CurveRow(input.SweepGain[n - kFirstSweepColumn], input.GraphScale,
                                 input.GraphTop, input.Bold);
        if (input.Bold) {
            canvas.DrawBoldSegment(n + 36, previous, n + 37, row);
        } else {
            canvas.DrawSegment(n + 36, previous, n + 37, row);
        }
        previous = row;
    }
}

std::string DbLabel(int32_t m) {
    // Four characters at most fit left of the axis.
    return CutText(RightAlign(std::to_string(m), 3), 4);
}

// Returns the width in characters of the widest label in the upper part of the axis, which the
// axis title keeps clear of.
int DrawDbLabels(GraphCanvas& canvas, const DbDivisions& divisions, int32_t graphTop) {
    double y = 43;
    int64_t m = graphTop;
    int widest = 1;
    do {
        const int r = RoundToPixel(y);
        canvas.DrawSegment(57, r + 16, 63, r + 16);
        canvas.DrawSegment(681, r + 16, 677, r + 16);
        const int32_t label = static_cast<int32_t>(std::clamp<int64_t>(m, INT32_MIN, INT32_MAX));
        canvas.TextOut(label < -99 ? 28 : 34, r + 9, DbLabel(label));
        if (r < 325) {
            widest = std::max(widest, static_cast<int>(std::to_string(label).size()));
        }
        y = y + 400 / divisions.V;
        m -= divisions.D;
    } while (y <= 450);
    return widest;
}

void DrawAxisTitle(GraphCanvas& canvas, int widest) {
    canvas.SetFontSize(11);
    canvas.UseRotatedFont();
    canvas.TextOut(24 - 3 * widest, 307, "A");
    canvas.SetFontSize(9);
    canvas.UseRotatedFont();
    canvas.TextOut(26 - 3 * widest, 296, "m");
    canvas.TextOut(26 - 3 * widest, 287, "plitude (dB)");
    canvas.SetFontSize(8);
}

} // namespace

std::optional<DbDivisions> DbDivisionsFor(int32_t graphScale) {
    for (const SpanDivisions& entry : kSpanDivisions) {
        if (entry.span == graphScale) {
            return entry.divisions;
        }
    }
    return std::nullopt;
}

int CurveRow(long double gain, int32_t graphScale, int32_t graphTop, bool bold) {
    const long double y0 = bold ? 59.0L : 59.5L;
    const long double y = 400.0L / graphScale * (graphTop - gain) + y0;
    // Limited before truncation, so that a gain far off the scale cannot overflow the integer.
    if (!(y < kBottomRowLimit)) {
        return kBottomRowLimit;
    }
    if (y < kTopRow) {
        return kTopRow;
    }
    return static_cast<int>(std::trunc(y));
}

std::string NameWithoutExtension(const std::string& name) {
    const std::size_t dot = name.find_last_of('.');
    const std::size_t folder = name.find_last_of("/\\:");
    if (dot == std::string::npos || (folder != std::string::npos && dot < folder)) {
        return name;
    }
    return name.substr(0, dot);
}

QImage BlankAmplitudePicture() {
    QImage picture(kAmplitudePictureWidth, kAmplitudePictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

void DrawAmplitudeGraph(QImage& picture, const AmplitudeGraphInput& input) {
    const std::optional<DbDivisions> divisions = DbDivisionsFor(input.GraphScale);
    if (!divisions) {
        throw KelvorError("GraphScale " + std::to_string(input.GraphScale) +
                          " is not one of the permitted dB spans");
    }
    // A scale the sweep could not have used is drawn as the default range, never as garbage.
    const int32_t fcode = input.FCode >= 0 && input.FCode <= kHighestFCode ? input.FCode : 8;

    GraphCanvas canvas(picture);
    canvas.SetPenColour(kBlack);
    canvas.SetPenWidth(1);

    canvas.SetFont("Courier New", 12);
    canvas.SetFontStyle(true, true);
    const int titleX = 359 - static_cast<int>(9 * input.DatafileName.size()) / 2;
    canvas.TextOut(titleX, 9, NameWithoutExtension(input.DatafileName));

    canvas.SetFontStyle(input.Bold, false);
    canvas.SetFontSize(9);
    canvas.TextOut(596, 13, "Rev." + std::to_string(input.RevisionNumber));

    DrawDbTicks(canvas, *divisions, input.GridLinesPending);
    DrawFrequencyTicks(canvas, GraphKindOf(fcode), input.GridLinesPending);

    canvas.SetPenColour(input.PenColour);
    DrawCurve(canvas, input);
    canvas.SetPenColour(kBlack);

    canvas.SetFontSize(9);
    canvas.TextOut(48, 501,
                   Concat({"#", std::to_string(fcode), std::string(35, ' '), "Frequency (Hz)",
                           std::string(24, ' '), input.TodayText, std::string(9, ' ')}));
    canvas.TextOut(1, 516, std::string(600, ' '));

    canvas.SetFontSize(8);
    const std::string& labels = fcode == 0 ? input.UserFreqLabels : FreqLabelRow(fcode);
    canvas.TextOut(40, 488, "   " + labels + "  ");

    canvas.DrawSegment(57, 30, 57, 488);
    canvas.DrawSegment(57, 488, 681, 488);

    const int widest = DrawDbLabels(canvas, *divisions, input.GraphTop);
    DrawAxisTitle(canvas, widest);
}

} // namespace kelvor::render
