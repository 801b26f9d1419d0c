// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/bode_plot.h"

#include "plot/unit_tickers.h"
#include "solver/response.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>

namespace kelvor::plot {
namespace {

constexpr double kNotPlotted = std::numeric_limits<double>::quiet_NaN();
// A layout row with this stretch takes no more height than its content needs.
constexpr double kLeastStretch = 0.001;
// A press and release closer than this (pixels) is a click, not a drag.
constexpr int kClickSlop = 3;
// A drag must move this far up or down (pixels) before it moves a value axis, so that panning
// along the frequency axis leaves the values fitting what is visible.
constexpr int kValueDragSlop = 6;
constexpr double kPhaseTickStep = 45;
// Most phase ticks on the axis before the step doubles; fewer than 2 steps of 45 degrees get
// the usual round steps instead, so a narrow span still shows several labels.
constexpr double kMostPhaseTicks = 8;

// Phase ticks at multiples of 45 degrees where the span holds a few of them, else round steps.
class PhaseTicker : public QCPAxisTicker {
protected:
    double getTickStep(const QCPRange& range) override {
        if (range.size() < 2 * kPhaseTickStep) {
            return QCPAxisTicker::getTickStep(range);
        }
        double step = kPhaseTickStep;
        while (range.size() / step > kMostPhaseTicks) {
            step *= 2;
        }
        return step;
    }
};

QVector<double> Plotted(const std::vector<long double>& values, bool positiveOnly = false) {
    QVector<double> plotted;
    plotted.reserve(static_cast<qsizetype>(values.size()));
    for (long double value : values) {
        plotted.push_back(positiveOnly && !(value > 0) ? kNotPlotted : static_cast<double>(value));
    }
    return plotted;
}

QVector<double> PlottedGain(const std::vector<long double>& gain) {
    QVector<double> plotted = Plotted(gain);
    for (qsizetype index = 0; index < plotted.size(); ++index) {
        if (gain[static_cast<std::size_t>(index)] < kNoOutputGain) {
            plotted[index] = kNotPlotted;
        }
    }
    return plotted;
}

QVector<double> Magnitudes(const std::vector<long double>& values) {
    std::vector<long double> magnitudes(values.size());
    std::transform(values.begin(), values.end(), magnitudes.begin(),
                   [](long double value) { return std::fabs(value); });
    return Plotted(magnitudes, true);
}

} // namespace

std::vector<PlotMarker> PlaceableMarkers(const std::vector<BodeMarker>& markers) {
    std::vector<PlotMarker> placed;
    for (const BodeMarker& marker : markers) {
        if (marker.found && marker.frequency > 0) {
            placed.push_back(
                {static_cast<double>(marker.frequency), QString::fromStdString(marker.name)});
        }
    }
    return placed;
}

BodePlot::BodePlot(QWidget* parent) : QCustomPlot(parent) {
    setAutoAddPlottableToLegend(false);
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    setMouseTracking(true);
    marginGroup_ = new QCPMarginGroup(this);
    connect(this, &QCustomPlot::afterLayout, this, &BodePlot::PlaceMarkerLabels);
    Rebuild();
}

QColor BodePlot::TraceColour(int index, bool darkBackground) {
    // Eight colours that stay apart for the common kinds of colour blindness; lighter ones on a
    // dark background.
    static const QColor kOnLight[kMostTraces] = {{0, 90, 181},   {220, 50, 32}, {0, 140, 70},
                                                 {150, 60, 170}, {230, 140, 0}, {0, 150, 170},
                                                 {140, 90, 40},  {90, 90, 90}};
    static const QColor kOnDark[kMostTraces] = {{100, 170, 255}, {255, 120, 100}, {90, 220, 130},
                                                {210, 150, 255}, {255, 200, 80},  {90, 220, 235},
                                                {220, 170, 120}, {200, 200, 200}};
    const int slot = ((index % kMostTraces) + kMostTraces) % kMostTraces;
    return darkBackground ? kOnDark[slot] : kOnLight[slot];
}

bool BodePlot::DarkBackground() const {
    return palette().color(QPalette::Base).lightness() < 128;
}

void BodePlot::setTraces(std::vector<PlotTrace> traces) {
    traces_ = std::move(traces);
    Rebuild();
}

void BodePlot::setQuantities(const QuantityChoice& choice) {
    choice_ = choice;
    Rebuild();
}

void BodePlot::setMarkers(std::vector<PlotMarker> markers) {
    markers_ = std::move(markers);
    // Only the lines and labels change: the curves, tens of thousands of points at a fine
    // density, stay as they are. The cursor lines are made again after the markers, so they
    // stay on top as a full rebuild leaves them.
    for (QCPAbstractItem* item : markerItems_) {
        removeItem(item);
    }
    markerItems_.clear();
    cursorLines_.clear();
    markerLabels_.clear();
    AddMarkerLines();
    replot(QCustomPlot::rpQueuedReplot);
}

void BodePlot::setHeading(const QString& heading) {
    heading_ = heading;
    Rebuild();
}

void BodePlot::setSpread(std::optional<PlotSpread> spread) {
    spread_ = std::move(spread);
    Rebuild();
}

void BodePlot::setNoise(std::optional<PlotNoise> noise) {
    noise_ = std::move(noise);
    Rebuild();
}

void BodePlot::setCursorFrequency(std::optional<double> frequency) {
    cursor_ = frequency;
    for (QCPItemStraightLine* line : cursorLines_) {
        line->setVisible(frequency.has_value());
        if (frequency) {
            line->point1->setCoords(*frequency, 0);
            line->point2->setCoords(*frequency, 1);
        }
    }
    replot(QCustomPlot::rpQueuedReplot);
}

void BodePlot::fit() {
    double low = 0;
    double high = 0;
    for (const PlotTrace& trace : traces_) {
        if (!trace.visible || trace.curve.size() == 0) {
            continue;
        }
        const auto front = static_cast<double>(trace.curve.frequency.front());
        const auto back = static_cast<double>(trace.curve.frequency.back());
        low = low == 0 ? front : std::min(low, front);
        high = std::max(high, back);
    }
    viewSet_ = false;
    for (std::optional<QCPRange>& dragged : draggedValues_) {
        dragged.reset();
    }
    if (high > low) {
        view_ = QCPRange(low, high);
        viewSet_ = true;
    }
    Rebuild();
}

void BodePlot::setFrequencyView(const QCPRange& view) {
    view_ = view;
    viewSet_ = true;
    SyncFrequencyAxes(view);
    replot(QCustomPlot::rpQueuedReplot);
}

void BodePlot::Rebuild() {
    clearItems();
    clearGraphs();
    markerItems_.clear();
    cursorLines_.clear();
    markerLabels_.clear();
    traceLegend_ = nullptr;
    rects_.clear();
    sections_.clear();
    plotLayout()->clear();
    plotLayout()->simplify();
    if (!viewSet_) {
        for (const PlotTrace& trace : traces_) {
            if (trace.curve.size() > 1) {
                view_ = QCPRange(static_cast<double>(trace.curve.frequency.front()),
                                 static_cast<double>(trace.curve.frequency.back()));
                viewSet_ = true;
                break;
            }
        }
    }

    std::vector<Section> sections;
    if (choice_.gain) {
        sections.push_back(Section::Gain);
    }
    if (choice_.phase) {
        sections.push_back(Section::Phase);
    }
    if (choice_.groupDelay) {
        sections.push_back(Section::GroupDelay);
    }
    if (choice_.zin || choice_.zout) {
        sections.push_back(Section::Impedance);
    }
    if (choice_.noise) {
        sections.push_back(Section::Noise);
    }
    const QPalette& colours = palette();
    setBackground(colours.brush(QPalette::Base));
    if (!heading_.isEmpty()) {
        auto* heading = new QCPTextElement(this, heading_, font());
        heading->setTextColor(colours.color(QPalette::Text));
        plotLayout()->addElement(0, 0, heading);
    }
    QCPLegend* traceLegend = nullptr;
    for (std::size_t index = 0; index < sections.size(); ++index) {
        QCPAxisRect* rect = AddSection(sections[index], index + 1 == sections.size());
        QCPLegend* legend = nullptr;
        // One legend of trace titles in the top plot; the impedance plot names Zin and Zout, the
        // noise plot its curves.
        if (index == 0 || sections[index] == Section::Impedance ||
            sections[index] == Section::Noise) {
            legend = new QCPLegend;
            if (sections[index] == Section::Noise) {
                // Under its plot (always the last), where its many names cover no curve.
                const int row = static_cast<int>(rects_.size()) + (heading_.isEmpty() ? 0 : 1);
                plotLayout()->addElement(row, 0, legend);
                plotLayout()->setRowStretchFactor(row, kLeastStretch);
            } else {
                rect->insetLayout()->addElement(legend, Qt::AlignTop | Qt::AlignRight);
            }
            legend->setLayer(QLatin1String("legend"));
            legend->setBrush(colours.brush(QPalette::Base));
            legend->setBorderPen(QPen(colours.color(QPalette::Mid)));
            legend->setTextColor(colours.color(QPalette::Text));
            legend->setFont(font());
            if (index == 0) {
                traceLegend = legend;
            }
        }
        AddGraphs(rect, sections[index], legend);
    }
    if (traceLegend != nullptr && traceLegend->itemCount() == 0) {
        traceLegend->setVisible(false);
    }
    traceLegend_ = traceLegend;
    AddMarkerLines();
    for (QCPAxisRect* rect : rects_) {
        rect->axis(QCPAxis::atBottom)->setRange(view_);
    }
    FitValueAxes();
    // Several changes in a row (curves, then markers, then the view) are drawn once, when the
    // events run next: at 2000 points per decade one drawing takes tens of milliseconds.
    replot(QCustomPlot::rpQueuedReplot);
}

void BodePlot::FitValueAxes() {
    fittingValues_ = true;
    for (std::size_t index = 0; index < rects_.size(); ++index) {
        QCPAxisRect* rect = rects_[index];
        QCPAxis* valueAxis = rect->axis(QCPAxis::atLeft);
        if (const auto& dragged = draggedValues_[static_cast<std::size_t>(sections_[index])]) {
            valueAxis->setRange(*dragged);
            continue;
        }
        bool found = false;
        QCPRange values;
        for (QCPGraph* graph : rect->graphs()) {
            bool graphFound = false;
            const QCPRange range =
                graph->getValueRange(graphFound, QCP::sdBoth, graph->keyAxis()->range());
            if (graphFound) {
                values = found ? QCPRange(std::min(values.lower, range.lower),
                                          std::max(values.upper, range.upper))
                               : range;
                found = true;
            }
        }
        if (found) {
            // A little room above and below, so no peak touches the frame.
            if (valueAxis->scaleType() == QCPAxis::stLogarithmic) {
                valueAxis->setRange(values.lower / 1.5, values.upper * 1.5);
            } else {
                const double room = std::max(values.size() * 0.05, 1e-3 * std::fabs(values.upper));
                valueAxis->setRange(values.lower - room, values.upper + (room > 0 ? room : 1));
            }
        }
    }
    fittingValues_ = false;
}

QCPAxisRect* BodePlot::AddSection(Section section, bool last) {
    auto* rect = new QCPAxisRect(this);
    plotLayout()->addElement(static_cast<int>(rects_.size()) + (heading_.isEmpty() ? 0 : 1), 0,
                             rect);
    rects_.push_back(rect);
    sections_.push_back(section);
    rect->setMarginGroup(QCP::msLeft | QCP::msRight, marginGroup_);
    // The frequency label at the range's end stands half outside the plot: room for it, or a
    // printout, whose plots fill the page's width, loses it at the paper's edge.
    rect->setMinimumMargins(QMargins(
        0, 0, QFontMetrics(font()).horizontalAdvance(QStringLiteral("100 kHz")) / 2 + 4, 0));
    rect->setRangeDrag(Qt::Horizontal | Qt::Vertical);
    // Zooming the values would cut peaks off: they fit what is visible instead.
    rect->setRangeZoom(Qt::Horizontal);

    QCPAxis* frequency = rect->axis(QCPAxis::atBottom);
    frequency->setScaleType(QCPAxis::stLogarithmic);
    auto frequencyTicker = QSharedPointer<LogUnitTicker>::create(QStringLiteral("Hz"));
    frequencyTicker->setSubTickCount(8);
    frequency->setTicker(frequencyTicker);
    frequency->setTickLabels(last);
    if (last) {
        frequency->setLabel(tr("Frequency"));
    }
    connect(frequency, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            &BodePlot::SyncFrequencyAxes);

    QCPAxis* value = rect->axis(QCPAxis::atLeft);
    switch (section) {
    case Section::Gain:
        value->setLabel(tr("Gain (dB)"));
        break;
    case Section::Phase: {
        value->setLabel(tr("Phase (degrees)"));
        value->setTicker(QSharedPointer<PhaseTicker>::create());
        break;
    }
    case Section::GroupDelay:
        value->setLabel(tr("Group delay"));
        value->setTicker(QSharedPointer<LinearUnitTicker>::create(QStringLiteral("s")));
        break;
    case Section::Impedance: {
        value->setLabel(tr("|Z| (ohms)"));
        value->setScaleType(QCPAxis::stLogarithmic);
        auto ticker = QSharedPointer<LogUnitTicker>::create(QString::fromUtf8("\u03a9"));
        value->setTicker(ticker);
        break;
    }
    case Section::Noise:
        value->setLabel(tr("Noise density"));
        value->setScaleType(QCPAxis::stLogarithmic);
        value->setTicker(QSharedPointer<LogUnitTicker>::create(QString::fromUtf8("V/\u221aHz")));
        break;
    }
    connect(value, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            [this, section](const QCPRange& range) {
                if (!fittingValues_ && valueDrag_) {
                    draggedValues_[static_cast<std::size_t>(section)] = range;
                }
            });
    StyleAxes(rect);
    return rect;
}

void BodePlot::StyleAxes(QCPAxisRect* rect) {
    const QPalette& colours = palette();
    const QColor text = colours.color(QPalette::Text);
    QColor grid = colours.color(QPalette::Text);
    grid.setAlpha(60);
    QColor subGrid = grid;
    subGrid.setAlpha(25);
    for (QCPAxis* axis : rect->axes()) {
        axis->setBasePen(QPen(text));
        axis->setTickPen(QPen(text));
        axis->setSubTickPen(QPen(text));
        axis->setTickLabelColor(text);
        axis->setLabelColor(text);
        axis->setTickLabelFont(font());
        axis->setLabelFont(font());
        axis->grid()->setPen(QPen(grid, 0, Qt::SolidLine));
        axis->grid()->setSubGridPen(QPen(subGrid, 0, Qt::DotLine));
        axis->grid()->setZeroLinePen(QPen(grid, 0, Qt::SolidLine));
    }
    rect->axis(QCPAxis::atBottom)->grid()->setSubGridVisible(true);
    rect->axis(QCPAxis::atLeft)
        ->grid()
        ->setSubGridVisible(rect->axis(QCPAxis::atLeft)->scaleType() == QCPAxis::stLogarithmic);
}

void BodePlot::AddGraphs(QCPAxisRect* rect, Section section, QCPLegend* legend) {
    QCPAxis* keyAxis = rect->axis(QCPAxis::atBottom);
    QCPAxis* valueAxis = rect->axis(QCPAxis::atLeft);
    const bool dark = DarkBackground();
    bool impedanceNamed = false;
    if (section == Section::Noise) {
        if (noise_) {
            std::vector<QColor> colours;
            for (int index = 0; index < kMostTraces; ++index) {
                colours.push_back(TraceColour(index, dark));
            }
            AddNoiseGraphs(*this, rect, *noise_, colours, legend);
        }
        if (legend != nullptr && legend->itemCount() == 0) {
            legend->setVisible(false);
        }
        return;
    }
    if (spread_ && (section == Section::Gain || section == Section::Phase)) {
        AddSpreadGraphs(*this, rect, *spread_,
                        section == Section::Gain ? SpreadQuantity::Gain : SpreadQuantity::Phase,
                        choice_.unwrappedPhase, TraceColour(0, dark), TraceColour(1, dark), legend);
    }
    for (std::size_t index = 0; index < traces_.size(); ++index) {
        const PlotTrace& trace = traces_[index];
        if (!trace.visible || trace.curve.size() == 0) {
            continue;
        }
        const QVector<double> keys = Plotted(trace.curve.frequency);
        const QColor colour = TraceColour(static_cast<int>(index), dark);
        // Past the eight colours the line pattern tells the curves apart.
        static constexpr Qt::PenStyle kPatterns[] = {Qt::SolidLine, Qt::DashDotLine, Qt::DotLine,
                                                     Qt::DashDotDotLine};
        const Qt::PenStyle pattern =
            kPatterns[(index / static_cast<std::size_t>(kMostTraces)) % std::size(kPatterns)];
        auto addGraph = [&](const QVector<double>& values, Qt::PenStyle style,
                            const QString& name) {
            QCPGraph* graph = QCustomPlot::addGraph(keyAxis, valueAxis);
            graph->setData(keys, values, true);
            graph->setPen(QPen(colour, 1.5, style == Qt::SolidLine ? pattern : style));
            graph->setName(name);
            return graph;
        };
        switch (section) {
        case Section::Gain:
        case Section::Phase:
        case Section::GroupDelay: {
            const QVector<double> values =
                section == Section::Gain ? PlottedGain(trace.curve.gain)
                : section == Section::Phase
                    ? Plotted(choice_.unwrappedPhase ? trace.curve.unwrappedPhase
                                                     : trace.curve.phase)
                    : Plotted(trace.curve.groupDelay);
            QCPGraph* graph = addGraph(values, Qt::SolidLine, trace.title);
            if (legend != nullptr) {
                graph->addToLegend(legend);
            }
            break;
        }
        case Section::Impedance: {
            // The first trace names the line styles; the trace legend names the colours.
            if (choice_.zin) {
                QCPGraph* graph = addGraph(Magnitudes(trace.curve.zin), Qt::SolidLine, "|Zin|");
                if (!impedanceNamed && legend != nullptr) {
                    graph->addToLegend(legend);
                }
            }
            if (choice_.zout) {
                QCPGraph* graph = addGraph(Magnitudes(trace.curve.zout), Qt::DashLine, "|Zout|");
                if (!impedanceNamed && legend != nullptr) {
                    graph->addToLegend(legend);
                }
            }
            impedanceNamed = true;
            break;
        }
        case Section::Noise:
            break; // drawn from the noise analysis above
        }
    }
    if (legend != nullptr && legend->itemCount() == 0) {
        legend->setVisible(false);
    }
}

void BodePlot::AddMarkerLines() {
    const QPalette& colours = palette();
    QColor markerColour = colours.color(QPalette::Text);
    markerColour.setAlpha(160);
    const QColor cursorColour = colours.color(QPalette::Highlight);
    for (std::size_t index = 0; index < rects_.size(); ++index) {
        QCPAxisRect* rect = rects_[index];
        auto line = [&](double frequency, const QPen& pen) {
            auto* item = new QCPItemStraightLine(this);
            item->setClipAxisRect(rect);
            for (QCPItemPosition* point : {item->point1, item->point2}) {
                point->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
                point->setAxisRect(rect);
                point->setTypeX(QCPItemPosition::ptPlotCoords);
                point->setTypeY(QCPItemPosition::ptAxisRectRatio);
            }
            item->point1->setCoords(frequency, 0);
            item->point2->setCoords(frequency, 1);
            item->setPen(pen);
            markerItems_.push_back(item);
            return item;
        };
        for (std::size_t markerIndex = 0; markerIndex < markers_.size(); ++markerIndex) {
            const PlotMarker& marker = markers_[markerIndex];
            line(marker.frequency, QPen(markerColour, 1, Qt::DashLine));
            if (index == 0) {
                // Placed in rows once the plots are laid out (PlaceMarkerLabels).
                auto* label = new QCPItemText(this);
                label->setClipAxisRect(rect);
                label->position->setAxes(rect->axis(QCPAxis::atBottom),
                                         rect->axis(QCPAxis::atLeft));
                label->position->setAxisRect(rect);
                label->position->setTypeX(QCPItemPosition::ptPlotCoords);
                label->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
                label->position->setCoords(marker.frequency, 0);
                label->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
                label->setText(marker.label);
                label->setColor(colours.color(QPalette::Text));
                label->setFont(font());
                label->setPadding(QMargins(3, 1, 3, 1));
                QColor background = colours.color(QPalette::Base);
                background.setAlpha(200);
                label->setBrush(background);
                markerLabels_.push_back({label, marker.frequency});
                markerItems_.push_back(label);
            }
        }
        QCPItemStraightLine* cursor = line(cursor_.value_or(view_.lower), QPen(cursorColour, 1));
        cursor->setVisible(cursor_.has_value());
        cursorLines_.push_back(cursor);
    }
}

void BodePlot::PlaceMarkerLabels() {
    if (rects_.empty() || markerLabels_.empty()) {
        return;
    }
    const QRect area = rects_.front()->rect();
    const QCPAxis* frequency = rects_.front()->axis(QCPAxis::atBottom);
    const QRect legend =
        traceLegend_ != nullptr && traceLegend_->visible() ? traceLegend_->outerRect() : QRect();
    const QFontMetrics metrics(font());
    const int rowHeight = metrics.height() + 4; // the label's padding above and below
    const int rows = std::max(1, area.height() / rowHeight);
    std::vector<std::vector<QRect>> taken(static_cast<std::size_t>(rows));
    std::vector<std::pair<double, QCPItemText*>> byPlace;
    for (const auto& [label, at] : markerLabels_) {
        byPlace.push_back({frequency->coordToPixel(at), label});
    }
    std::sort(byPlace.begin(), byPlace.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [x, label] : byPlace) {
        const int width = metrics.horizontalAdvance(label->text()) + 8;
        // Right of its line, or left of it where the plot ends first (the line's pixel has a
        // fraction, so the side is decided once, not read back from the rounded box).
        const bool rightOfLine = x + width <= area.right();
        const int left =
            rightOfLine ? static_cast<int>(std::floor(x)) : static_cast<int>(std::ceil(x)) - width;
        bool placed = false;
        for (int row = 0; row < rows && !placed && x >= area.left() && x <= area.right(); ++row) {
            const QRect box(left, area.top() + row * rowHeight, width, rowHeight);
            const auto overlaps = [&](const QRect& other) { return other.intersects(box); };
            if (box.left() < area.left() || box.intersects(legend) ||
                std::any_of(taken[static_cast<std::size_t>(row)].begin(),
                            taken[static_cast<std::size_t>(row)].end(), overlaps)) {
                continue;
            }
            taken[static_cast<std::size_t>(row)].push_back(box);
            label->setPositionAlignment((rightOfLine ? Qt::AlignLeft : Qt::AlignRight) |
                                        Qt::AlignTop);
            label->position->setCoords(label->position->coords().x(),
                                       static_cast<double>(row * rowHeight) / area.height());
            placed = true;
        }
        // A label with no free place is left out: the marker table names every marker.
        label->setVisible(placed);
    }
}

void BodePlot::SyncFrequencyAxes(const QCPRange& range) {
    if (syncing_) {
        return;
    }
    syncing_ = true;
    for (QCPAxisRect* rect : rects_) {
        QCPAxis* axis = rect->axis(QCPAxis::atBottom);
        if (axis->range() != range) {
            axis->setRange(range);
        }
    }
    syncing_ = false;
    view_ = range;
    viewSet_ = true;
    FitValueAxes();
}

std::optional<double> BodePlot::FrequencyAt(const QPointF& position) const {
    for (QCPAxisRect* rect : rects_) {
        const QRect area = rect->rect();
        if (position.x() >= area.left() && position.x() <= area.right() &&
            position.y() >= area.top() && position.y() <= area.bottom()) {
            return rect->axis(QCPAxis::atBottom)->pixelToCoord(position.x());
        }
    }
    return std::nullopt;
}

void BodePlot::mousePressEvent(QMouseEvent* event) {
    pressPosition_ = event->position().toPoint();
    valueDrag_ = false;
    setSelectionRectMode((event->modifiers() & Qt::ShiftModifier) != 0 ? QCP::srmZoom
                                                                       : QCP::srmNone);
    QCustomPlot::mousePressEvent(event);
}

void BodePlot::mouseMoveEvent(QMouseEvent* event) {
    const bool dragging = (event->buttons() & Qt::LeftButton) != 0;
    valueDrag_ = valueDrag_ || (dragging && std::abs(event->position().toPoint().y() -
                                                     pressPosition_.y()) > kValueDragSlop);
    QCustomPlot::mouseMoveEvent(event);
    if (dragging && !valueDrag_) {
        FitValueAxes(); // undoes the few pixels of vertical drift of a pan
        replot(QCustomPlot::rpQueuedReplot);
    }
    if (const auto frequency = FrequencyAt(event->position())) {
        emit cursorMoved(*frequency);
    } else {
        emit cursorLeft();
    }
}

void BodePlot::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint moved = event->position().toPoint() - pressPosition_;
    QCustomPlot::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && moved.manhattanLength() <= kClickSlop) {
        if (const auto frequency = FrequencyAt(event->position())) {
            emit clickedAt(*frequency);
        }
    }
}

void BodePlot::wheelEvent(QWheelEvent* event) {
    QCustomPlot::wheelEvent(event);
    // The zoom moved the curves under a still mouse: the cursor and its readout follow now, not
    // at the next mouse move.
    if (const auto frequency = FrequencyAt(event->position())) {
        emit cursorMoved(*frequency);
    }
}

void BodePlot::leaveEvent(QEvent* event) {
    QCustomPlot::leaveEvent(event);
    emit cursorLeft();
}

void BodePlot::changeEvent(QEvent* event) {
    QCustomPlot::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) {
        Rebuild();
    }
}

void BodePlot::showEvent(QShowEvent* event) {
    // Draw at the pixel density of the screen the window is on, so lines stay sharp at 200 %.
    setBufferDevicePixelRatio(devicePixelRatioF());
    QCustomPlot::showEvent(event);
}

} // namespace kelvor::plot
