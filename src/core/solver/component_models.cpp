// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/component_models.h"

#include "messages.h"
#include "text/number_format.h"
#include "text/words.h"

#include <cmath>

namespace kelvor {
namespace {

// Admittance y between nodes a (slot 0) and b (slot 1).
constexpr Stamp kBranchStamps[] = {
    {0, 1, 0, true}, {1, 0, 0, true}, {0, 0, 0, false}, {1, 1, 0, false}};

// Primary start 0, primary finish 1, secondary start 2, secondary finish 3; terms YS, YM, YP.
constexpr Stamp kMutualInductorStamps[] = {
    {2, 2, 0, false}, {2, 3, 0, true},  {3, 2, 0, true},  {3, 3, 0, false}, // YS, secondary
    {0, 2, 1, true},  {0, 3, 1, false}, {1, 2, 1, false}, {1, 3, 1, true},  // YM, mutual
    {2, 0, 1, true},  {2, 1, 1, false}, {3, 0, 1, false}, {3, 1, 1, true},  //
    {0, 1, 2, true},  {1, 0, 2, true},  {0, 0, 2, false}, {1, 1, 2, false}, // YP, primary
};

// Primary start 0, tap 1, finish 2, secondary start 3, finish 4; terms k*Y0, (1+k)*Y0,
// (1+k)/(m*m)*Y0, (1+2k)*Y0, twice that, k/m*Y0.
constexpr Stamp kTransformerStamps[] = {
    {0, 2, 0, false}, {2, 0, 0, false},                                     //
    {0, 0, 1, false}, {2, 2, 1, false},                                     //
    {3, 3, 2, false}, {4, 4, 2, false}, {3, 4, 2, true},  {4, 3, 2, true},  //
    {0, 1, 3, true},  {1, 0, 3, true},  {2, 1, 3, true},  {1, 2, 3, true},  //
    {1, 1, 4, false},                                                       //
    {0, 3, 5, true},  {3, 0, 5, true},  {0, 4, 5, false}, {4, 0, 5, false}, //
    {3, 2, 5, false}, {2, 3, 5, false}, {4, 2, 5, true},  {2, 4, 5, true},
};

// Control 0, output 1, common 2; terms Yin, Yout, Yfb, Gm, Gm - Yfb, (Yin + Yout) + Gm. Yin
// between control and common, Yout between output and common, Yfb between control and output,
// and a current Gm * (Vc - Ve) flowing from the output into the device and out at the common.
constexpr Stamp kControlledDeviceStamps[] = {
    {0, 0, 0, false}, {0, 0, 2, false}, {0, 1, 2, true},  {0, 2, 0, true}, {1, 0, 4, false},
    {1, 1, 1, false}, {1, 1, 2, false}, {1, 2, 1, true},  {1, 2, 3, true}, {2, 0, 0, true},
    {2, 0, 3, true},  {2, 1, 1, true},  {2, 2, 5, false},
};

// Inputs 0 (+) and 1 (-), output 2, the circuit's common node; terms 1/Zin, Af, COne. A
// single-pole open-loop gain drives the output from the common node behind 1 ohm.
constexpr Stamp kOpAmpStamps[] = {
    {0, 0, 0, false},
    {0, 1, 0, true},
    {1, 0, 0, true},
    {1, 1, 0, false},
    {2, 0, 1, true},
    {2, 1, 1, false},
    {2, 2, 2, false},
    {2, kCommonNodeSlot, 2, true},
    {kCommonNodeSlot, 0, 1, false},
    {kCommonNodeSlot, 1, 1, true},
    {kCommonNodeSlot, 2, 2, true},
    {kCommonNodeSlot, kCommonNodeSlot, 2, false},
};

Complex Scaled(long double factor, Complex value) {
    return CMul(MakeComplex(factor, 0), value);
}

void ShowInductorTrace(const StampContext& context, long double inductance) {
    const std::string message = " W       = " + FormatExponent(context.W, 18, 4) + "\r\r" +
                                " Value   = " + FormatExponent(inductance, 18, 4) + "\r\r" +
                                " W*Value = " + FormatExponent(context.W * inductance, 18, 4);
    context.messages->ShowInfo(CutText(message, 255));
}

void InductorTerms(const ComponentRecord& record, const StampContext& context, Complex* terms) {
    const long double inductance = record.values[0];
    long double seriesResistance = record.values[1];
    if (seriesResistance < Rmin) {
        seriesResistance = Rmin;
    }
    terms[0] = CDiv(COne, MakeComplex(seriesResistance, context.W * inductance));
    if (context.test1Trace && context.messages != nullptr) {
        ShowInductorTrace(context, inductance);
    }
}

void MutualInductorTerms(const ComponentRecord& record, const StampContext& context,
                         Complex* terms) {
    const long double lp = record.values[0], ls = record.values[1], k = record.values[2];
    const long double rp = record.values[3], rs = record.values[4];
    const long double w = context.W;

    const long double t = ((w * w) * lp) * ls;
    // The determinant of the winding impedance matrix.
    const Complex determinant = MakeComplex((k * k - 1) * t + rp * rs, (lp * rs + ls * rp) * w);
    terms[0] = CDiv(MakeComplex(rp, w * lp), determinant);
    terms[1] = CDiv(MakeComplex(0, std::sqrt(lp * ls) * (w * k)), determinant);
    terms[2] = CDiv(MakeComplex(rs, w * ls), determinant);
}

} // namespace

// The coupling of the three windings, from the leakage and resistance relative to W * Lp: the
// first three terms of the series of 1 / (1 + x), held below 1 so the windings never become
// ideal (which would make the inverse inductance matrix singular).
long double TransformerCoupling(long double w, long double lp, long double n, long double llp,
                                long double lls, long double rp, long double rs) {
    if (w == 0) {
        return 0;
    }
    const long double x =
        CAbs(MakeComplex((llp + lls / (n * n)) / lp, (rp + rs / (n * n)) / (w * lp)));
    long double k = x * x + (1 - x);
    if (k > CouplingLimit) {
        k = CouplingLimit;
    }
    return k;
}

namespace {

// The inverse inductance matrix of windings S-P, P-F (each Lp/4) and the secondary, all coupled
// by k, divided by jW.
void TransformerTerms(const ComponentRecord& record, const StampContext& context, Complex* terms) {
    const long double lp = record.values[0], n = record.values[1];
    const long double w = context.W;
    const long double k = TransformerCoupling(w, lp, n, record.values[2], record.values[3],
                                              record.values[4], record.values[5]);
    const long double halfPrimary = lp / 4;
    const long double m = 2 * n;
    const Complex y0 = CDiv(COne, MakeComplex(0, w * halfPrimary * (1 - k) * (1 + 2 * k)));
    terms[0] = Scaled(k, y0);
    terms[1] = Scaled(1 + k, y0);
    terms[2] = Scaled((1 + k) / (m * m), y0);
    terms[3] = Scaled(1 + 2 * k, y0);
    terms[4] = CMul(terms[3], CTwo);
    terms[5] = Scaled(k / m, y0);
}

void ControlledDeviceTerms(Complex yin, Complex yout, Complex yfb, Complex gm, Complex* terms) {
    terms[0] = yin;
    terms[1] = yout;
    terms[2] = yfb;
    terms[3] = gm;
    terms[4] = CSub(gm, yfb);
    terms[5] = CAdd3(yin, yout, gm);
}

void BipolarTerms(const ComponentRecord& record, const StampContext& context, Complex* terms) {
    const long double beta = record.values[0], collectorCurrent = record.values[1];
    const long double ft = record.values[2], cbc = record.values[3], cce = record.values[5];
    const long double gm = collectorCurrent / ThermalVoltage;
    // The base-emitter capacitance comes from Ft alone, through the frequency in hertz.
    ControlledDeviceTerms(MakeComplex(gm / beta, (context.frequency * gm) / ft),
                          MakeComplex(0, context.W * cce), MakeComplex(0, context.W * cbc),
                          MakeComplex(gm, 0), terms);
}

void FieldEffectTerms(const ComponentRecord& record, const StampContext& context, Complex* terms) {
    const long double w = context.W;
    ControlledDeviceTerms(
        MakeComplex(GateLeakage, w * record.values[2]), MakeComplex(0, w * record.values[3]),
        MakeComplex(0, w * record.values[1]), MakeComplex(record.values[0], 0), terms);
}

void ValveTerms(const ComponentRecord& record, const StampContext& context, Complex* terms) {
    const long double w = context.W;
    ControlledDeviceTerms(MakeComplex(GateLeakage, w * record.values[3]),
                          MakeComplex(1 / record.values[1], w * record.values[4]),
                          MakeComplex(0, w * record.values[2]), MakeComplex(record.values[0], 0),
                          terms);
}

void OpAmpTerms(const ComponentRecord& record, const StampContext& context, Complex* terms) {
    const long double openLoopGain = record.values[0], inputResistance = record.values[1];
    const long double cornerFrequency = record.values[2];
    terms[0] = MakeComplex(1 / inputResistance, 0);
    terms[1] =
        CDiv(MakeComplex(openLoopGain, 0), MakeComplex(1, context.frequency / cornerFrequency));
    terms[2] = COne;
}

} // namespace

std::span<const Stamp> StampsOf(char kind) {
    switch (kind) {
    case 'R':
    case 'C':
    case 'L':
        return kBranchStamps;
    case 'M':
        return kMutualInductorStamps;
    case 'T':
        return kTransformerStamps;
    case 'B':
    case 'F':
    case 'V':
        return kControlledDeviceStamps;
    case 'A':
        return kOpAmpStamps;
    default:
        return {};
    }
}

bool HasConstantTerms(char kind) {
    return kind == 'R';
}

void ComputeElementTerms(const ComponentRecord& record, const StampContext& context,
                         Complex* terms) {
    switch (record.kind) {
    case 'R':
        terms[0] = MakeComplex(1 / record.values[0], 0);
        break;
    case 'C':
        terms[0] = MakeComplex(0, context.W * record.values[0]);
        break;
    case 'L':
        InductorTerms(record, context, terms);
        break;
    case 'M':
        MutualInductorTerms(record, context, terms);
        break;
    case 'T':
        TransformerTerms(record, context, terms);
        break;
    case 'B':
        BipolarTerms(record, context, terms);
        break;
    case 'F':
        FieldEffectTerms(record, context, terms);
        break;
    case 'V':
        ValveTerms(record, context, terms);
        break;
    case 'A':
        OpAmpTerms(record, context, terms);
        break;
    default:
        break;
    }
}

void StampComponent(const ComponentRecord& record, const StampContext& context,
                    AdmittanceMatrix& matrix) {
    Complex terms[kMaxElementTerms];
    ComputeElementTerms(record, context, terms);
    for (const Stamp& stamp : StampsOf(record.kind)) {
        const auto node = [&](std::uint8_t slot) {
            return slot == kCommonNodeSlot ? context.NodeCom : record.nodes[slot];
        };
        Complex& entry = matrix.at(node(stamp.row), node(stamp.column));
        entry = stamp.subtract ? CSub(entry, terms[stamp.term]) : CAdd(entry, terms[stamp.term]);
    }
}

} // namespace kelvor
