// SPDX-License-Identifier: GPL-3.0-or-later
#include "schematic/schematic_placer.h"

#include "circuit/component_kind.h"
#include "schematic/symbol_footprint.h"

#include <algorithm>
#include <climits>
#include <deque>
#include <optional>

namespace kelvor::schematic {
namespace {

constexpr int G = kGridStep;

bool IsTwoTerminal(char kind) {
    const ComponentKind* described = FindComponentKind(kind);
    return described != nullptr && described->symbol == SymbolShape::TwoTerminal;
}

// A group of placed parts and net anchors that moves as one.
struct Fragment {
    std::vector<int> parts;
    std::vector<int> nets;
    std::optional<Box> bounds;
    void Include(const Box& box) { bounds = bounds ? Union(*bounds, box) : box; }
    void Take(const Fragment& other) {
        parts.insert(parts.end(), other.parts.begin(), other.parts.end());
        nets.insert(nets.end(), other.nets.begin(), other.nets.end());
        if (other.bounds) {
            Include(*other.bounds);
        }
    }
};

class Placer {
public:
    Placer(const Circuit& circuit, int spacing, int variant)
        : circuit_(circuit), gap_(12 + spacing * G), com_(circuit.nodeCom),
          reversed_((variant & 1) != 0), anyDirection_((variant & 2) != 0),
          branchesAbove_((variant & 4) != 0) {
        int highest = std::max({circuit.nodeIn, circuit.nodeOut, circuit.nodeCom, 0});
        for (const Part& part : circuit.parts) {
            for (int node : part.nodes) {
                highest = std::max(highest, node);
            }
        }
        const std::size_t nets = static_cast<std::size_t>(highest) + 1;
        partsAt_.resize(nets);
        shuntsAt_.resize(nets);
        edgesOf_.resize(nets);
        present_.assign(nets, false);
        visited_.assign(nets, false);
        containsOut_.assign(nets, false);
        anchor_.assign(nets, Point{});
        position_.assign(nets, 0);
        entry_.assign(circuit.parts.size(), -1);
        children_.resize(circuit.parts.size());
        result_.parts.resize(circuit.parts.size());
        placed_.assign(circuit.parts.size(), false);
    }

    PlacedCircuit Run() {
        Classify();
        MeasurePositions();
        BuildTree();
        Fragment all;
        bool first = true;
        for (int root : roots_) {
            Fragment fragment = LayoutNet(root);
            if (!first && fragment.bounds) {
                // Islands go to the right, below the row the output wire runs along.
                const int dx = UpToGrid(all.bounds->x1 + gap_ - fragment.bounds->x0);
                const int dy = UpToGrid(std::max(0, G - fragment.bounds->y0));
                Move(fragment, dx, dy);
            }
            if (fragment.bounds) {
                first = false;
            }
            all.Take(fragment);
        }
        PlaceChords();
        PlaceTerminals();
        return result_;
    }

private:
    bool Ground(int node) const { return node == com_; }

    void Classify() {
        for (std::size_t index = 0; index < circuit_.parts.size(); ++index) {
            const Part& part = circuit_.parts[index];
            const int id = static_cast<int>(index);
            for (int node : part.nodes) {
                if (node > 0 && !Ground(node)) {
                    present_[static_cast<std::size_t>(node)] = true;
                }
            }
            if (IsTwoTerminal(part.kind) && (Ground(part.nodes[0]) || Ground(part.nodes[1]))) {
                const int net = Ground(part.nodes[0]) ? part.nodes[1] : part.nodes[0];
                shuntsAt_[static_cast<std::size_t>(net)].push_back(id);
                continue;
            }
            std::vector<int> seen;
            for (int node : part.nodes) {
                if (node > 0 && !Ground(node) &&
                    std::find(seen.begin(), seen.end(), node) == seen.end()) {
                    seen.push_back(node);
                    partsAt_[static_cast<std::size_t>(node)].push_back(id);
                }
            }
        }
        // Devices first: a stage drawn in the signal line and its feedback above it reads
        // better than the other way round.
        for (auto& parts : partsAt_) {
            if (reversed_) {
                std::reverse(parts.begin(), parts.end());
            }
            std::stable_sort(parts.begin(), parts.end(), [this](int a, int b) {
                return !IsTwoTerminal(Kind(a)) && IsTwoTerminal(Kind(b));
            });
        }
        for (std::size_t node = 0; node < present_.size(); ++node) {
            if (present_[node]) {
                nets_.push_back(static_cast<int>(node));
            }
        }
    }

