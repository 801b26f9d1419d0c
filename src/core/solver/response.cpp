#include "solver/response.h"

#include "kelvor_error.h"
#include "messages.h"
#include "solver/component_models.h"
#include "solver/floating_point_faults.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace kelvor {
namespace {

constexpr long double Pi = 3.1415926535897932385L;
constexpr long double DegreesPerRadian = 57.295779513082320877L;
constexpr long double ZeroOutputGain = -50000;

std::string FrequencyText(long double frequency) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6Lg", frequency);
    return text;
}

// A failed parse can leave node roles that the two-port reduction cannot work with; refusing is
// better than reading matrix entries that no component set.
void CheckNodeRoles(const LoadedCircuit& circuit) {
    const int32_t n = circuit.NoNodes;
    if (n < 3) {
        throw KelvorError("Cannot compute the response: the circuit has fewer than 3 nodes.");
    }
    if (n > MaxNodes) {
        throw KelvorError("Cannot compute the response: node " + std::to_string(n) +
                          " lies outside the range 1 to 100.");
    }
    const auto inCircuit = [n](int32_t node) { return node >= 1 && node <= n; };
    if (!inCircuit(circuit.NodeIn) || !inCircuit(circuit.NodeOut) || !inCircuit(circuit.NodeCom) ||
        circuit.NodeIn == circuit.NodeOut || circuit.NodeIn == circuit.NodeCom ||
        circuit.NodeOut == circuit.NodeCom) {
        throw KelvorError("Cannot compute the response: NodeIn, NodeOut and NodeCom must be "
                          "three different nodes of the circuit.");
    }
}

void CheckRecordNodes(const ComponentRecord& record, int recordNumber, int32_t noNodes) {
    for (int16_t node : record.nodes) {
        if (node < 0 || node > 255) {
            throw KelvorError("Range error: record " + std::to_string(recordNumber) +
                              " holds the node number " + std::to_string(node) + ".");
        }
    }
    const int used = UsedNodeCount(record.kind);
    for (int index = 0; index < used; ++index) {
        const int node = record.nodes[index];
        if (node < 1 || node > noNodes) {
            throw KelvorError("Range error: record " + std::to_string(recordNumber) +
                              " uses node " + std::to_string(node) +
                              ", outside the circuit's nodes 1 to " + std::to_string(noNodes) +
                              ".");
        }
    }
}

} // namespace

LoadedCircuit MakeLoadedCircuit(RecordList records, const CircuitState& state) {
    LoadedCircuit circuit;
    circuit.records = std::move(records);
    circuit.NodeIn = state.NodeIn;
    circuit.NodeOut = state.NodeOut;
    circuit.NodeCom = state.NodeCom;
    circuit.NoNodes = state.NoNodes;
    return circuit;
}

LoadedCircuit LoadCircuit(const std::filesystem::path& folder, const CircuitState& state) {
    return MakeLoadedCircuit(ReadOwnRecordFile(folder / kRecordFileName, state.ownRecordFile),
                             state);
}

void ResponseSolver::ComputeResponse(const LoadedCircuit& circuit, long double frequency,
                                     ResponseForm form, ResponsePoint& point,
                                     MessageSink& messages) {
    CheckNodeRoles(circuit);
    const int32_t n = circuit.NoNodes;
    const auto activity = [frequency] {
        return "while computing the response at " + FrequencyText(frequency) + " Hz.";
    };
    ClearFloatingPointFaults();

    StampContext context;
    context.W = TwoPi * frequency;
    context.frequency = frequency;
    context.NodeCom = circuit.NodeCom;
    context.test1Trace = Test1Trace;
    context.messages = &messages;

    AdmittanceMatrix& y = matrix_;
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

    // Renumber so that input, output and common become nodes 1, 2 and n. Each swap moves the
    // content of the other position, so the output and common numbers are tracked as they move.
    int out = circuit.NodeOut;
    int com = circuit.NodeCom;
    if (circuit.NodeIn != 1) {
        y.SwapNodes(1, circuit.NodeIn, n);
        if (out == 1) {
            out = circuit.NodeIn;
        }
        if (com == 1) {
            com = circuit.NodeIn;
        }
    }
    if (out != 2) {
        y.SwapNodes(2, out, n);
        if (com == 2) {
            com = out;
        }
    }
    if (com != n) {
        y.SwapNodes(n, com, n);
    }

    y.ReduceToTwoPort(n);

    const Complex y11 = y.at(1, 1), y12 = y.at(1, 2), y21 = y.at(2, 1), y22 = y.at(2, 2);
    const Complex det = CSub(CMul(y11, y22), CMul(y12, y21));
    const Complex zinC = CDiv(y22, det);
    const Complex zoutC = CDiv(COne, y22);
    const Complex g = CMul(CMul(y21, zoutC), CMinusOne);

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
        ThrowIfFloatingPointFault(activity);
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
    ThrowIfFloatingPointFault(activity);
    point = {gain, phase, zin, zout};
}

} // namespace kelvor
