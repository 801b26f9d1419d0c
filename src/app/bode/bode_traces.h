// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bode/bode_grid.h"
#include "bode/bode_markers.h"
#include "stepping/step_list.h"

#include <memory>
#include <string>
#include <vector>

namespace kelvor::app {

// One curve of the Bode window: the current Datafile (always the first), another Datafile laid
// over it, the current Datafile with one value stepped, or a kept copy that no longer follows
// any circuit.
struct BodeTrace {
    std::string title;
    // None for a kept curve: it is never computed again.
    std::shared_ptr<const LoadedCircuit> circuit;
    BodeCurve curve;
    std::vector<BodeMarker> markers;
    bool visible = true;
    bool stepped = false; // a variant of the current Datafile, made by Step...
};

// Datafiles and kept curves laid over each other, the current Datafile's among them.
inline constexpr std::size_t kMostBodeTraces = 8;
// Stepped variants of the current Datafile come beside those, one per stepped value.
inline constexpr auto kMostSteppedTraces = static_cast<std::size_t>(kMostStepValues);

// The curves of the window, the current Datafile's first.
class BodeTraceSet {
public:
    BodeTraceSet() : traces_(1) {}

    const std::vector<BodeTrace>& traces() const { return traces_; }
    BodeTrace& at(std::size_t index) { return traces_.at(index); }
    const BodeTrace& current() const { return traces_.front(); }
    bool Full() const { return UnsteppedCount() >= kMostBodeTraces; }

    // The current Datafile's circuit; its curve stays until the next computation replaces it.
    void SetCurrent(std::string title, LoadedCircuit circuit);
    // Another Datafile became current: the first curve drops the old circuit and what was
    // computed from it, and waits for the new one; the old circuit's stepped variants go.
    void ForgetCurrent(std::string title);
    // False when the set is full.
    bool AddOverlay(std::string title, LoadedCircuit circuit);
    // The stepped variants, in place of those of an earlier step; false, and nothing changed,
    // when they do not fit beside the other curves.
    bool SetSteps(std::vector<std::pair<std::string, LoadedCircuit>> steps);
    // A frozen copy of the current curve; false when the set is full or there is nothing to keep.
    bool KeepCurrent();
    // The current Datafile's curve cannot be removed, only hidden.
    bool Remove(std::size_t index);

    // The indexes of the curves a computation solves: every one that has a circuit.
    std::vector<std::size_t> Computable() const;

private:
    std::size_t UnsteppedCount() const;

    std::vector<BodeTrace> traces_;
    int keptCount_ = 0;
};

} // namespace kelvor::app
