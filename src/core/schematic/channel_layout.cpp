// SPDX-License-Identifier: GPL-3.0-or-later
#include "schematic/channel_layout.h"

#include "schematic/symbol_footprint.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <optional>

namespace kelvor::schematic {
namespace {

constexpr int G = kGridStep;
constexpr int kOpenEnd = INT_MAX; // a track that runs on to the trunks on the right

// The way from a pin to the foot of its column, in the cell's own units; the column then rises
// straight to the net's track.
struct Escape {
    int node = 0;
    std::vector<Point> path;
    int row = 0;
};

struct Cell {
    int part = -1; // -1 for the input terminal and its source
    Footprint footprint;
    LabelBoxes labels;
    std::vector<Escape> escapes;
    Box extent;
    Point origin;
};

struct Track {
    int node = 0;
    int row = 0;
    int x0 = 0;
    int x1 = 0; // kOpenEnd until the trunks have their columns
    int y = 0;
};

Box Around(Point p) {
    return {p.x, p.y, p.x, p.y};
}

class Channels {
public:
    explicit Channels(const Circuit& circuit) : circuit_(circuit) {
        int highest = std::max({circuit.nodeIn, circuit.nodeOut, circuit.nodeCom, 0});
        for (const Part& part : circuit.parts) {
            for (int node : part.nodes) {
                highest = std::max(highest, node);
            }
        }
        points_.assign(static_cast<std::size_t>(highest) + 1, 0);
        for (const Part& part : circuit.parts) {
            for (int node : part.nodes) {
                if (node > 0) {
                    ++points_[static_cast<std::size_t>(node)];
                }
            }
        }
        ++points_[static_cast<std::size_t>(circuit.nodeIn)];
        ++points_[static_cast<std::size_t>(circuit.nodeOut)];
        hasSource_ = circuit.nodeIn != circuit.nodeCom;
        if (hasSource_) {
            ++points_[static_cast<std::size_t>(circuit.nodeCom)];
        }
        result_.placed.parts.resize(circuit.parts.size());
    }

    ChannelLayout Run() {
        MakeCells();
        FillRows();
        AssignTracks();
        PlaceRowsAndTracks();
        PlaceTrunks();
        Draw();
        return std::move(result_);
    }

private:
    // A net needs wires when it has two points to join; common always reaches its symbol.
    bool Wired(int node) const {
        return node > 0 &&
               (points_[static_cast<std::size_t>(node)] >= 2 ||
                (node == circuit_.nodeCom && points_[static_cast<std::size_t>(node)] > 0));
    }

    Cell PartCell(int index) {
        const Part& part = circuit_.parts[static_cast<std::size_t>(index)];
        Cell cell;
        cell.part = index;
        cell.footprint = FootprintOf(part.kind, {});
        const Footprint& f = cell.footprint;
        cell.labels = LabelBoxesFor(f, {0, 0}, EstimatedTextWidth(part.name),
                                    EstimatedTextWidth(part.valueText));
        if (f.labelSide == LabelSide::Above) {
            // Labels centred over a narrow body would hang over the columns on its left.
            for (Box* box : {&cell.labels.name, &cell.labels.value}) {
                if (box->x0 < f.body.x0) {
                    *box = box->Moved(f.body.x0 - box->x0, 0);
                }
            }
        }
        // Every pin takes a column, a pin without a wire too: a column rising past it would
        // join it to another net.
        std::vector<std::pair<Point, int>> left;
        std::vector<std::pair<Point, int>> right;
        for (std::size_t pin = 0; pin < f.pins.size(); ++pin) {
            const int node = Wired(part.nodes[pin]) ? part.nodes[pin] : 0;
            const Point p = f.pins[pin];
            if (p.x <= f.body.x0) {
                left.push_back({p, node});
            } else if (p.x >= f.body.x1 || p.y >= f.body.y1) {
                right.push_back({p, node});
            } else if (node != 0) {
                cell.escapes.push_back({node, {p}}); // above the body: straight up
            }
        }
        auto byHeight = [](const auto& a, const auto& b) { return a.first.y < b.first.y; };
        std::stable_sort(left.begin(), left.end(), byHeight);
        std::stable_sort(right.begin(), right.end(), byHeight);
        // Lower pins take columns further out, so no column cuts the way of a pin above it.
        // The top pin on either side rises from where it is.
        int leftStart = 0;
        for (const auto& [p, node] : left) {
            leftStart = std::min(leftStart, p.x);
        }
        for (std::size_t k = 0; k < left.size(); ++k) {
            const auto [p, node] = left[k];
            if (node != 0) {
                cell.escapes.push_back({node, {p, {leftStart - G * static_cast<int>(k), p.y}}});
            }
        }
        int rightStart = f.body.x1;
        for (const auto& [p, node] : right) {
            rightStart = std::max(rightStart, p.x);
        }
        if (f.labelSide == LabelSide::Above) {
            rightStart = std::max({rightStart, cell.labels.name.x1 + 2, cell.labels.value.x1 + 2});
        }
        rightStart = UpToGrid(rightStart);
        for (std::size_t k = 0; k < right.size(); ++k) {
            const auto [p, node] = right[k];
            if (node != 0) {
                cell.escapes.push_back({node, {p, {rightStart + G * static_cast<int>(k), p.y}}});
            }
        }
        if (f.labelSide == LabelSide::Right) {
            const int from = right.empty()
                                 ? f.body.x1 + 4
                                 : rightStart + G * static_cast<int>(right.size() - 1) + 6;
            for (Box* box : {&cell.labels.name, &cell.labels.value}) {
                *box = box->Moved(from - box->x0, 0);
            }
        }
        cell.extent = Union(Union(f.body, cell.labels.name), cell.labels.value);
        for (const Point& p : f.pins) {
            cell.extent = Union(cell.extent, Around(p));
        }
        for (const Escape& escape : cell.escapes) {
            cell.extent = Union(cell.extent, Around(escape.path.back()));
        }
        return cell;
    }

