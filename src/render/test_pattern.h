// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <string>

namespace kelvor::render {

inline constexpr int kTestPatternWidth = 640;
inline constexpr int kTestPatternHeight = 480;
inline constexpr int kBigPcbWidth = 768;
inline constexpr int kBigPcbHeight = 512;
inline constexpr int kPcbTileStep = 128;

// The setup window's check of the display and the printer: a labelled white picture of 640 by
// 480 pixels with corner marks, diagonals, thin and bold line samples, a rounded rectangle, and
// sixteen thick strokes in the sixteen basic colours, with the Datafile's name and the date.
QImage DrawTestPattern(const std::string& datafileName, const std::string& dateText);

// The big-bitmap option: the pattern in the top-left corner of a white 768 by 512 picture,
// covered by the tile at the 24 positions of a 6 by 4 grid of 128 pixels.
QImage DrawBigPcbPicture(const QImage& pattern, const QImage& tile);

} // namespace kelvor::render