    char Kind(int part) const { return circuit_.parts[static_cast<std::size_t>(part)].kind; }
    const Part& PartAt(int part) const { return circuit_.parts[static_cast<std::size_t>(part)]; }

    std::vector<int> NetsOf(int part) const {
        std::vector<int> nets;
        for (int node : PartAt(part).nodes) {
            if (node > 0 && !Ground(node) &&
                std::find(nets.begin(), nets.end(), node) == nets.end()) {
                nets.push_back(node);
            }
        }
        return nets;
    }

    bool Present(int node) const {
        return node > 0 && static_cast<std::size_t>(node) < present_.size() &&
               present_[static_cast<std::size_t>(node)];
    }

    std::vector<int> StepsFrom(int origin) const {
        // Unreachable nets count as further than any reachable one.
        std::vector<int> steps(present_.size(), static_cast<int>(present_.size()));
        if (!Present(origin)) {
            return steps;
        }
        std::vector<bool> seen(present_.size(), false);
        std::deque<int> queue{origin};
        steps[static_cast<std::size_t>(origin)] = 0;
        seen[static_cast<std::size_t>(origin)] = true;
        while (!queue.empty()) {
            const int net = queue.front();
            queue.pop_front();
            for (int part : partsAt_[static_cast<std::size_t>(net)]) {
                for (int next : NetsOf(part)) {
                    if (!seen[static_cast<std::size_t>(next)]) {
                        seen[static_cast<std::size_t>(next)] = true;
                        steps[static_cast<std::size_t>(next)] =
                            steps[static_cast<std::size_t>(net)] + 1;
                        queue.push_back(next);
                    }
                }
            }
        }
        return steps;
    }

    // How far along the way from the input to the output a net lies.
    void MeasurePositions() {
        const std::vector<int> fromIn = StepsFrom(circuit_.nodeIn);
        const std::vector<int> toOut = StepsFrom(circuit_.nodeOut);
        for (std::size_t net = 0; net < present_.size(); ++net) {
            position_[net] = fromIn[net] - toOut[net];
        }
    }

    // A spanning tree of the nets, grown depth first from the input: each tree edge is a part
    // whose other nets are first reached through it. Forward edges first, so that the signal
    // path runs left to right; the rest of the parts become chords drawn above.
    void Visit(int net, bool forwardOnly) {
        order_.push_back(net);
        Expand(net, forwardOnly);
    }

    void Expand(int net, bool forwardOnly) {
        for (int part : partsAt_[static_cast<std::size_t>(net)]) {
            if (entry_[static_cast<std::size_t>(part)] >= 0) {
                continue;
            }
            std::vector<int> kids;
            for (int next : NetsOf(part)) {
                const auto n = static_cast<std::size_t>(next);
                if (next != net && !visited_[n] &&
                    (!forwardOnly || position_[n] > position_[static_cast<std::size_t>(net)])) {
                    kids.push_back(next);
                }
            }
            if (kids.empty()) {
                continue;
            }
            entry_[static_cast<std::size_t>(part)] = net;
            edgesOf_[static_cast<std::size_t>(net)].push_back(part);
            for (int kid : kids) {
                visited_[static_cast<std::size_t>(kid)] = true;
            }
            children_[static_cast<std::size_t>(part)] = kids;
            for (int kid : kids) {
                Visit(kid, forwardOnly);
            }
        }
    }

    void Grow(int root) {
        visited_[static_cast<std::size_t>(root)] = true;
        roots_.push_back(root);
        const std::size_t start = order_.size();
        Visit(root, !anyDirection_);
        // What the forward pass left: reached through a part pointing back.
        for (std::size_t i = start; i < order_.size(); ++i) {
            Expand(order_[i], false);
        }
    }

