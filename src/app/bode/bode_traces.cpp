// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bode/bode_traces.h"

#include <algorithm>

namespace kelvor::app {

void BodeTraceSet::SetCurrent(std::string title, LoadedCircuit circuit) {
    BodeTrace& current = traces_.front();
    current.title = std::move(title);
    current.circuit = std::make_shared<const LoadedCircuit>(std::move(circuit));
}

void BodeTraceSet::ForgetCurrent(std::string title) {
    BodeTrace& current = traces_.front();
    current.title = std::move(title);
    current.circuit.reset();
    current.curve = {};
    current.markers.clear();
    std::erase_if(traces_, [](const BodeTrace& trace) { return trace.stepped; });
}

std::size_t BodeTraceSet::UnsteppedCount() const {
    return static_cast<std::size_t>(std::count_if(
        traces_.begin(), traces_.end(), [](const BodeTrace& trace) { return !trace.stepped; }));
}

bool BodeTraceSet::SetSteps(std::vector<std::pair<std::string, LoadedCircuit>> steps) {
    if (steps.size() > kMostSteppedTraces) {
        return false;
    }
    std::erase_if(traces_, [](const BodeTrace& trace) { return trace.stepped; });
    for (auto& [title, circuit] : steps) {
        BodeTrace step;
        step.title = std::move(title);
        step.circuit = std::make_shared<const LoadedCircuit>(std::move(circuit));
        step.stepped = true;
        traces_.push_back(std::move(step));
    }
    return true;
}

bool BodeTraceSet::AddOverlay(std::string title, LoadedCircuit circuit) {
    if (Full()) {
        return false;
    }
    BodeTrace overlay;
    overlay.title = std::move(title);
    overlay.circuit = std::make_shared<const LoadedCircuit>(std::move(circuit));
    traces_.push_back(std::move(overlay));
    return true;
}

bool BodeTraceSet::KeepCurrent() {
    if (Full() || current().curve.size() == 0) {
        return false;
    }
    BodeTrace kept = current();
    kept.circuit.reset();
    kept.visible = true;
    kept.title += " (kept " + std::to_string(++keptCount_) + ")";
    traces_.push_back(std::move(kept));
    return true;
}

bool BodeTraceSet::Remove(std::size_t index) {
    if (index == 0 || index >= traces_.size()) {
        return false;
    }
    traces_.erase(traces_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

std::vector<std::size_t> BodeTraceSet::Computable() const {
    std::vector<std::size_t> indexes;
    for (std::size_t index = 0; index < traces_.size(); ++index) {
        if (traces_[index].circuit) {
            indexes.push_back(index);
        }
    }
    return indexes;
}

} // namespace kelvor::app
