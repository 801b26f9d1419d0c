// SPDX-License-Identifier: GPL-3.0-or-later
#include "schematic/schematic_readback.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>
#include <set>

namespace kelvor::schematic {
namespace {

bool OnWire(const Wire& wire, Point p) {
    return std::min(wire.from.x, wire.to.x) <= p.x && p.x <= std::max(wire.from.x, wire.to.x) &&
           std::min(wire.from.y, wire.to.y) <= p.y && p.y <= std::max(wire.from.y, wire.to.y) &&
           (wire.from.x == wire.to.x || wire.from.y == wire.to.y);
}

class Groups {
public:
    explicit Groups(std::size_t size) : parent_(size) {
        std::iota(parent_.begin(), parent_.end(), std::size_t{0});
    }
    std::size_t Find(std::size_t i) {
        while (parent_[i] != i) {
            parent_[i] = parent_[parent_[i]];
            i = parent_[i];
        }
        return i;
    }
    void Join(std::size_t a, std::size_t b) { parent_[Find(a)] = Find(b); }

private:
    std::vector<std::size_t> parent_;
};

struct Item {
    int node;
    Point at;
    std::string what;
};

} // namespace

std::string NetlistDifference(const Drawing& drawing, const Circuit& circuit) {
    // What the circuit says each connection point is.
    std::vector<Item> items;
    if (drawing.components.size() != circuit.parts.size()) {
        return "the drawing has " + std::to_string(drawing.components.size()) +
               " components, the circuit " + std::to_string(circuit.parts.size());
    }
    for (std::size_t i = 0; i < circuit.parts.size(); ++i) {
        const Part& part = circuit.parts[i];
        const DrawnComponent& drawn = drawing.components[i];
        if (drawn.pins.size() != part.nodes.size()) {
            return part.name + " has " + std::to_string(drawn.pins.size()) + " pins drawn";
        }
        for (std::size_t pin = 0; pin < part.nodes.size(); ++pin) {
            items.push_back({part.nodes[pin], drawn.pins[pin].at,
                             part.name + " pin " + std::to_string(pin + 1)});
        }
    }
    for (const Terminal& terminal : drawing.terminals) {
        const bool in = terminal.role == TerminalRole::In;
        items.push_back({in ? circuit.nodeIn : circuit.nodeOut, terminal.at, in ? "IN" : "OUT"});
    }
    for (const NodePoint& ground : drawing.grounds) {
        items.push_back({circuit.nodeCom, ground.at, "a ground symbol"});
    }

    const std::size_t wires = drawing.wires.size();
    Groups groups(wires + items.size());
    for (std::size_t a = 0; a < wires; ++a) {
        for (const Point end : {drawing.wires[a].from, drawing.wires[a].to}) {
            for (std::size_t b = 0; b < wires; ++b) {
                if (b != a && OnWire(drawing.wires[b], end)) {
                    groups.Join(a, b);
                }
            }
        }
    }
    for (const NodePoint& dot : drawing.junctions) {
        std::size_t first = wires + items.size();
        for (std::size_t w = 0; w < wires; ++w) {
            if (OnWire(drawing.wires[w], dot.at)) {
                if (first == wires + items.size()) {
                    first = w;
                }
                groups.Join(first, w);
            }
        }
    }
    // Every ground symbol is the common node: the symbols join one another without a wire.
    std::optional<std::size_t> firstGround;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i >= items.size() - drawing.grounds.size()) {
            if (firstGround) {
                groups.Join(*firstGround, wires + i);
            }
            firstGround = wires + i;
        }
    }
    std::map<Point, std::size_t> firstAt;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Point at = items[i].at;
        for (std::size_t w = 0; w < wires; ++w) {
            if (OnWire(drawing.wires[w], at)) {
                groups.Join(wires + i, w);
            }
        }
        auto [it, added] = firstAt.emplace(at, wires + i);
        if (!added) {
            groups.Join(it->second, wires + i);
        }
    }

    std::map<std::size_t, int> nodeOfGroup;
    std::map<int, std::size_t> groupOfNode;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        const std::size_t group = groups.Find(wires + i);
        auto [byGroup, newGroup] = nodeOfGroup.emplace(group, item.node);
        if (!newGroup && byGroup->second != item.node) {
            return item.what + " (node " + std::to_string(item.node) + ") is joined to node " +
                   std::to_string(byGroup->second);
        }
        auto [byNode, newNode] = groupOfNode.emplace(item.node, group);
        if (!newNode && byNode->second != group) {
            return item.what + " is not joined to the rest of node " + std::to_string(item.node);
        }
    }
    return {};
}

} // namespace kelvor::schematic