    void BuildTree() {
        if (Present(circuit_.nodeIn)) {
            Grow(circuit_.nodeIn);
        }
        for (int net : nets_) {
            if (!visited_[static_cast<std::size_t>(net)]) {
                Grow(net);
            }
        }
        for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
            const auto n = static_cast<std::size_t>(*it);
            bool out = *it == circuit_.nodeOut;
            for (int part : edgesOf_[n]) {
                for (int kid : children_[static_cast<std::size_t>(part)]) {
                    out = out || containsOut_[static_cast<std::size_t>(kid)];
                }
            }
            containsOut_[n] = out;
        }
    }

    bool LeadsOut(int node) const {
        return node > 0 && !Ground(node) && containsOut_[static_cast<std::size_t>(node)];
    }

    SymbolTurn TurnFor(int part, int entryPin) const {
        const Part& p = PartAt(part);
        const auto& n = p.nodes;
        SymbolTurn turn;
        const ComponentKind* described = FindComponentKind(p.kind);
        if (described == nullptr) {
            return turn;
        }
        switch (described->symbol) {
        case SymbolShape::TwoTerminal:
            turn.flipped = entryPin == 1;
            break;
        case SymbolShape::ThreeElectrode:
            // The electrode that carries the signal on goes up, the one to common down.
            turn.flipped = (Ground(n[1]) && !Ground(n[2])) || (LeadsOut(n[2]) && !LeadsOut(n[1]));
            break;
        case SymbolShape::Amplifier:
            turn.flipped = entryPin == 1 || (entryPin == 2 && Ground(n[0]) && !Ground(n[1]));
            break;
        case SymbolShape::CoupledCoils:
        case SymbolShape::TappedTransformer: {
            const bool coupled = described->symbol == SymbolShape::CoupledCoils;
            const std::vector<int> top = coupled ? std::vector<int>{0, 2} : std::vector<int>{0, 3};
            const std::vector<int> bottom =
                coupled ? std::vector<int>{1, 3} : std::vector<int>{2, 4};
            auto grounds = [&](const std::vector<int>& pins) {
                return std::count_if(pins.begin(), pins.end(), [&](int pin) {
                    return Ground(n[static_cast<std::size_t>(pin)]);
                });
            };
            turn.flipped = grounds(top) > grounds(bottom);
            break;
        }
        }
        return turn;
    }

    // Puts a part with its footprint's origin at `origin` and works out its label boxes.
    void Put(int part, SymbolTurn turn, Point origin) {
        const Part& p = PartAt(part);
        const Footprint footprint = FootprintOf(p.kind, turn);
        placed_[static_cast<std::size_t>(part)] = true;
        Placement& placed = result_.parts[static_cast<std::size_t>(part)];
        placed.turn = turn;
        placed.origin = origin;
        placed.body = footprint.body.Moved(origin.x, origin.y);
        placed.pins.clear();
        for (const Point& pin : footprint.pins) {
            placed.pins.push_back({pin.x + origin.x, pin.y + origin.y});
        }
        LabelBoxes labels = LabelBoxesFor(footprint, origin, EstimatedTextWidth(p.name),
                                          EstimatedTextWidth(p.valueText));
        if (footprint.labelSide == LabelSide::Above) {
            // Keep the column above the left-hand pins free for the wire that comes down to it.
            const int leftmost = placed.body.x0 - 6;
            for (Box* box : {&labels.name, &labels.value}) {
                if (box->x0 < leftmost) {
                    *box = box->Moved(leftmost - box->x0, 0);
                }
            }
        }
        placed.nameBox = labels.name;
        placed.valueBox = labels.value;
    }

    Box Extent(int part) const {
        const Placement& placed = result_.parts[static_cast<std::size_t>(part)];
        Box box = Union(Union(placed.body, placed.nameBox), placed.valueBox);
        for (const Point& pin : placed.pins) {
            box = Union(box, {pin.x - 4, pin.y - 4, pin.x + 4, pin.y + 4});
        }
        return box;
    }

