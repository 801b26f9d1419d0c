// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "circuit/component_kind.h"
#include "circuit/component_record.h"
#include "extended_real.h"
#include "solver/admittance_matrix.h"

#include <cstdint>
#include <span>

namespace kelvor {

class MessageSink;

inline constexpr long double ThermalVoltage = 0.026L;
inline constexpr long double GateLeakage = 1e-10L;

struct StampContext {
    long double W = 0;         // angular frequency
    long double frequency = 0; // hertz
    int NodeCom = 0;           // the op-amp's common terminal
    bool test1Trace = false;
    MessageSink* messages = nullptr; // for the inductor trace
};

// At most this many element admittances (terms) per record.
inline constexpr int kMaxElementTerms = 6;

// The node of a stamp that is not one of the record's five: the circuit's common node.
inline constexpr std::uint8_t kCommonNodeSlot = 5;

// One addition of a model into the matrix: entry (row, column), both given as node slots of the
// record (0..4, or kCommonNodeSlot), gets the term added or subtracted.
struct Stamp {
    std::uint8_t row;
    std::uint8_t column;
    std::uint8_t term;
    bool subtract;
};

// The coupling coefficient k of all three windings of a transformer record (T) at angular
// frequency w, from its Lp, ratio n, leakages and resistances; 0 at w = 0.
long double TransformerCoupling(long double w, long double lp, long double n, long double llp,
                                long double lls, long double rp, long double rs);

// The additions of a kind, in the order they are made: with extended reals the order of the
// additions into one entry decides the last bits of the results. Empty for unknown kinds.
std::span<const Stamp> StampsOf(char kind);

// True when a kind's terms do not depend on the frequency.
bool HasConstantTerms(char kind);

// The element admittances of one record at one frequency, the terms its stamps add. Shows the
// inductor trace when the context asks for it.
void ComputeElementTerms(const ComponentRecord& record, const StampContext& context,
                         Complex* terms);

// Adds the element admittances of one record at one frequency into the matrix. The record's
// node numbers must already have been checked to lie in 1..kHighestNodeNumber.
void StampComponent(const ComponentRecord& record, const StampContext& context,
                    AdmittanceMatrix& matrix);

} // namespace kelvor
