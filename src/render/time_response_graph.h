// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "timeresp/harmonic_table.h"

#include <QImage>
#include <cstdint>
#include <functional>
#include <string>

namespace kelvor::render {

// The square-wave and pulse pictures: 643 by 485 pixels, placed at 46, 24 in the graph window.
inline constexpr int kTimeResponsePictureWidth = 643;
inline constexpr int kTimeResponsePictureHeight = 485;
inline constexpr int kTimeResponsePictureLeft = 46;
inline constexpr int kTimeResponsePictureTop = 24;

// Everything a square-wave or pulse picture is drawn from besides the harmonic table.
struct TimeResponsePlotInput {
    int32_t GraphGain = 0;    // dB, as the gain box shows it
    long double PlotGain = 0; // dB, what the trace is scaled by
    int32_t GraphBoxColour = 12632256;
    bool Bold = false;
    bool ShowOriginal = true;
    std::string ValueText; // SqFStr or WidthStr as typed
    std::string DatafileName;
    int32_t RevisionNumber = 0;
    std::string TodayText;
};

// Where the drawing has got to, for a window that shows the picture growing.
enum class PlotStage { FrameDrawn, TraceColumns };
using PlotPause = std::function<void(PlotStage stage)>;

// A white picture of the plot's size.
QImage BlankTimeResponsePicture();

// Clears the picture and draws the whole plot. `pause` is called once the frame, texts and
// axes are drawn and after every 8 trace columns. The table must be complete and of a
// resolution (4, 16, 64 groups) or expansion (8, 32, 128) that exists; otherwise KelvorError.
void DrawSquareWaveGraph(QImage& picture, const TimeResponsePlotInput& input,
                         const HarmonicTable& table, const PlotPause& pause = {});
void DrawPulseGraph(QImage& picture, const TimeResponsePlotInput& input, const HarmonicTable& table,
                    const PlotPause& pause = {});

} // namespace kelvor::render