    void Move(Fragment& fragment, int dx, int dy) {
        for (int part : fragment.parts) {
            Placement& placed = result_.parts[static_cast<std::size_t>(part)];
            placed.origin = {placed.origin.x + dx, placed.origin.y + dy};
            placed.body = placed.body.Moved(dx, dy);
            placed.nameBox = placed.nameBox.Moved(dx, dy);
            placed.valueBox = placed.valueBox.Moved(dx, dy);
            for (Point& pin : placed.pins) {
                pin = {pin.x + dx, pin.y + dy};
            }
        }
        for (int net : fragment.nets) {
            Point& a = anchor_[static_cast<std::size_t>(net)];
            a = {a.x + dx, a.y + dy};
        }
        if (fragment.bounds) {
            fragment.bounds = fragment.bounds->Moved(dx, dy);
        }
    }

    // A net's parts to common hang below its wire, then the branches that do not lead to the
    // output, each one level down, then the branch towards the output on the net's own row.
    Fragment LayoutNet(int net) {
        Fragment fragment;
        fragment.nets.push_back(net);
        anchor_[static_cast<std::size_t>(net)] = {0, 0};
        int cursor = 0;
        for (int shunt : shuntsAt_[static_cast<std::size_t>(net)]) {
            SymbolTurn turn;
            turn.vertical = true;
            turn.flipped = Ground(PartAt(shunt).nodes[0]);
            const int column = std::max(G, UpToGrid(cursor + gap_ + 8));
            Put(shunt, turn, {column, 0});
            fragment.parts.push_back(shunt);
            fragment.Include(Extent(shunt));
            cursor = fragment.bounds->x1;
        }
        const auto& edges = edgesOf_[static_cast<std::size_t>(net)];
        int last = -1;
        if (net != circuit_.nodeOut && !edges.empty()) {
            last = static_cast<int>(edges.size()) - 1;
            for (std::size_t i = 0; i < edges.size(); ++i) {
                for (int kid : children_[static_cast<std::size_t>(edges[i])]) {
                    if (containsOut_[static_cast<std::size_t>(kid)]) {
                        last = static_cast<int>(i);
                    }
                }
            }
        }
        for (std::size_t i = 0; i < edges.size(); ++i) {
            if (static_cast<int>(i) == last) {
                continue;
            }
            Fragment branch = LayoutEdge(edges[i], net);
            const int dx = std::max(G, UpToGrid(cursor + gap_ - branch.bounds->x0));
            const int dy = branchesAbove_ ? std::min(-2 * G, Above(0, branch))
                                          : std::max(2 * G, UpToGrid(gap_ - branch.bounds->y0));
            Move(branch, dx, dy);
            fragment.Take(branch);
            cursor = fragment.bounds->x1;
        }
        if (last >= 0) {
            Fragment branch = LayoutEdge(edges[static_cast<std::size_t>(last)], net);
            Move(branch, std::max(G, UpToGrid(cursor + gap_ - branch.bounds->x0)), 0);
            fragment.Take(branch);
        }
        if (!fragment.bounds) {
            fragment.Include({-4, -4, 4, 4});
        }
        return fragment;
    }

    // The move that puts a fragment above a line at `top`, with room under it for the ground
    // symbols its parts to common may need.
    int Above(int top, const Fragment& fragment) const {
        return DownToGrid(top - gap_ - G - fragment.bounds->y1);
    }

    // Two-terminal parts across the same two nets as a two-terminal tree edge go right below
    // it, so that short wires at either end join them: the loop they close crosses nothing.
    void PlaceParallels(int part, SymbolTurn turn, Fragment& fragment) {
        const Part& p = PartAt(part);
        if (!IsTwoTerminal(p.kind)) {
            return;
        }
        const Placement& edge = result_.parts[static_cast<std::size_t>(part)];
        int level = 0;
        for (int other : partsAt_[static_cast<std::size_t>(p.nodes[0])]) {
            const Part& o = PartAt(other);
            if (other == part || placed_[static_cast<std::size_t>(other)] ||
                entry_[static_cast<std::size_t>(other)] >= 0 || !IsTwoTerminal(o.kind)) {
                continue;
            }
            const bool same = o.nodes[0] == p.nodes[0] && o.nodes[1] == p.nodes[1];
            const bool swapped = o.nodes[0] == p.nodes[1] && o.nodes[1] == p.nodes[0];
            if (!same && !swapped) {
                continue;
            }
            ++level;
            SymbolTurn own = turn;
            own.flipped = swapped ? !turn.flipped : turn.flipped;
            Put(other, own, {edge.origin.x, edge.origin.y + 3 * G * level});
            fragment.parts.push_back(other);
            fragment.Include(Extent(other));
        }
    }

