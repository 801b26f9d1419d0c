// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "noise/noise_analysis.h"

#include <QColor>
#include <QString>
#include <optional>
#include <qcustomplot.h>
#include <vector>

namespace kelvor::plot {

struct PlotNoiseCurve {
    QString name;
    std::size_t generator = 0;
    std::vector<long double> density; // V/rtHz, one per frequency
};

// A noise analysis as the noise plot draws it: the output and input-referred densities, the
// largest contributors of the band as thin curves, and one of them drawn thick.
struct PlotNoise {
    std::vector<long double> frequency;
    std::vector<long double> output; // V/rtHz
    std::vector<long double> input;  // V/rtHz
    std::vector<PlotNoiseCurve> contributors;
    std::optional<std::size_t> highlighted; // index into contributors
};

inline constexpr std::size_t kPlottedContributors = 5;

// The densities of `analysis` with its five largest contributors over the band; a highlighted
// generator outside those five is drawn as well.
PlotNoise MakePlotNoise(const NoiseAnalysis& analysis,
                        std::optional<std::size_t> highlightedGenerator);

// Adds the noise curves to the axis rectangle (a logarithmic value axis) in the colours given
// for the totals and the contributors, and names them in `legend`.
void AddNoiseGraphs(QCustomPlot& plot, QCPAxisRect* rect, const PlotNoise& noise,
                    const std::vector<QColor>& colours, QCPLegend* legend);

} // namespace kelvor::plot
