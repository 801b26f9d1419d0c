// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "circuit/circuit_state.h"
#include "circuit/record_file.h"
#include "solver/admittance_matrix.h"
#include "solver/complex.h"
#include "solver/solve_plan.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace kelvor {

class MessageSink;

// Gain and phase of Vout/Vin, input and output impedance. Display form: dB (-50000 for an exact
// zero), degrees in [-180, 180), ohms made negative for a negative real part. Raw form (square
// wave and pulse): plain ratio and radians, Zin and Zout left as they were.
struct ResponsePoint {
    long double Gain = 0;
    long double Phase = 0;
    long double Zin = 0;
    long double Zout = 0;
    // Display form: the complex impedances the signed magnitudes fold, for exports that give
    // the real and imaginary parts.
    Complex ZinComplex;
    Complex ZoutComplex;
};

// A display-form gain below this is the exact zero: the output carries no signal at all.
inline constexpr long double kNoOutputGain = -49000.0L;

enum class ResponseForm { Display, Raw };

// The records of one parse and the node roles of that parse, read once per computation run,
// with the solve plan prepared from them. It never changes once made: a varied run makes a new
// circuit (WithValues), so a plan always belongs to the records beside it.
struct LoadedCircuit {
    // The node roles as the solver reads them.
    struct NodeRoles {
        int32_t NodeIn = 0;
        int32_t NodeOut = 0;
        int32_t NodeCom = 0;
        int32_t NoNodes = 0;
    };
    // One value of one record as a varied run sets it.
    struct ValueChange {
        std::size_t record = 0; // index into records (the header is record 0)
        int value = 0;          // index into the record's values
        long double to = 0;
    };

    // The records with their node roles; the solve plan is prepared when the checks allow one.
    static LoadedCircuit Prepared(RecordList records, const NodeRoles& roles);
    // The same records with the changed values, and a plan prepared for them.
    LoadedCircuit WithValues(const std::vector<ValueChange>& changes) const;
    // The same circuit without a plan: every point takes the per-record computation.
    LoadedCircuit WithoutPlan() const;

    const RecordList records; // header record first; it is not used by the solver
    const int32_t NodeIn = 0;
    const int32_t NodeOut = 0;
    const int32_t NodeCom = 0;
    const int32_t NoNodes = 0;
    // Shared read-only by every thread that solves the circuit. Without one, every point takes
    // the per-record computation.
    const std::shared_ptr<const SolvePlan> plan;

private:
    // With `sameStructure`, the plan of a circuit of the same kinds and nodes, only the values'
    // part of the plan is worked out.
    LoadedCircuit(RecordList records, const NodeRoles& roles, bool withPlan,
                  const SolvePlan* sameStructure);
};

// The circuit of a parse: its records and the node roles of the state.
LoadedCircuit MakeLoadedCircuit(RecordList records, const CircuitState& state);
// Reads RECORDS.TMP from the folder, refusing it unless it is the one the state's parse wrote;
// the node roles come from the state of the parse.
LoadedCircuit LoadCircuit(const std::filesystem::path& folder, const CircuitState& state);

// A circuit whose computation shows messages ("ERROR in RESPONSE", the inductor trace) must be
// solved one point after another, so that the messages come in order on the calling thread.
bool NeedsSequentialSolve(const LoadedCircuit& circuit, bool test1Trace);

// One solver per thread: it owns the matrix and the buffers that each computation reuses.
class ResponseSolver {
public:
    // Show the inductor trace message for every inductor in every computation.
    bool Test1Trace = false;

    // Throws KelvorError when the circuit cannot be solved (node roles a failed parse left, a
    // node number outside the matrix) or a floating-point fault occurs; `point` then keeps the
    // values it had. Unknown record kinds show "ERROR in RESPONSE" and add nothing.
    void ComputeResponse(const LoadedCircuit& circuit, long double frequency, ResponseForm form,
                         ResponsePoint& point, MessageSink& messages);

private:
    void ComputePerRecord(const LoadedCircuit& circuit, long double frequency, ResponseForm form,
                          ResponsePoint& point, MessageSink& messages);

    std::unique_ptr<AdmittanceMatrix> matrix_; // made on first use by the per-record computation
    SolveWorkspace workspace_;
};

} // namespace kelvor
