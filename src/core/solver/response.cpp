// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/response.h"

#include "kelvor_error.h"
#include "messages.h"
#include "solver/circuit_checks.h"
#include "solver/component_models.h"
#include "solver/floating_point_faults.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

namespace kelvor {
namespace {

constexpr long double DegreesPerRadian = 57.295779513082320877L;
constexpr long double ZeroOutputGain = -50000;

std::string FrequencyText(long double frequency) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6Lg", frequency);
    return text;
}

std::string Activity(long double frequency) {
    return "while computing the response at " + FrequencyText(frequency) + " Hz.";
}

// Gain, phase, Zin and Zout from the two-port into `point` (the raw form sets gain and phase
// only). Floating-point faults are left in the status flags.
void FigurePoint(const TwoPortAdmittances& y, ResponseForm form, ResponsePoint& point) {
    const Complex det = CSub(CMul(y.y11, y.y22), CMul(y.y12, y.y21));
    const Complex zinC = CDiv(y.y22, det);
    const Complex zoutC = CDiv(COne, y.y22);
    const Complex g = CMul(CMul(y.y21, zoutC), CMinusOne);

    long double gain = CAbs(g);
    long double gr = g.Re;
    if (std::fabs(gr) < TinyDenominator) {
        gr = gr < 0 ? -TinyDenominator : TinyDenominator;
    }
    long double phase = std::atan(g.Im / gr);
    if (gr < 0) {
        // A negative real gain has phase -pi, never +pi.
        phase = g.Im > 0 ? phase + Pi : phase - Pi;
    }
    if (form == ResponseForm::Raw) {
        point.Gain = gain;
        point.Phase = phase;
        return;
    }

    gain = gain == 0 ? ZeroOutputGain : 20 * std::log10(gain);
    phase = phase * DegreesPerRadian;
    long double zin = CAbs(zinC);
    if (zinC.Re < 0) {
        zin = -zin;
    }
    long double zout = CAbs(zoutC);
    if (zoutC.Re < 0) {
        zout = -zout;
    }
    point = {gain, phase, zin, zout, zinC, zoutC};
}

// The point from the two-port; throws the floating-point fault of the point, leaving `point`
// as it was.
void FinishPoint(const TwoPortAdmittances& y, long double frequency, ResponseForm form,
                 ResponsePoint& point) {
    ResponsePoint finished = point;
    FigurePoint(y, form, finished);
    ThrowIfFloatingPointFault([frequency] { return Activity(frequency); });
    point = finished;
}

} // namespace

LoadedCircuit::LoadedCircuit(RecordList recordList, const NodeRoles& roles, bool withPlan,
                             const SolvePlan* sameStructure)
    : records(std::move(recordList)), NodeIn(roles.NodeIn), NodeOut(roles.NodeOut),
      NodeCom(roles.NodeCom), NoNodes(roles.NoNodes),
      // The plan reads the members above, which are all in place by now.
      plan(!withPlan                  ? nullptr
           : sameStructure != nullptr ? sameStructure->WithValues(*this)
                                      : SolvePlan::Prepare(*this)) {}

LoadedCircuit LoadedCircuit::Prepared(RecordList records, const NodeRoles& roles) {
    return LoadedCircuit(std::move(records), roles, true, nullptr);
}

LoadedCircuit LoadedCircuit::WithValues(const std::vector<ValueChange>& changes) const {
    RecordList changed = records;
    for (const ValueChange& change : changes) {
        changed[change.record].values[static_cast<std::size_t>(change.value)] = change.to;
    }
    // Without a plan here the changed values may still allow one (a zero resistance varied
    // away from zero), so it is prepared afresh.
    return LoadedCircuit(std::move(changed), {NodeIn, NodeOut, NodeCom, NoNodes}, true, plan.get());
}

LoadedCircuit LoadedCircuit::WithoutPlan() const {
    return LoadedCircuit(records, {NodeIn, NodeOut, NodeCom, NoNodes}, false, nullptr);
}

LoadedCircuit MakeLoadedCircuit(RecordList records, const CircuitState& state) {
    return LoadedCircuit::Prepared(std::move(records),
                                   {state.NodeIn, state.NodeOut, state.NodeCom, state.NoNodes});
}

LoadedCircuit LoadCircuit(const std::filesystem::path& folder, const CircuitState& state) {
    return MakeLoadedCircuit(ReadOwnRecordFile(folder / kRecordFileName, state.ownRecordFile),
                             state);
}

bool NeedsSequentialSolve(const LoadedCircuit& circuit, bool test1Trace) {
    for (std::size_t index = 1; index < circuit.records.size(); ++index) {
        const char kind = circuit.records[index].kind;
        if (!IsComponentKind(kind) || (test1Trace && kind == 'L')) {
            return true;
        }
    }
    return false;
}

void ResponseSolver::ComputeResponse(const LoadedCircuit& circuit, long double frequency,
                                     ResponseForm form, ResponsePoint& point,
                                     MessageSink& messages) {
    // The inductor trace is shown record by record, in the middle of a computation.
    if (circuit.plan == nullptr || (Test1Trace && circuit.plan->HasInductor())) {
        ComputePerRecord(circuit, frequency, form, point, messages);
        return;
    }
    // One read of the flags per point: they are not cleared first, so a flag can also be one
    // that code before this point left. Only then is the point solved again from clear flags,
    // the same arithmetic giving the same flags, and what it raises itself is reported.
    ResponsePoint finished = point;
    FigurePoint(circuit.plan->Solve(frequency, workspace_), form, finished);
    if (RaisedFloatingPointFaults() != 0) {
        ClearFloatingPointFaults();
        FinishPoint(circuit.plan->Solve(frequency, workspace_), frequency, form, point);
        return;
    }
    point = finished;
}

// Reads, checks and stamps every record at every point, and reports what it meets on the way.
void ResponseSolver::ComputePerRecord(const LoadedCircuit& circuit, long double frequency,
                                      ResponseForm form, ResponsePoint& point,
                                      MessageSink& messages) {
    CheckNodeRoles(circuit);
    const int32_t n = circuit.NoNodes;
    const auto activity = [frequency] { return Activity(frequency); };
    ClearFloatingPointFaults();

    StampContext context;
    context.W = TwoPi * frequency;
    context.frequency = frequency;
    context.NodeCom = circuit.NodeCom;
    context.test1Trace = Test1Trace;
    context.messages = &messages;

    if (matrix_ == nullptr) {
        matrix_ = std::make_unique<AdmittanceMatrix>();
    }
    AdmittanceMatrix& y = *matrix_;
    y.Clear();
    for (std::size_t index = 1; index < circuit.records.size(); ++index) {
        const ComponentRecord& record = circuit.records[index];
        CheckRecordNodes(record, static_cast<int>(index), n);
        if (IsComponentKind(record.kind)) {
            if (Test1Trace && record.kind == 'L') {
                ThrowIfFloatingPointFault(activity);
            }
            StampComponent(record, context, y);
        } else {
            ThrowIfFloatingPointFault(activity);
            messages.ShowInfo("ERROR in RESPONSE\r\n");
        }
    }

    const Renumbering renumbering = RenumberingOf(circuit);
    for (int swap = 0; swap < renumbering.count; ++swap) {
        y.SwapNodes(renumbering.swaps[swap][0], renumbering.swaps[swap][1], n);
    }
    y.ReduceToTwoPort(n);
    FinishPoint({y.at(1, 1), y.at(1, 2), y.at(2, 1), y.at(2, 2)}, frequency, form, point);
}

} // namespace kelvor
