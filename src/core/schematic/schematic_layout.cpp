// SPDX-License-Identifier: GPL-3.0-or-later
#include "schematic/schematic_layout.h"

#include "schematic/channel_layout.h"
#include "schematic/schematic_placer.h"
#include "schematic/symbol_footprint.h"
#include "schematic/wire_router.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>

namespace kelvor::schematic {
namespace {

constexpr int G = kGridStep;
constexpr int kMostSpreads = 4;

Box TerminalLabelBox(const PlacedCircuit& placed, TerminalRole role) {
    if (role == TerminalRole::In) {
        const Point p = placed.inTerminal;
        return {p.x - 26, p.y - 18, p.x - 4, p.y - 6};
    }
    const Point p = placed.outTerminal;
    return {p.x + 6, p.y - 18, p.x + 36, p.y - 6};
}

std::optional<RoutedWires> Route(const Circuit& circuit, const PlacedCircuit& placed, long& work) {
    const int com = circuit.nodeCom;
    Box area{placed.railLeft, placed.railY, placed.railRight, placed.railY};
    for (const Placement& part : placed.parts) {
        area = Union(area, Union(Union(part.body, part.nameBox), part.valueBox));
    }
    // Grid points all round, with room to go round the outermost parts.
    area.x0 = DownToGrid(area.x0) - 2 * G;
    area.y0 = DownToGrid(area.y0) - 3 * G;
    area.x1 = DownToGrid(area.x1) + 3 * G;
    area.y1 = placed.railY;
    WireRouter router(area);

    std::map<int, std::vector<Point>> pins;
    std::set<Point> facesDown; // pins below their symbol's body, where a ground symbol can hang
    for (std::size_t i = 0; i < circuit.parts.size(); ++i) {
        const Placement& part = placed.parts[i];
        for (const Point& pin : part.pins) {
            if (pin.y >= part.body.y1) {
                facesDown.insert(pin);
            }
        }
        router.Block(part.body);
        router.Block(part.nameBox);
        router.Block(part.valueBox);
        for (std::size_t pin = 0; pin < part.pins.size(); ++pin) {
            const int node = circuit.parts[i].nodes[pin];
            if (node > 0) {
                pins[node].push_back(part.pins[pin]);
            }
        }
    }
    router.Block(TerminalLabelBox(placed, TerminalRole::In));
    router.Block(TerminalLabelBox(placed, TerminalRole::Out));
    const Point groundSymbol{placed.railLeft, placed.railY};
    if (placed.hasSource) {
        router.Block(placed.sourceBox);
        pins[com].push_back(placed.sourceBottom);
    }
    pins[circuit.nodeIn].push_back(placed.inTerminal);
    pins[circuit.nodeOut].push_back(placed.outTerminal);
    for (const auto& [node, points] : pins) {
        for (const Point& p : points) {
            router.ReservePin(p, node);
        }
    }
    router.ReservePin(groundSymbol, com);
    router.AddRail(placed.railY, placed.railLeft, placed.railRight, com);

    std::vector<std::pair<int, int>> order;
    for (const auto& [node, points] : pins) {
        if (node == com) {
            continue;
        }
        Box span{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (const Point& p : points) {
            span = Union(span, {p.x, p.y, p.x, p.y});
        }
        order.push_back({(span.x1 - span.x0) + (span.y1 - span.y0), node});
    }
    std::sort(order.begin(), order.end());
    for (const auto& [size, node] : order) {
        std::vector<Point> points = pins[node];
        // The terminals start their nets, so the wire leaves them first.
        std::stable_partition(points.begin(), points.end(), [&](Point p) {
            return p == placed.inTerminal || p == placed.outTerminal;
        });
        if (!router.Connect(node, points)) {
            work += router.Work();
            return std::nullopt;
        }
    }
    // Then each pin to common goes down to the rail if it can without crossing a wire or a
    // long way round; else a pin that faces down gets a ground symbol of its own, and the
    // others go the long way or, failing that, cross on their way to the rail.
    constexpr int kShortDetour = 4;
    RoutedWires routed;
    std::vector<Point> grounds = pins[com];
    std::sort(grounds.begin(), grounds.end());
    std::vector<Point> crossing;
    for (const Point& pin : grounds) {
        if (router.ConnectToRail(com, pin, placed.railY, false, kShortDetour)) {
            continue;
        }
        const Box symbol = GroundSymbolBox(pin);
        const bool clear =
            std::none_of(placed.parts.begin(), placed.parts.end(), [&](const Placement& part) {
                return part.body.Overlaps(symbol) || part.nameBox.Overlaps(symbol) ||
                       part.valueBox.Overlaps(symbol);
            });
        if (facesDown.count(pin) != 0 && clear && router.FreeBelow(pin)) {
            routed.grounds.push_back({com, pin});
            continue;
        }
        crossing.push_back(pin);
    }
    for (const Point& pin : crossing) {
        if (!router.ConnectToRail(com, pin, placed.railY, false) &&
            !router.ConnectToRail(com, pin, placed.railY, true)) {
            work += router.Work();
            return std::nullopt;
        }
    }
    router.TrimRail(placed.railY, com, {groundSymbol});
    routed.wires = router.Wires();
    routed.junctions = router.Junctions();
    routed.crossings = router.Crossings();
    work += router.Work();
    return routed;
}

void AddNodeLabels(Drawing& drawing) {
    std::map<int, std::vector<Point>> places;
    for (const Wire& wire : drawing.wires) {
        auto& list = places[wire.node];
        const int steps =
            std::max(std::abs(wire.to.x - wire.from.x), std::abs(wire.to.y - wire.from.y)) / G;
        for (int step = 0; step <= steps; ++step) {
            list.push_back({wire.from.x + (wire.to.x - wire.from.x) / std::max(steps, 1) * step,
                            wire.from.y + (wire.to.y - wire.from.y) / std::max(steps, 1) * step});
        }
    }
    for (const DrawnComponent& component : drawing.components) {
        for (const DrawnPin& pin : component.pins) {
            places[pin.node].push_back(pin.at);
        }
    }
    std::vector<Box> taken;
    for (const DrawnComponent& component : drawing.components) {
        taken.push_back(component.box);
    }
    if (drawing.hasSource) {
        taken.push_back(drawing.sourceBox);
    }
    for (const Label& label : drawing.labels) {
        taken.push_back(label.box);
    }
    for (const NodePoint& ground : drawing.grounds) {
        taken.push_back(GroundSymbolBox(ground.at));
    }
    for (auto& [node, points] : places) {
        const std::string text = std::to_string(node);
        const int width = EstimatedTextWidth(text);
        // Inside one grid cell, above and right of a point of the net: no wire can run through.
        for (const Point& p : points) {
            const Box box{p.x + 3, p.y - 2 - kLabelLineHeight, p.x + 3 + width, p.y - 2};
            const bool free = std::none_of(taken.begin(), taken.end(),
                                           [&](const Box& other) { return other.Overlaps(box); });
            if (free) {
                drawing.labels.push_back({text, box, LabelRole::Node});
                taken.push_back(box);
                break;
            }
        }
    }
}

// Independent loops among the nets other than common: how tangled the circuit is.
int Loops(const Circuit& circuit) {
    std::map<int, int> parent;
    auto find = [&](int node) {
        parent.emplace(node, node);
        while (parent[node] != node) {
            node = parent[node] = parent[parent[node]];
        }
        return node;
    };
    int loops = 0;
    for (const Part& part : circuit.parts) {
        int previous = 0;
        for (int node : part.nodes) {
            if (node <= 0 || node == circuit.nodeCom || node == previous) {
                continue;
            }
            if (previous != 0) {
                const int a = find(previous);
                const int b = find(node);
                if (a == b) {
                    ++loops;
                } else {
                    parent[a] = b;
                }
            }
            previous = node;
        }
    }
    return loops;
}

Drawing Assemble(const Circuit& circuit, const PlacedCircuit& placed, RoutedWires routed,
                 const LayoutOptions& options) {
    Drawing drawing;
    for (std::size_t i = 0; i < circuit.parts.size(); ++i) {
        const Part& part = circuit.parts[i];
        const Placement& where = placed.parts[i];
        DrawnComponent component;
        component.line = part.line;
        component.kind = part.kind;
        component.name = part.name;
        component.box = where.body;
        component.turn = where.turn;
        component.origin = where.origin;
        for (std::size_t pin = 0; pin < where.pins.size(); ++pin) {
            component.pins.push_back({part.nodes[pin], where.pins[pin]});
        }
        drawing.components.push_back(std::move(component));
        drawing.labels.push_back({part.name, where.nameBox, LabelRole::Name});
        if (!part.valueText.empty()) {
            drawing.labels.push_back({part.valueText, where.valueBox, LabelRole::Value});
        }
    }
    drawing.wires = std::move(routed.wires);
    drawing.junctions = std::move(routed.junctions);
    drawing.grounds.push_back({circuit.nodeCom, {placed.railLeft, placed.railY}});
    drawing.grounds.insert(drawing.grounds.end(), routed.grounds.begin(), routed.grounds.end());
    drawing.terminals.push_back({TerminalRole::In, circuit.nodeIn, placed.inTerminal});
    drawing.terminals.push_back({TerminalRole::Out, circuit.nodeOut, placed.outTerminal});
    drawing.labels.push_back(
        {"IN", TerminalLabelBox(placed, TerminalRole::In), LabelRole::Terminal});
    drawing.labels.push_back(
        {"OUT", TerminalLabelBox(placed, TerminalRole::Out), LabelRole::Terminal});
    drawing.hasSource = placed.hasSource;
    drawing.sourceBox = placed.sourceBox;
    if (options.nodeNumbers) {
        AddNodeLabels(drawing);
    }
    Box bounds{placed.railLeft, placed.railY, placed.railRight, placed.railY + 20};
    for (const DrawnComponent& component : drawing.components) {
        bounds = Union(bounds, component.box);
    }
    for (const Label& label : drawing.labels) {
        bounds = Union(bounds, label.box);
    }
    for (const Wire& wire : drawing.wires) {
        bounds =
            Union(bounds, {std::min(wire.from.x, wire.to.x), std::min(wire.from.y, wire.to.y),
                           std::max(wire.from.x, wire.to.x), std::max(wire.from.y, wire.to.y)});
    }
    drawing.bounds = {bounds.x0 - G, bounds.y0 - G, bounds.x1 + G, bounds.y1 + G};
    return drawing;
}

} // namespace

Drawing LayOut(const Circuit& circuit, const LayoutOptions& options) {
    // Past this many loops the placer's drawing is a tangle, and its wires may find no way
    // out: the channels draw such a circuit at once. The searches for wires stop at about a
    // tenth of a second's work, so that the window never waits long for a drawing.
    constexpr int kMostLoopsToPlace = 32;
    constexpr long kMostRoutingWork = 300000;
    long work = 0;
    if (Loops(circuit) <= kMostLoopsToPlace) {
        for (int spread = 0; spread < kMostSpreads && work < kMostRoutingWork; ++spread) {
            // The variant with the fewest crossings, the first one among equals.
            std::optional<PlacedCircuit> best;
            std::optional<RoutedWires> routed;
            for (int variant = 0; variant < kPlacementVariants && work < kMostRoutingWork;
                 ++variant) {
                PlacedCircuit candidate = PlaceCircuit(circuit, spread, variant);
                std::optional<RoutedWires> wires = Route(circuit, candidate, work);
                if (wires && (!routed || wires->crossings < routed->crossings)) {
                    const bool uncrossed = wires->crossings == 0;
                    best = std::move(candidate);
                    routed = std::move(wires);
                    if (uncrossed) {
                        break;
                    }
                }
            }
            if (routed) {
                return Assemble(circuit, *best, std::move(*routed), options);
            }
        }
    }
    ChannelLayout channels = LayOutInChannels(circuit);
    return Assemble(circuit, channels.placed, std::move(channels.routed), options);
}

} // namespace kelvor::schematic
