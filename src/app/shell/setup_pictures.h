// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>

namespace kelvor::app {

inline constexpr int kLogoWidth = 201;
inline constexpr int kLogoHeight = 57;

// The setup window's logo: the program's name over a square wave and its rounded response, in
// the graph window's colours.
QImage SetupLogo();

// The setup window's icon: a square wave on a navy tile.
QIcon SetupIcon();

} // namespace kelvor::app