    // A part entered at its pin on `net` (put at (0, 0)), with the nets it leads to: the one
    // towards the output continues to the right on its pin's row, the others hang below.
    Fragment LayoutEdge(int part, int net) {
        const Part& p = PartAt(part);
        int entryPin = 0;
        while (p.nodes[static_cast<std::size_t>(entryPin)] != net) {
            ++entryPin;
        }
        const SymbolTurn turn = TurnFor(part, entryPin);
        const Point entry = FootprintOf(p.kind, turn).pins[static_cast<std::size_t>(entryPin)];
        Put(part, turn, {-entry.x, -entry.y});
        Fragment fragment;
        fragment.parts.push_back(part);
        fragment.Include(Extent(part));
        PlaceParallels(part, turn, fragment);
        const Box own = *fragment.bounds;
        const Placement& placed = result_.parts[static_cast<std::size_t>(part)];

        struct Child {
            int net;
            Point pin;
        };
        std::vector<Child> kids;
        for (int kid : children_[static_cast<std::size_t>(part)]) {
            for (std::size_t pin = 0; pin < p.nodes.size(); ++pin) {
                if (p.nodes[pin] == kid) {
                    kids.push_back({kid, placed.pins[pin]});
                    break;
                }
            }
        }
        // The onward net: the one towards the output, else the one furthest right.
        std::optional<Child> onward;
        for (const Child& kid : kids) {
            if (containsOut_[static_cast<std::size_t>(kid.net)]) {
                onward = kid;
            }
        }
        if (!onward) {
            for (const Child& kid : kids) {
                if (kid.pin.x > 0 && (!onward || kid.pin.x > onward->pin.x ||
                                      (kid.pin.x == onward->pin.x && kid.pin.y < onward->pin.y))) {
                    onward = kid;
                }
            }
        }
        std::stable_sort(kids.begin(), kids.end(),
                         [](const Child& a, const Child& b) { return a.pin.x < b.pin.x; });
        int cursor = INT_MIN / 2;
        for (const Child& kid : kids) {
            if (onward && kid.net == onward->net) {
                continue;
            }
            Fragment below = LayoutNet(kid.net);
            const int x = std::max(kid.pin.x, UpToGrid(cursor + gap_ - below.bounds->x0));
            const int y = branchesAbove_ && kid.pin.y < 0
                              ? std::min(kid.pin.y, Above(own.y0, below))
                              : std::max(kid.pin.y, UpToGrid(own.y1 + gap_ - below.bounds->y0));
            Move(below, x, y);
            fragment.Take(below);
            cursor = below.bounds->x1;
        }
        if (onward) {
            Fragment right = LayoutNet(onward->net);
            const int x = std::max(onward->pin.x,
                                   UpToGrid(std::max(own.x1, cursor) + gap_ - right.bounds->x0));
            Move(right, x, onward->pin.y);
            fragment.Take(right);
        }
        return fragment;
    }

    Box PlacedExtent() const {
        std::optional<Box> all;
        for (std::size_t part = 0; part < circuit_.parts.size(); ++part) {
            if (placed_[part]) {
                const Box box = Extent(static_cast<int>(part));
                all = all ? Union(*all, box) : box;
            }
        }
        return all.value_or(Box{0, 0, 0, 0});
    }

    // Where a part's nets lie along the drawing: the leftmost one's pin and the span.
    struct Reach {
        int entryPin = 0;
        int left = INT_MAX;
        int right = INT_MIN;
    };
    Reach ReachOf(int part) const {
        const Part& p = PartAt(part);
        Reach reach;
        for (std::size_t pin = 0; pin < p.nodes.size(); ++pin) {
            const int node = p.nodes[pin];
            if (node <= 0 || Ground(node)) {
                continue;
            }
            const int x = anchor_[static_cast<std::size_t>(node)].x;
            if (x < reach.left) {
                reach.left = x;
                reach.entryPin = static_cast<int>(pin);
            }
            reach.right = std::max(reach.right, x);
        }
        if (reach.left == INT_MAX) {
            reach.left = reach.right = 0;
        }
        return reach;
    }

