// SPDX-License-Identifier: GPL-3.0-or-later
#include "schematic/wire_router.h"

#include <algorithm>
#include <climits>
#include <queue>
#include <tuple>
#include <utility>

namespace kelvor::schematic {
namespace {

constexpr int G = kGridStep;
// Directions: 0 right, 1 left, 2 down, 3 up.
constexpr int kStepX[4] = {1, -1, 0, 0};
constexpr int kStepY[4] = {0, 0, 1, -1};
constexpr int kStepCost = 10;
constexpr int kBendCost = 8;
// A crossing costs as much as a detour of some twelve grid steps.
constexpr int kCrossingCost = 120;

bool Horizontal(int direction) {
    return direction < 2;
}

int Reverse(int direction) {
    return direction ^ 1;
}

} // namespace

WireRouter::WireRouter(const Box& area)
    : left_(area.x0), top_(area.y0), width_((area.x1 - area.x0) / G + 1),
      height_((area.y1 - area.y0) / G + 1) {
    const std::size_t points = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    blocked_.assign(points, 0);
    noCrossing_.assign(points, 0);
    crossing_.assign(points, 0);
    pinNode_.assign(points, 0);
    owner_.assign(points, 0);
    rightEdge_.assign(points, 0);
    downEdge_.assign(points, 0);
    cost_.assign(points * 4, 0);
    from_.assign(points * 4, -1);
    stamp_.assign(points * 4, 0);
}

bool WireRouter::Inside(Point p) const {
    return p.x >= left_ && p.y >= top_ && p.x < left_ + width_ * G && p.y < top_ + height_ * G;
}

void WireRouter::Block(const Box& box) {
    const int x0 = std::max(left_, (box.x0 - left_ + G - 1) / G * G + left_);
    const int y0 = std::max(top_, (box.y0 - top_ + G - 1) / G * G + top_);
    for (int y = y0; y <= box.y1 && y < top_ + height_ * G; y += G) {
        for (int x = x0; x <= box.x1 && x < left_ + width_ * G; x += G) {
            blocked_[static_cast<std::size_t>(Index({x, y}))] = 1;
        }
    }
}

void WireRouter::ReservePin(Point at, int node) {
    if (Inside(at)) {
        const auto i = static_cast<std::size_t>(Index(at));
        pinNode_[i] = node;
        noCrossing_[i] = 1;
    }
}

int WireRouter::EdgeOwner(int index, int direction) const {
    switch (direction) {
    case 0:
        return rightEdge_[static_cast<std::size_t>(index)];
    case 1:
        return index % width_ == 0 ? -1 : rightEdge_[static_cast<std::size_t>(index - 1)];
    case 2:
        return downEdge_[static_cast<std::size_t>(index)];
    default:
        return index < width_ ? -1 : downEdge_[static_cast<std::size_t>(index - width_)];
    }
}

void WireRouter::SetEdgeOwner(int index, int direction, int node) {
    switch (direction) {
    case 0:
        rightEdge_[static_cast<std::size_t>(index)] = node;
        break;
    case 1:
        rightEdge_[static_cast<std::size_t>(index - 1)] = node;
        break;
    case 2:
        downEdge_[static_cast<std::size_t>(index)] = node;
        break;
    default:
        downEdge_[static_cast<std::size_t>(index - width_)] = node;
        break;
    }
}

void WireRouter::AddRail(int y, int x0, int x1, int node) {
    for (int x = x0; x <= x1; x += G) {
        const int i = Index({x, y});
        owner_[static_cast<std::size_t>(i)] = node;
        noCrossing_[static_cast<std::size_t>(i)] = 1;
        if (x < x1) {
            SetEdgeOwner(i, 0, node);
        }
    }
    if (static_cast<std::size_t>(node) >= reach_.size()) {
        reach_.resize(static_cast<std::size_t>(node) + 1, Box{INT_MAX, INT_MAX, INT_MIN, INT_MIN});
    }
    reach_[static_cast<std::size_t>(node)] = {x0, y, x1, y};
}

int WireRouter::Degree(int index, int node) const {
    int degree = 0;
    for (int direction = 0; direction < 4; ++direction) {
        if (EdgeOwner(index, direction) == node) {
            ++degree;
        }
    }
    return degree;
}

bool WireRouter::BreaksWire(int index, int node) const {
    return pinNode_[static_cast<std::size_t>(index)] == node || Degree(index, node) >= 3;
}

bool WireRouter::Route(int node, Point from, int onlyRow, bool mayCross, int detourSteps) {
    Box reach = reach_[static_cast<std::size_t>(node)];
    if (onlyRow != INT_MIN) {
        reach.y0 = reach.y1 = onlyRow;
    }
    auto estimate = [&](Point p) {
        const int dx = p.x < reach.x0 ? reach.x0 - p.x : (p.x > reach.x1 ? p.x - reach.x1 : 0);
        const int dy = p.y < reach.y0 ? reach.y0 - p.y : (p.y > reach.y1 ? p.y - reach.y1 : 0);
        return (dx + dy) / G * kStepCost;
    };
    // Room for the detour and for the four bends that a way round an obstacle takes.
    const int mostCost = estimate(from) + detourSteps * kStepCost + 4 * kBendCost;
    ++search_;
    // Estimated total first; among equals the one furthest along, which keeps the search from
    // spreading over the plateaus that a grid has so many of.
    using Entry = std::tuple<int, int, int>; // estimated total, minus the cost so far, state
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    const int start = Index(from);
    // The start has no direction yet: every first step is straight.
    for (int direction = 0; direction < 4; ++direction) {
        const auto state = static_cast<std::size_t>(start * 4 + direction);
        stamp_[state] = search_;
        cost_[state] = 0;
        from_[state] = -1;
        open.push({estimate(from), 0, static_cast<int>(state)});
    }
    int found = -1;
    while (!open.empty()) {
        const auto [total, negativeCost, state] = open.top();
        open.pop();
        ++work_;
        const int index = state / 4;
        const int heading = state % 4;
        const int cost = cost_[static_cast<std::size_t>(state)];
        if (-negativeCost > cost) {
            continue; // a cheaper way here was found after this entry was queued
        }
        if (index != start && owner_[static_cast<std::size_t>(index)] == node &&
            !crossing_[static_cast<std::size_t>(index)] &&
            (onlyRow == INT_MIN || At(index).y == onlyRow)) {
            found = state;
            break;
        }
        const int here = owner_[static_cast<std::size_t>(index)];
        const bool crossingHere = index != start && here != 0 && here != node;
        for (int direction = 0; direction < 4; ++direction) {
            if (crossingHere && direction != heading) {
                continue;
            }
            if (index != start && direction == Reverse(heading)) {
                continue;
            }
            const Point p = At(index);
            const Point q{p.x + kStepX[direction] * G, p.y + kStepY[direction] * G};
            if (!Inside(q) || EdgeOwner(index, direction) != 0) {
                continue;
            }
            const int next = Index(q);
            const auto n = static_cast<std::size_t>(next);
            const int pin = pinNode_[n];
            if ((pin != 0 && pin != node) || (blocked_[n] && pin != node)) {
                continue;
            }
            int step = kStepCost + (index != start && direction != heading ? kBendCost : 0);
            const int other = owner_[n];
            if (other != 0 && other != node) {
                // Only straight across a wire that runs straight through, at a plain point.
                if (!mayCross || noCrossing_[n] || crossing_[n]) {
                    continue;
                }
                const int across = Horizontal(direction) ? 2 : 0;
                if (EdgeOwner(next, across) != other || EdgeOwner(next, across + 1) != other ||
                    EdgeOwner(next, direction) != 0 || EdgeOwner(next, Reverse(direction)) != 0) {
                    continue;
                }
                step += kCrossingCost;
            } else if (other == node && crossing_[n]) {
                continue;
            }
            const auto nextState = static_cast<std::size_t>(next * 4 + direction);
            const int nextCost = cost + step;
            if (nextCost + estimate(q) > mostCost) {
                continue;
            }
            if (stamp_[nextState] == search_ && cost_[nextState] <= nextCost) {
                continue;
            }
            stamp_[nextState] = search_;
            cost_[nextState] = nextCost;
            from_[nextState] = state;
            open.push({nextCost + estimate(q), -nextCost, static_cast<int>(nextState)});
        }
    }
    if (found < 0) {
        return false;
    }
    Box& box = reach_[static_cast<std::size_t>(node)];
    for (int state = found; state >= 0; state = from_[static_cast<std::size_t>(state)]) {
        const int index = state / 4;
        const auto i = static_cast<std::size_t>(index);
        if (owner_[i] == 0) {
            owner_[i] = node;
        } else if (owner_[i] != node) {
            crossing_[i] = 1;
        }
        const Point p = At(index);
        box = {std::min(box.x0, p.x), std::min(box.y0, p.y), std::max(box.x1, p.x),
               std::max(box.y1, p.y)};
        const int parent = from_[static_cast<std::size_t>(state)];
        if (parent >= 0) {
            SetEdgeOwner(index, Reverse(state % 4), node);
        }
    }
    return true;
}

bool WireRouter::Connect(int node, const std::vector<Point>& pins) {
    if (static_cast<std::size_t>(node) >= reach_.size()) {
        reach_.resize(static_cast<std::size_t>(node) + 1, Box{INT_MAX, INT_MAX, INT_MIN, INT_MIN});
    }
    std::vector<Point> waiting = pins;
    Box& reach = reach_[static_cast<std::size_t>(node)];
    if (reach.x0 == INT_MAX && !waiting.empty()) {
        const Point first = waiting.front();
        waiting.erase(waiting.begin());
        owner_[static_cast<std::size_t>(Index(first))] = node;
        reach = {first.x, first.y, first.x, first.y};
    }
    while (!waiting.empty()) {
        // Nearest to what is drawn first: short wires make a tidy tree.
        auto distance = [&](Point p) {
            const int dx = p.x < reach.x0 ? reach.x0 - p.x : (p.x > reach.x1 ? p.x - reach.x1 : 0);
            const int dy = p.y < reach.y0 ? reach.y0 - p.y : (p.y > reach.y1 ? p.y - reach.y1 : 0);
            return dx + dy;
        };
        auto nearest = std::min_element(waiting.begin(), waiting.end(), [&](Point a, Point b) {
            return distance(a) < distance(b);
        });
        const Point pin = *nearest;
        waiting.erase(nearest);
        if (owner_[static_cast<std::size_t>(Index(pin))] == node) {
            continue; // an earlier wire passed through it
        }
        if (!Route(node, pin, INT_MIN, true, kAnyDetour)) {
            return false;
        }
    }
    return true;
}

bool WireRouter::ConnectToRail(int node, Point pin, int railY, bool mayCross, int detourSteps) {
    return owner_[static_cast<std::size_t>(Index(pin))] == node ||
           Route(node, pin, railY, mayCross, detourSteps);
}

bool WireRouter::FreeBelow(Point at) const {
    const Point below{at.x, at.y + G};
    if (!Inside(below)) {
        return false;
    }
    const auto i = static_cast<std::size_t>(Index(below));
    return EdgeOwner(Index(at), 2) == 0 && owner_[i] == 0 && !blocked_[i] && pinNode_[i] == 0;
}

void WireRouter::TrimRail(int y, int node, const std::vector<Point>& keep) {
    auto needed = [&](int index) {
        const Point p = At(index);
        return EdgeOwner(index, 3) == node || EdgeOwner(index, 2) == node ||
               std::find(keep.begin(), keep.end(), p) != keep.end();
    };
    const int row = (y - top_) / G;
    int first = row * width_;
    const int end = first + width_;
    while (first < end && !needed(first)) {
        if (rightEdge_[static_cast<std::size_t>(first)] == node) {
            rightEdge_[static_cast<std::size_t>(first)] = 0;
        }
        if (owner_[static_cast<std::size_t>(first)] == node) {
            owner_[static_cast<std::size_t>(first)] = 0;
        }
        ++first;
    }
    int last = end - 1;
    while (last > first && !needed(last)) {
        if (rightEdge_[static_cast<std::size_t>(last - 1)] == node) {
            rightEdge_[static_cast<std::size_t>(last - 1)] = 0;
        }
        if (owner_[static_cast<std::size_t>(last)] == node) {
            owner_[static_cast<std::size_t>(last)] = 0;
        }
        --last;
    }
}

std::vector<Wire> WireRouter::Wires() const {
    std::vector<Wire> wires;
    // Maximal straight runs of one net, broken where a pin sits or a branch leaves.
    for (int pass = 0; pass < 2; ++pass) {
        const int direction = pass == 0 ? 0 : 2;
        const int lines = pass == 0 ? height_ : width_;
        const int length = pass == 0 ? width_ : height_;
        for (int line = 0; line < lines; ++line) {
            int runStart = -1;
            int runNode = 0;
            for (int along = 0; along < length; ++along) {
                const int index = pass == 0 ? line * width_ + along : along * width_ + line;
                const int owner = along < length - 1 ? EdgeOwner(index, direction) : 0;
                if (runStart >= 0 && (owner != runNode || BreaksWire(index, runNode))) {
                    wires.push_back({runNode, At(runStart), At(index)});
                    runStart = -1;
                }
                if (runStart < 0 && owner > 0) {
                    runStart = index;
                    runNode = owner;
                }
            }
        }
    }
    return wires;
}

std::vector<NodePoint> WireRouter::Junctions() const {
    std::vector<NodePoint> junctions;
    for (int index = 0; index < width_ * height_; ++index) {
        const int node = owner_[static_cast<std::size_t>(index)];
        if (node > 0 &&
            Degree(index, node) + (pinNode_[static_cast<std::size_t>(index)] == node ? 1 : 0) >=
                3) {
            junctions.push_back({node, At(index)});
        }
    }
    return junctions;
}

int WireRouter::Crossings() const {
    return static_cast<int>(std::count(crossing_.begin(), crossing_.end(), 1));
}

} // namespace kelvor::schematic
