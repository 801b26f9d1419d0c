// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/time_response_graph.h"

#include "kelvor_error.h"
#include "render/amplitude_graph.h"
#include "render/graph_canvas.h"
#include "timeresp/graph_gain.h"
#include "timeresp/time_response_kinds.h"
#include "timeresp/trace_synthesis.h"

#include <cmath>
#include <string>
#include <vector>

namespace kelvor::render {
namespace {

constexpr int32_t kGrey = 12632256;
constexpr int32_t kBlue = 16711680;
constexpr int kDotStep = 3;
constexpr int kZeroRow = 242;
constexpr int kPlusOneRow = 103;
constexpr int kMinusOneRow = 381;

// The parts of the frame where the twins differ.
struct FrameLayout {
    int axisX;  // the amplitude axis, and the left end of the zero line
    int labelX; // "+1" and "-1"; "0" stands 5 pixels further right
    int revisionX;
    int bottomX;
    std::string bottomText;
};

int RoundToPixel(long double value) {
    return static_cast<int>(std::nearbyint(value));
}

void DrawFrame(GraphCanvas& canvas, const TimeResponsePlotInput& input, const FrameLayout& layout) {
    canvas.Clear();
    canvas.SetPenWidth(1);
    canvas.SetPenColour(input.GraphBoxColour);
    canvas.RoundRect(0, 0, kTimeResponsePictureWidth, kTimeResponsePictureHeight, 9, 9);
    canvas.SetPenColour(kBlack);

    canvas.SetFont("Courier New", 12);
    canvas.SetFontStyle(true, true);
    canvas.TextOut(320 - 4 * static_cast<int>(input.DatafileName.size()), 12,
                   NameWithoutExtension(input.DatafileName));
    canvas.SetFontStyle(input.Bold, false);
    canvas.SetFontSize(9);
    canvas.TextOut(30, 13, "Gain " + std::to_string(input.GraphGain) + "dB");
    canvas.TextOut(layout.revisionX, 13, "Rev." + std::to_string(input.RevisionNumber));
    canvas.TextOut(layout.bottomX, 454, layout.bottomText);

    canvas.SetPenColour(kGrey);
    canvas.DrawSegment(layout.axisX, kZeroRow, 614, kZeroRow);
    canvas.DrawSegment(layout.axisX, 48, layout.axisX, 436);
    canvas.SetPenColour(kBlack);
    for (int y : {68, 137, 207, 277, 346, 415}) {
        canvas.DrawTickH(layout.axisX, y);
    }
    for (int y : {103, 172, 242, 312, 381}) {
        canvas.DrawTickCross(layout.axisX, y);
    }
    canvas.TextOut(layout.labelX, 96, "+1");
    canvas.TextOut(layout.labelX + 5, 235, "0");
    canvas.TextOut(layout.labelX, 374, "-1");
}

// One step of the trace, drawn as the plot's style asks. Flat stretches on the picture's
// limits are red: the trace has been cut there.
class TracePen {
public:
    TracePen(GraphCanvas& canvas, bool bold) : canvas_(canvas), bold_(bold) {}

