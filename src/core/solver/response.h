#pragma once

#include "circuit/circuit_state.h"
#include "circuit/record_file.h"
#include "solver/admittance_matrix.h"

#include <filesystem>

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
};

enum class ResponseForm { Display, Raw };

// The records of one parse and the node roles of that parse, read once per computation run.
struct LoadedCircuit {
    RecordList records; // header record first; it is not used by the solver
    int32_t NodeIn = 0;
    int32_t NodeOut = 0;
    int32_t NodeCom = 0;
    int32_t NoNodes = 0;
};

// Reads RECORDS.TMP from the folder; the node roles come from the state of the parse.
LoadedCircuit LoadCircuit(const std::filesystem::path& folder, const CircuitState& state);
LoadedCircuit MakeLoadedCircuit(RecordList records, const CircuitState& state);

// One solver per thread: it owns the matrix that each computation reuses.
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
    AdmittanceMatrix matrix_;
};

} // namespace kelvor
