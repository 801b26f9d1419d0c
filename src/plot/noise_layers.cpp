// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/noise_layers.h"

#include <cmath>
#include <limits>

namespace kelvor::plot {
namespace {

// A density of zero has no place on the logarithmic axis: the curve breaks there.
QVector<double> Positive(const std::vector<long double>& values) {
    QVector<double> plotted;
    plotted.reserve(static_cast<qsizetype>(values.size()));
    for (long double value : values) {
        plotted.push_back(value > 0 ? static_cast<double>(value)
                                    : std::numeric_limits<double>::quiet_NaN());
    }
    return plotted;
}

constexpr double kTotalWidth = 1.5;
constexpr double kContributorWidth = 1;
constexpr double kHighlightedWidth = 3;
constexpr int kLegendColumns = 2;

} // namespace

PlotNoise MakePlotNoise(const NoiseAnalysis& analysis,
                        std::optional<std::size_t> highlightedGenerator) {
    PlotNoise noise;
    for (const NoiseDensityPoint& point : analysis.points) {
        noise.frequency.push_back(point.frequency);
        noise.output.push_back(point.output);
        noise.input.push_back(point.input);
    }
    const auto addCurve = [&](std::size_t generator) {
        PlotNoiseCurve curve{
            QString::fromStdString(analysis.generators[generator].Name()), generator, {}};
        for (const NoiseDensityPoint& point : analysis.points) {
            curve.density.push_back(std::sqrt(point.powers[generator]));
        }
        if (highlightedGenerator == generator) {
            noise.highlighted = noise.contributors.size();
        }
        noise.contributors.push_back(std::move(curve));
    };
    const std::vector<NoiseContributor>& ranked = analysis.band.ranked;
    for (std::size_t rank = 0; rank < ranked.size() && rank < kPlottedContributors; ++rank) {
        addCurve(ranked[rank].generator);
    }
    if (highlightedGenerator && *highlightedGenerator < analysis.generators.size() &&
        !noise.highlighted) {
        addCurve(*highlightedGenerator);
    }
    return noise;
}

void AddNoiseGraphs(QCustomPlot& plot, QCPAxisRect* rect, const PlotNoise& noise,
                    const std::vector<QColor>& colours, QCPLegend* legend) {
    const QVector<double> keys = Positive(noise.frequency);
    const auto colour = [&](std::size_t index) { return colours[index % colours.size()]; };
    const auto add = [&](const std::vector<long double>& values, const QPen& pen,
                         const QString& name) {
        QCPGraph* graph = plot.addGraph(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
        graph->setData(keys, Positive(values), true);
        graph->setPen(pen);
        graph->setName(name);
        if (legend != nullptr) {
            graph->addToLegend(legend);
        }
    };
    // The contributors first, so that the totals are drawn over them.
    for (std::size_t index = 0; index < noise.contributors.size(); ++index) {
        const bool thick = noise.highlighted == index;
        add(noise.contributors[index].density,
            QPen(colour(index + 2), thick ? kHighlightedWidth : kContributorWidth),
            noise.contributors[index].name);
    }
    add(noise.output, QPen(colour(0), kTotalWidth), QStringLiteral("Output"));
    add(noise.input, QPen(colour(1), kTotalWidth, Qt::DashLine), QStringLiteral("Input-referred"));
    if (legend != nullptr) {
        // Side by side, so that seven names do not cover the plot's height.
        legend->setWrap(kLegendColumns);
        legend->setFillOrder(QCPLayoutGrid::foColumnsFirst, true);
    }
}

} // namespace kelvor::plot
