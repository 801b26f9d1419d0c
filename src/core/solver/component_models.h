#pragma once

#include "circuit/component_record.h"
#include "solver/admittance_matrix.h"

namespace kelvor {

class MessageSink;

inline constexpr long double TwoPi = 6.283185307179586477L;
inline constexpr long double ThermalVoltage = 0.026L;
inline constexpr long double GateLeakage = 1e-10L;
inline constexpr long double Rmin = 1e-6L;
inline constexpr long double CouplingLimit = 0.9999999999L;

struct StampContext {
    long double W = 0;         // angular frequency
    long double frequency = 0; // hertz
    int NodeCom = 0;           // the op-amp's common terminal
    bool test1Trace = false;
    MessageSink* messages = nullptr; // for the inductor trace
};

// True for the nine kinds that the solver knows: R C L M T B F V A.
bool IsComponentKind(char kind);

// Adds the element admittances of one record at one frequency into the matrix. The record's
// node numbers must already have been checked to lie in 1..MaxNodes.
void StampComponent(const ComponentRecord& record, const StampContext& context,
                    AdmittanceMatrix& matrix);

// The coupling coefficient k of all three windings of a transformer record (T) at angular
// frequency w, from its Lp, ratio n, leakages and resistances; 0 at w = 0.
long double TransformerCoupling(long double w, long double lp, long double n, long double llp,
                                long double lls, long double rp, long double rs);

// The node fields that a kind uses (2 for R C L, 3 for A B F V, 4 for M, 5 for T).
int UsedNodeCount(char kind);

} // namespace kelvor
