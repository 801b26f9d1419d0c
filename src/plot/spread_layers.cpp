// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/spread_layers.h"

namespace kelvor::plot {
namespace {

constexpr int kEnvelopeAlpha = 45;
constexpr int kBandAlpha = 90;
constexpr int kFailingAlpha = 110;

QVector<double> Values(const std::vector<long double>& values,
                       const std::vector<long double>* shift) {
    QVector<double> plotted(static_cast<qsizetype>(values.size()));
    for (std::size_t index = 0; index < values.size(); ++index) {
        plotted[static_cast<qsizetype>(index)] =
            static_cast<double>(shift != nullptr ? values[index] + (*shift)[index] : values[index]);
    }
    return plotted;
}

} // namespace

PlotSpread MakePlotSpread(const ToleranceAnalysis& analysis, bool withFailingRuns) {
    PlotSpread spread;
    spread.frequency = analysis.nominal.frequency;
    spread.gain = analysis.gain;
    spread.phase = analysis.phase;
    spread.worstCase = analysis.worstCase;
    for (std::size_t index = 0; index < analysis.nominal.size(); ++index) {
        spread.phaseWrapShift.push_back(analysis.nominal.phase[index] -
                                        analysis.nominal.unwrappedPhase[index]);
    }
    if (withFailingRuns) {
        const std::size_t points = analysis.nominal.size();
        for (int run : analysis.mask.failingRuns) {
            const long double* gain = analysis.runs.Gain(run);
            spread.failingGains.emplace_back(gain, gain + points);
        }
    }
    return spread;
}

void AddSpreadGraphs(QCustomPlot& plot, QCPAxisRect* rect, const PlotSpread& spread,
                     SpreadQuantity quantity, bool unwrappedPhase, const QColor& colour,
                     const QColor& failColour, QCPLegend* legend) {
    if (spread.frequency.empty()) {
        return;
    }
    const bool gain = quantity == SpreadQuantity::Gain;
    const Envelope& envelope = gain ? spread.gain : spread.phase;
    const std::vector<long double>* shift =
        gain || unwrappedPhase ? nullptr : &spread.phaseWrapShift;
    const QVector<double> keys = Values(spread.frequency, nullptr);
    const auto add = [&](const std::vector<long double>& values, const QPen& pen) {
        QCPGraph* graph = plot.addGraph(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
        graph->setData(keys, Values(values, shift), true);
        graph->setPen(pen);
        return graph;
    };
    const auto band = [&](const std::vector<long double>& low, const std::vector<long double>& high,
                          int alpha, const QString& name) {
        QColor fill = colour;
        fill.setAlpha(alpha);
        QCPGraph* lower = add(low, Qt::NoPen);
        QCPGraph* upper = add(high, Qt::NoPen);
        upper->setChannelFillGraph(lower);
        upper->setBrush(fill);
        upper->setName(name);
        if (legend != nullptr) {
            upper->addToLegend(legend);
        }
    };
    band(envelope.lowest, envelope.highest, kEnvelopeAlpha, QObject::tr("Min\u2013max"));
    band(envelope.low5, envelope.high95, kBandAlpha, QObject::tr("5\u201395 %"));
    if (gain) {
        QColor fail = failColour;
        fail.setAlpha(kFailingAlpha);
        for (const std::vector<long double>& run : spread.failingGains) {
            add(run, QPen(fail, 0.8));
        }
    }
    const QPen dashed(colour, 1.2, Qt::DashLine);
    QCPGraph* worstLow = add(gain ? spread.worstCase.gainLow : spread.worstCase.phaseLow, dashed);
    add(gain ? spread.worstCase.gainHigh : spread.worstCase.phaseHigh, dashed);
    worstLow->setName(QObject::tr("Worst case"));
    if (legend != nullptr) {
        worstLow->addToLegend(legend);
    }
}

} // namespace kelvor::plot
