// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tolerance/tolerance_analysis.h"

#include <QColor>
#include <qcustomplot.h>
#include <vector>

namespace kelvor::plot {

// The spread of a tolerance analysis, drawn under the curves of the gain and phase plots: the
// min-max envelope and the 5-95 % band shaded, the worst-case pair dashed, and the runs that
// fail the gain mask as thin lines.
struct PlotSpread {
    std::vector<long double> frequency;
    Envelope gain;
    Envelope phase; // on the nominal's unwrapped scale
    WorstCase worstCase;
    // Whole turns that move the unwrapped scale onto the nominal's wrapped phase, per point.
    std::vector<long double> phaseWrapShift;
    std::vector<std::vector<long double>> failingGains;
};

PlotSpread MakePlotSpread(const ToleranceAnalysis& analysis, bool withFailingRuns);

enum class SpreadQuantity { Gain, Phase };

// Adds the spread's graphs to the axis rectangle, before the curves so that they lie beneath
// them, in shades of `colour`, and names them in `legend` when it is given.
void AddSpreadGraphs(QCustomPlot& plot, QCPAxisRect* rect, const PlotSpread& spread,
                     SpreadQuantity quantity, bool unwrappedPhase, const QColor& colour,
                     const QColor& failColour, QCPLegend* legend);

} // namespace kelvor::plot
