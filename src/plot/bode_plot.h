// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bode/bode_curve.h"
#include "bode/bode_markers.h"
#include "plot/noise_layers.h"
#include "plot/spread_layers.h"

#include <QColor>
#include <QString>
#include <optional>
#include <qcustomplot.h>
#include <vector>

namespace kelvor::plot {

// Which plots are stacked, top to bottom; Zin and Zout share the impedance plot.
struct QuantityChoice {
    bool gain = true;
    bool phase = true;
    bool unwrappedPhase = false;
    bool groupDelay = true;
    bool zin = true;
    bool zout = true;
    bool noise = false;
};

struct PlotTrace {
    QString title;
    BodeCurve curve;
    bool visible = true;
};

struct PlotMarker {
    double frequency = 0;
    QString label;
};

// Trace colours; further traces take them again with another line pattern.
inline constexpr int kMostTraces = 8;

// The automatic markers that have a place on the frequency axis, with short labels.
std::vector<PlotMarker> PlaceableMarkers(const std::vector<BodeMarker>& markers);

// The stacked Bode plots of up to eight traces on one logarithmic frequency axis: gain (dB),
// phase (degrees), group delay (seconds), |Zin|, |Zout| (ohms, log axis) and the current
// Datafile's noise densities (V/rtHz, log axis), with a grid,
// legends, marker lines and a cursor line, drawn in the colours of the widget's palette.
// The wheel zooms the frequency axis, dragging pans, dragging with Shift held zooms to the
// dragged rectangle; the frequency axes of all plots move together. Each value axis fits what
// is visible of its curves until the user drags it; fit() lets it follow again.
class BodePlot : public QCustomPlot {
    Q_OBJECT

public:
    explicit BodePlot(QWidget* parent = nullptr);

    void setTraces(std::vector<PlotTrace> traces);
    const std::vector<PlotTrace>& traces() const { return traces_; }
    void setQuantities(const QuantityChoice& choice);
    void setMarkers(std::vector<PlotMarker> markers);
    // The cursor line, or none.
    void setCursorFrequency(std::optional<double> frequency);
    // A line above the plots (title, Datafile, date) for pictures and printouts; empty for none.
    void setHeading(const QString& heading);
    // A tolerance analysis's spread under the gain and phase curves, or none.
    void setSpread(std::optional<PlotSpread> spread);
    const std::optional<PlotSpread>& spread() const { return spread_; }
    // The noise analysis of the current Datafile for the noise plot, or none.
    void setNoise(std::optional<PlotNoise> noise);
    const std::optional<PlotNoise>& noise() const { return noise_; }
    std::optional<double> cursorFrequency() const { return cursor_; }

    // Shows every point of the visible traces.
    void fit();
    QCPRange frequencyView() const { return view_; }
    void setFrequencyView(const QCPRange& view);

    // The colour of trace `index`, readable on a light or a dark background.
    static QColor TraceColour(int index, bool darkBackground);

signals:
    void cursorMoved(double frequency);
    void cursorLeft();
    // A press and release at one place (not a drag): pin a marker there.
    void clickedAt(double frequency);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    enum class Section { Gain, Phase, GroupDelay, Impedance, Noise };
    static constexpr std::size_t kSectionCount = 5;

    void Rebuild();
    QCPAxisRect* AddSection(Section section, bool last);
    void AddGraphs(QCPAxisRect* rect, Section section, QCPLegend* legend);
    void AddMarkerLines();
    void StyleAxes(QCPAxisRect* rect);
    std::optional<double> FrequencyAt(const QPointF& position) const;
    void SyncFrequencyAxes(const QCPRange& range);
    // Each marker label in the first row where it overlaps neither another label nor the legend;
    // none where no row has room. Runs once the plots are laid out, before they are drawn.
    void PlaceMarkerLabels();
    // Each value axis the user has not dragged fits what is visible of its curves.
    void FitValueAxes();
    bool DarkBackground() const;

    std::vector<PlotTrace> traces_;
    QuantityChoice choice_;
    std::vector<PlotMarker> markers_;
    std::optional<PlotSpread> spread_;
    std::optional<PlotNoise> noise_;
    std::optional<double> cursor_;
    QString heading_;
    // Every marker and cursor line and marker label, which a change of markers alone replaces.
    std::vector<QCPAbstractItem*> markerItems_;
    std::vector<QCPItemStraightLine*> cursorLines_;
    std::vector<std::pair<QCPItemText*, double>> markerLabels_; // with its frequency
    QCPLegend* traceLegend_ = nullptr;
    std::vector<QCPAxisRect*> rects_;
    std::vector<Section> sections_; // of rects_, one each
    // The value ranges the user dragged to, per section; kept while the plots are rebuilt.
    std::optional<QCPRange> draggedValues_[kSectionCount];
    bool fittingValues_ = false;
    bool valueDrag_ = false; // the drag under way has moved far enough up or down
    QCPMarginGroup* marginGroup_ = nullptr;
    QCPRange view_{1, 10};
    bool viewSet_ = false;
    bool syncing_ = false;
    QPoint pressPosition_;
};

} // namespace kelvor::plot