    void Begin(int previousRow, int row) {
        if (row == previousRow && (row == kTraceTopRow || row == kTraceBottomRow)) {
            canvas_.SetPenColour(kRed);
        }
    }
    void Segment(int x1, int y1, int x2, int y2) {
        if (bold_) {
            canvas_.DrawBoldSegment(x1, y1, x2, y2);
        } else {
            canvas_.DrawSegment(x1, y1, x2, y2);
        }
    }
    void End() { canvas_.SetPenColour(kBlack); }

private:
    GraphCanvas& canvas_;
    bool bold_;
};

void Pause(const PlotPause& pause, PlotStage stage) {
    if (pause) {
        pause(stage);
    }
}

void CheckComplete(const HarmonicTable& table, TimeResponseKind kind) {
    if (table.kind != kind || !table.complete ||
        static_cast<int>(table.gain.size()) != table.Count()) {
        throw KelvorError("There are no harmonics to draw: calculate them first.");
    }
}

} // namespace

QImage BlankTimeResponsePicture() {
    QImage picture(kTimeResponsePictureWidth, kTimeResponsePictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

void DrawSquareWaveGraph(QImage& picture, const TimeResponsePlotInput& input,
                         const HarmonicTable& table, const PlotPause& pause) {
    CheckComplete(table, TimeResponseKind::SquareWave);
    const std::optional<SquareWaveResolution> resolution = FindSquareWaveResolution(table.groups);
    if (!resolution) {
        throw KelvorError("Resolution " + std::to_string(table.groups) + " does not exist.");
    }
    const long double scale = PlotScale(input.PlotGain, kSquareWaveUnitScale);
    GraphCanvas canvas(picture);
    DrawFrame(canvas, input,
              {46, 29, 562, 27,
               std::string("#") + resolution->letter + std::string(32, ' ') + "Frequency " +
                   input.ValueText + "Hz" + std::string(23, ' ') + input.TodayText});
    if (input.ShowOriginal) {
        canvas.DrawDottedHLine(50, 76, kMinusOneRow, kBlue, kDotStep);
        canvas.DrawDottedVLine(380, kPlusOneRow, 76, kBlue, kDotStep);
        canvas.DrawDottedHLine(76, 329, kPlusOneRow, kBlue, kDotStep);
        canvas.DrawDottedVLine(kPlusOneRow, kMinusOneRow, 329, kBlue, kDotStep);
        canvas.DrawDottedHLine(331, 582, kMinusOneRow, kBlue, kDotStep);
        canvas.DrawDottedVLine(kMinusOneRow, kPlusOneRow, 582, kBlue, kDotStep);
        canvas.DrawDottedHLine(582, 612, kPlusOneRow, kBlue, kDotStep);
    }
    Pause(pause, PlotStage::FrameDrawn);

    // The second half-period is the first one's negative mirror about the zero line, and the
    // start of the next period repeats the first columns.
    const std::vector<long double> sums = SquareWaveSums(table);
    TracePen pen(canvas, input.Bold);
    int previous = 0;
    for (int t = kSquareFirstT; t <= kSquareLastT; ++t) {
        const int row = TraceRow(sums[t - kSquareFirstT], scale, 142);
        if (t > kSquareFirstT) {
            pen.Begin(previous, row);
            pen.Segment(t + 75, previous, t + 76, row);
            pen.Segment(t + 328, 484 - previous, t + 329, 484 - row);
            if (t < 31) {
                pen.Segment(t + 581, previous, t + 582, row);
            }
            pen.End();
        }
        previous = row;
        if (t % 8 == 0) {
            Pause(pause, PlotStage::TraceColumns);
        }
    }

    // A dot every 10 degrees of the fundamental, a cross every 90.
    canvas.SetPenColour(kRed);
    for (int i = -1; i <= 38; ++i) {
        const int x = RoundToPixel(i * 14.0555555L) + 76;
        if (i % 9 == 0) {
            canvas.DrawXMark(x, kZeroRow);
        } else {
            canvas.SetPixel(x, kZeroRow);
        }
    }
    canvas.SetPenColour(kBlack);
}

void DrawPulseGraph(QImage& picture, const TimeResponsePlotInput& input, const HarmonicTable& table,
                    const PlotPause& pause) {
    CheckComplete(table, TimeResponseKind::Pulse);
    const std::optional<PulseExpansion> expansion = FindPulseExpansion(table.groups);
    if (!expansion) {
        throw KelvorError("Expansion " + std::to_string(table.groups) + " does not exist.");
    }
    const long double scale = PlotScale(input.PlotGain, kPulseUnitScale);
    const int baseline = input.Bold ? 141 : 142;
    GraphCanvas canvas(picture);
    DrawFrame(canvas, input,
              {41, 24, 560, 30,
               std::string(expansion->label) + std::string(28, ' ') + "Pulse Width " +
                   input.ValueText + "sec" + std::string(21, ' ') + input.TodayText});
    if (input.ShowOriginal) {
        const int end = expansion->idealPulseEnd;
        canvas.DrawDottedHLine(48, 68, kZeroRow, kBlue, kDotStep);
        canvas.DrawDottedVLine(kZeroRow, kPlusOneRow, 68, kBlue, kDotStep);
        canvas.DrawDottedHLine(68, end, kPlusOneRow, kBlue, kDotStep);
        canvas.DrawDottedVLine(kZeroRow, kPlusOneRow, end, kBlue, kDotStep);
        if (expansion->groups == 8) {
            // One period later the next pulse.
            canvas.DrawDottedHLine(end, 580, kZeroRow, kBlue, kDotStep);
            canvas.DrawDottedVLine(kZeroRow, kPlusOneRow, 580, kBlue, kDotStep);
            canvas.DrawDottedHLine(580, 585, kPlusOneRow, kBlue, kDotStep);
            canvas.DrawDottedVLine(kPlusOneRow, kZeroRow, 585, kBlue, kDotStep);
            canvas.DrawDottedHLine(585, 612, kZeroRow, kBlue, kDotStep);
        } else {
            canvas.DrawDottedHLine(end, 612, kZeroRow, kBlue, kDotStep);
        }
    }
    Pause(pause, PlotStage::FrameDrawn);

    const int shift = expansion->shift;
    const std::vector<long double> sums = PulseSums(table, expansion->period, shift);
    TracePen pen(canvas, input.Bold);
    int previous = 0;
    const int first = kPulseFirstTBeforeShift - shift;
    for (int t = first; t < first + kPulseColumns; ++t) {
        const int row = TraceRow(sums[t - first], scale, baseline);
        if (t > first) {
            pen.Begin(previous, row);
            pen.Segment(t + 75 + shift, previous, t + 76 + shift, row);
            pen.End();
        }
        previous = row;
        if (t % 8 == 0) {
            Pause(pause, PlotStage::TraceColumns);
        }
    }

    // A cross every tenth of the period from the leading edge; with the wider expansions also
    // a dot every pulse width.
    canvas.SetPenColour(kRed);
    const long double period = expansion->period;
    for (int i = 0; i <= 10; ++i) {
        canvas.DrawXMark(RoundToPixel(i * period / 10) + 68, kZeroRow);
    }
    if (expansion->groups > 8) {
        for (int i = 0; i <= 33; ++i) {
            canvas.SetPixel(RoundToPixel(i * period / 100) + 68, kZeroRow);
        }
    }
    canvas.SetPenColour(kBlack);
}

} // namespace kelvor::render