    // The IN terminal at (0, 0) with the source below it to common.
    Cell InputCell() const {
        Cell cell;
        cell.extent = {-26, -18, 0, 0};
        if (Wired(circuit_.nodeIn)) {
            cell.escapes.push_back({circuit_.nodeIn, {{0, 0}}});
        }
        if (hasSource_) {
            cell.escapes.push_back({circuit_.nodeCom, {{0, 3 * G}, {G, 3 * G}}});
            cell.extent = Union(cell.extent, {-12, 0, G, 3 * G});
        }
        return cell;
    }

    void MakeCells() {
        cells_.push_back(InputCell());
        for (std::size_t index = 0; index < circuit_.parts.size(); ++index) {
            cells_.push_back(PartCell(static_cast<int>(index)));
        }
    }

    // Rows about as wide as the drawing is tall, on a guess of each row's channel.
    void FillRows() {
        double widths = 0;
        for (const Cell& cell : cells_) {
            widths += cell.extent.x1 - cell.extent.x0 + 2 * G;
        }
        const int target = std::max(40 * G, static_cast<int>(std::sqrt(widths * 12 * G)));
        int cursor = 0;
        int rowStart = 0; // every row starts right of the input terminal
        int row = 0;
        for (Cell& cell : cells_) {
            if (cursor > rowStart && cursor + (cell.extent.x1 - cell.extent.x0) > target) {
                ++row;
                cursor = rowStart;
            }
            cell.origin = {UpToGrid(cursor - cell.extent.x0), row};
            cursor = UpToGrid(cell.origin.x + cell.extent.x1) + 2 * G;
            rowStart = cell.part < 0 ? cursor : rowStart;
            rowRight_ = std::max(rowRight_, cursor);
            for (Escape& escape : cell.escapes) {
                escape.row = row;
                for (Point& p : escape.path) {
                    p.x += cell.origin.x;
                }
            }
        }
        rows_ = row + 1;
        // The OUT terminal stands beyond the trunks, on the first row.
        outCell_.extent = {0, -18, 36, 0};
        outCell_.origin = {0, 0};
        if (Wired(circuit_.nodeOut)) {
            outCell_.escapes.push_back({circuit_.nodeOut, {{0, 0}}, 0});
        }
    }

    // Each net's span in each row's channel; spans that do not meet share a track.
    void AssignTracks() {
        std::map<std::pair<int, int>, Track> spans; // (row, node)
        auto add = [&](const Escape& escape, int x) {
            auto [it, added] = spans.emplace(std::make_pair(escape.row, escape.node),
                                             Track{escape.node, escape.row, x, x, 0});
            it->second.x0 = std::min(it->second.x0, x);
            it->second.x1 = std::max(it->second.x1, x);
        };
        for (const Cell& cell : cells_) {
            for (const Escape& escape : cell.escapes) {
                add(escape, escape.path.back().x);
            }
        }
        for (const Escape& escape : outCell_.escapes) {
            add(escape, kOpenEnd);
        }
        std::map<int, int> rowsOf;
        for (const auto& [key, track] : spans) {
            ++rowsOf[key.second];
        }
        for (auto& [key, track] : spans) {
            if (rowsOf[key.second] > 1 || key.second == circuit_.nodeCom) {
                track.x1 = kOpenEnd;
                trunkNodes_.push_back(key.second);
            }
        }
        std::sort(trunkNodes_.begin(), trunkNodes_.end());
        trunkNodes_.erase(std::unique(trunkNodes_.begin(), trunkNodes_.end()), trunkNodes_.end());
        tracksPerRow_.assign(static_cast<std::size_t>(rows_), 0);
        std::vector<std::vector<Track>> byRow(static_cast<std::size_t>(rows_));
        for (const auto& [key, track] : spans) {
            byRow[static_cast<std::size_t>(key.first)].push_back(track);
        }
        for (int row = 0; row < rows_; ++row) {
            auto& list = byRow[static_cast<std::size_t>(row)];
            std::sort(list.begin(), list.end(),
                      [](const Track& a, const Track& b) { return a.x0 < b.x0; });
            std::vector<int> ends; // per track, where its last span ends
            for (Track& track : list) {
                std::size_t level = 0;
                while (level < ends.size() &&
                       (ends[level] == kOpenEnd || ends[level] + 2 * G > track.x0)) {
                    ++level;
                }
                if (level == ends.size()) {
                    ends.push_back(track.x1);
                } else {
                    ends[level] = track.x1;
                }
                track.y = static_cast<int>(level); // a level until the rows have their places
                tracks_.push_back(track);
            }
            tracksPerRow_[static_cast<std::size_t>(row)] = static_cast<int>(ends.size());
        }
    }

