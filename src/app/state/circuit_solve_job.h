// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/common/long_calculation.h"
#include "messages.h"
#include "solver/response.h"

#include <memory>
#include <optional>

namespace kelvor::app {

struct AppState;

// The working circuit loaded for a window's long calculation, and where its solves run: on a
// worker, or on the window thread when they show messages as they go (the inductor trace,
// "ERROR in RESPONSE"). A copy may travel to the worker: the circuit it holds never changes.
class CircuitSolveJob {
public:
    // Shows why and gives nothing when the working circuit cannot be loaded.
    static std::optional<CircuitSolveJob> Load(AppState& state);

    const LoadedCircuit& circuit() const { return *circuit_; }
    CalculationThread where() const { return where_; }
    // A solver with the user's choice of the inductor trace.
    ResponseSolver MakeSolver() const;
    // The window's messages on the window thread; none on a worker, where no box can be shown.
    MessageSink& messages() const;

private:
    CircuitSolveJob(std::shared_ptr<const LoadedCircuit> circuit, bool test1Trace,
                    MessageSink& windowMessages);

    std::shared_ptr<const LoadedCircuit> circuit_;
    bool test1Trace_;
    CalculationThread where_;
    MessageSink* windowMessages_;
};

} // namespace kelvor::app
