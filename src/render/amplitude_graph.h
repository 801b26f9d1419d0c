// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/frequency_scale.h"

#include <QImage>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kelvor::render {

inline constexpr int kAmplitudePictureWidth = 703;
inline constexpr int kAmplitudePictureHeight = 531;

// Everything the amplitude graph is drawn from, so that the graph window, its printout and the
// command-line tool draw the same pixels from the same values.
struct AmplitudeGraphInput {
    int32_t FCode = 8;
    std::array<long double, kSweepColumns> SweepGain{}; // index 0 is column 23
    std::string UserFreqLabels;                         // the label row of FCode 0
    int32_t GraphScale = 25;                            // one of kScaleList
    int32_t GraphTop = 0;
    bool Bold = false;
    bool GridLinesPending = false;
    int32_t PenColour = 0; // the curve's colour, red in the low byte
    std::string DatafileName;
    int32_t RevisionNumber = 0;
    std::string TodayText;
};

// The dB axis of a span: V labelled divisions over the 400 pixels of the graph's height, D dB
// apart.
struct DbDivisions {
    double V;
    int32_t D;
};

// nullopt for a span that is not one of the permitted ones.
std::optional<DbDivisions> DbDivisionsFor(int32_t graphScale);

// The curve's pixel row for a gain: GraphTop on row 59, GraphTop - GraphScale on row 459, gains
// above the top on row 35, and at most 32767.
int CurveRow(long double gain, int32_t graphScale, int32_t graphTop, bool bold);

// The title: the Datafile's name without its extension.
std::string NameWithoutExtension(const std::string& name);

// Draws the frame, ticks, labels, grid (when pending) and the curve over what the picture
// already holds, so that curves can be superimposed. The picture must not be null; a span that
// is not permitted throws KelvorError before anything is drawn.
void DrawAmplitudeGraph(QImage& picture, const AmplitudeGraphInput& input);

// A white picture of the amplitude graph's size.
QImage BlankAmplitudePicture();

} // namespace kelvor::render