    void PlaceRowsAndTracks() {
        std::vector<int> top(static_cast<std::size_t>(rows_), 0);
        std::vector<int> bottom(static_cast<std::size_t>(rows_), 0);
        for (const Cell& cell : cells_) {
            const auto row = static_cast<std::size_t>(cell.origin.y);
            top[row] = std::min(top[row], cell.extent.y0);
            bottom[row] = std::max(bottom[row], cell.extent.y1);
        }
        top[0] = std::min(top[0], outCell_.extent.y0);
        std::vector<int> channelTop(static_cast<std::size_t>(rows_));
        rowY_.assign(static_cast<std::size_t>(rows_), 0);
        int y = 0;
        for (std::size_t row = 0; row < static_cast<std::size_t>(rows_); ++row) {
            channelTop[row] = y;
            rowY_[row] = UpToGrid(y + G * tracksPerRow_[row] - top[row]);
            y = DownToGrid(rowY_[row] + bottom[row]) + G;
        }
        railY_ = y + G;
        for (Track& track : tracks_) {
            track.y = channelTop[static_cast<std::size_t>(track.row)] + G * track.y;
        }
        for (Cell& cell : cells_) {
            const int dy = rowY_[static_cast<std::size_t>(cell.origin.y)];
            cell.origin.y = dy;
            for (Escape& escape : cell.escapes) {
                for (Point& p : escape.path) {
                    p.y += dy;
                }
            }
        }
    }

    const Track& TrackOf(int node, int row) const {
        return *std::find_if(tracks_.begin(), tracks_.end(), [&](const Track& track) {
            return track.node == node && track.row == row;
        });
    }

    // Trunks whose heights do not meet share a column.
    void PlaceTrunks() {
        struct Span {
            int node;
            int y0;
            int y1;
        };
        std::vector<Span> spans;
        for (int node : trunkNodes_) {
            Span span{node, INT_MAX, INT_MIN};
            for (const Track& track : tracks_) {
                if (track.node == node) {
                    span.y0 = std::min(span.y0, track.y);
                    span.y1 = std::max(span.y1, track.y);
                }
            }
            if (node == circuit_.nodeCom) {
                span.y1 = railY_;
            }
            spans.push_back(span);
        }
        std::sort(spans.begin(), spans.end(),
                  [](const Span& a, const Span& b) { return a.y0 < b.y0; });
        std::vector<int> ends;
        const int first = UpToGrid(rowRight_);
        for (const Span& span : spans) {
            std::size_t column = 0;
            while (column < ends.size() && ends[column] + 2 * G > span.y0) {
                ++column;
            }
            if (column == ends.size()) {
                ends.push_back(span.y1);
            } else {
                ends[column] = span.y1;
            }
            const int x = first + G * static_cast<int>(column);
            trunkX_[span.node] = x;
            if (span.y1 > span.y0) {
                result_.routed.wires.push_back({span.node, {x, span.y0}, {x, span.y1}});
            }
        }
        outX_ = first + G * static_cast<int>(ends.size()) + G;
        for (Track& track : tracks_) {
            if (track.x1 == kOpenEnd) {
                const auto trunk = trunkX_.find(track.node);
                track.x1 = trunk != trunkX_.end() ? trunk->second : outX_;
                // The output's own track, when the first row has no other pin on it.
                track.x0 = std::min(track.x0, track.x1);
                if (track.row == 0 && track.node == circuit_.nodeOut) {
                    track.x1 = outX_;
                }
            }
        }
    }