    // Parts that close a loop of the tree go above everything between the nets they join,
    // each on a level of its own, so that their wires come down from above. The narrowest go
    // first: an arch inside another then lies below it and its wires cross nothing.
    void PlaceChords() {
        std::vector<std::pair<int, Reach>> chords;
        for (std::size_t index = 0; index < circuit_.parts.size(); ++index) {
            if (!placed_[index]) {
                const int part = static_cast<int>(index);
                chords.push_back({part, ReachOf(part)});
            }
        }
        std::stable_sort(chords.begin(), chords.end(), [](const auto& a, const auto& b) {
            return a.second.right - a.second.left < b.second.right - b.second.left;
        });
        for (const auto& [part, reach] : chords) {
            const auto index = static_cast<std::size_t>(part);
            Put(part, TurnFor(part, reach.entryPin), {0, 0});
            placed_[index] = false; // not among the parts it must clear
            const Box alone = Extent(part);
            const int dx = DownToGrid((reach.left + reach.right) / 2 - (alone.x0 + alone.x1) / 2);
            int top = INT_MAX;
            for (std::size_t other = 0; other < circuit_.parts.size(); ++other) {
                if (!placed_[other]) {
                    continue;
                }
                const Box box = Extent(static_cast<int>(other));
                if (box.x0 < alone.x1 + dx + G && alone.x0 + dx - G < box.x1) {
                    top = std::min(top, box.y0);
                }
            }
            if (top == INT_MAX) {
                top = 0;
            }
            const int dy = DownToGrid(top - G - alone.y1);
            Put(part, result_.parts[index].turn, {dx, dy});
        }
    }

    void PlaceTerminals() {
        const Box all = PlacedExtent();
        PlacedCircuit& r = result_;
        const int inRow =
            Present(circuit_.nodeIn) ? anchor_[static_cast<std::size_t>(circuit_.nodeIn)].y : 0;
        const int outRow =
            Present(circuit_.nodeOut) ? anchor_[static_cast<std::size_t>(circuit_.nodeOut)].y : 0;
        const int left = DownToGrid(std::min(all.x0, 0) - gap_) - G;
        r.inTerminal = {left, inRow};
        r.hasSource = circuit_.nodeIn != circuit_.nodeCom;
        r.sourceBottom = {left, inRow + 3 * G};
        r.sourceBox = {left - 12, inRow + 10, left + 12, inRow + 50};
        r.outTerminal = {UpToGrid(all.x1 + gap_) + G, outRow};
        const int bottom = std::max(all.y1, r.hasSource ? r.sourceBottom.y : inRow);
        r.railY = UpToGrid(bottom + gap_) + G;
        r.railLeft = left;
        r.railRight = r.outTerminal.x;
    }

    const Circuit& circuit_;
    int gap_;
    int com_;
    bool reversed_;
    bool anyDirection_;
    // Side branches above the line they leave rather than below: a branch that closes a loop
    // with the line further on then meets it from above instead of crossing it.
    bool branchesAbove_;
    std::vector<std::vector<int>> partsAt_;
    std::vector<std::vector<int>> shuntsAt_;
    std::vector<std::vector<int>> edgesOf_;
    std::vector<bool> present_;
    std::vector<bool> visited_;
    std::vector<bool> containsOut_;
    std::vector<Point> anchor_;
    std::vector<int> position_;
    std::vector<int> entry_;
    std::vector<std::vector<int>> children_;
    std::vector<int> nets_;
    std::vector<int> roots_;
    std::vector<int> order_;
    std::vector<bool> placed_;
    PlacedCircuit result_;
};

} // namespace

PlacedCircuit PlaceCircuit(const Circuit& circuit, int spacing, int variant) {
    return Placer(circuit, spacing, variant).Run();
}

} // namespace kelvor::schematic