    void Draw() {
        PlacedCircuit& placed = result_.placed;
        std::vector<Wire>& wires = result_.routed.wires;
        for (const Cell& cell : cells_) {
            if (cell.part >= 0) {
                Placement& part = placed.parts[static_cast<std::size_t>(cell.part)];
                const Point o = cell.origin;
                part.origin = o;
                part.body = cell.footprint.body.Moved(o.x, o.y);
                part.nameBox = cell.labels.name.Moved(o.x, o.y);
                part.valueBox = cell.labels.value.Moved(o.x, o.y);
                for (const Point& p : cell.footprint.pins) {
                    part.pins.push_back({p.x + o.x, p.y + o.y});
                }
            } else {
                placed.inTerminal = cell.origin;
                placed.hasSource = hasSource_;
                placed.sourceBottom = {cell.origin.x, cell.origin.y + 3 * G};
                placed.sourceBox = {cell.origin.x - 12, cell.origin.y + 10, cell.origin.x + 12,
                                    cell.origin.y + 50};
            }
            for (const Escape& escape : cell.escapes) {
                AddEscape(escape, wires);
            }
        }
        placed.outTerminal = {outX_, rowY_.front()};
        for (Escape escape : outCell_.escapes) {
            escape.path = {placed.outTerminal};
            AddEscape(escape, wires);
        }
        for (const Track& track : tracks_) {
            if (track.x1 > track.x0) {
                wires.push_back({track.node, {track.x0, track.y}, {track.x1, track.y}});
            }
        }
        const auto com = trunkX_.find(circuit_.nodeCom);
        placed.railLeft = placed.railRight = com != trunkX_.end() ? com->second : outX_;
        placed.railY = railY_;
        FindJunctions();
        CountCrossings();
    }

    void AddEscape(const Escape& escape, std::vector<Wire>& wires) const {
        const Track& track = TrackOf(escape.node, escape.row);
        std::vector<Point> path = escape.path;
        path.push_back({path.back().x, track.y});
        for (std::size_t i = 0; i + 1 < path.size(); ++i) {
            if (path[i] != path[i + 1]) {
                wires.push_back({escape.node, path[i], path[i + 1]});
            }
        }
    }

    // A dot where three or more ways meet: wire ends, a wire running through, a pin.
    void FindJunctions() {
        const std::vector<Wire>& wires = result_.routed.wires;
        std::map<int, std::vector<const Wire*>> byNode;
        for (const Wire& wire : wires) {
            byNode[wire.node].push_back(&wire);
        }
        for (const auto& [node, list] : byNode) {
            std::map<Point, int> ends;
            for (const Wire* wire : list) {
                ++ends[wire->from];
                ++ends[wire->to];
            }
            for (const auto& [at, count] : ends) {
                int degree = count;
                for (const Wire* wire : list) {
                    const bool through =
                        wire->from.x == wire->to.x
                            ? at.x == wire->from.x && std::min(wire->from.y, wire->to.y) < at.y &&
                                  at.y < std::max(wire->from.y, wire->to.y)
                            : at.y == wire->from.y && std::min(wire->from.x, wire->to.x) < at.x &&
                                  at.x < std::max(wire->from.x, wire->to.x);
                    degree += through ? 2 : 0;
                }
                if (degree >= 3) {
                    result_.routed.junctions.push_back({node, at});
                }
            }
        }
    }

    void CountCrossings() {
        std::vector<const Wire*> flat;
        std::vector<const Wire*> upright;
        for (const Wire& wire : result_.routed.wires) {
            (wire.from.y == wire.to.y ? flat : upright).push_back(&wire);
        }
        int crossings = 0;
        for (const Wire* h : flat) {
            const int x0 = std::min(h->from.x, h->to.x);
            const int x1 = std::max(h->from.x, h->to.x);
            for (const Wire* v : upright) {
                if (x0 < v->from.x && v->from.x < x1 && std::min(v->from.y, v->to.y) < h->from.y &&
                    h->from.y < std::max(v->from.y, v->to.y)) {
                    ++crossings;
                }
            }
        }
        result_.routed.crossings = crossings;
    }

    const Circuit& circuit_;
    std::vector<int> points_; // per node, the pins and terminals on it
    bool hasSource_ = false;
    std::vector<Cell> cells_;
    Cell outCell_;
    int rows_ = 0;
    int rowRight_ = 0;
    std::vector<int> tracksPerRow_;
    std::vector<Track> tracks_;
    std::vector<int> trunkNodes_;
    std::map<int, int> trunkX_;
    std::vector<int> rowY_;
    int railY_ = 0;
    int outX_ = 0;
    ChannelLayout result_;
};

} // namespace

ChannelLayout LayOutInChannels(const Circuit& circuit) {
    return Channels(circuit).Run();
}

} // namespace kelvor::schematic
