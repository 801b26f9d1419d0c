#include "solver/component_models.h"

#include "messages.h"
#include "text/number_format.h"
#include "text/words.h"

#include <cmath>

namespace kelvor {
namespace {

// Each stamp adds into the matrix in a fixed order; with extended reals the order of the
// additions into one entry decides the last bits of the results.
[[gnu::always_inline]] inline void AddTo(AdmittanceMatrix& y, int row, int column,
                                         const Complex& value) {
    y.at(row, column) = CAdd(y.at(row, column), value);
}

[[gnu::always_inline]] inline void SubtractFrom(AdmittanceMatrix& y, int row, int column,
                                                const Complex& value) {
    y.at(row, column) = CSub(y.at(row, column), value);
}

[[gnu::always_inline]] inline void StampBranch(AdmittanceMatrix& y, int a, int b,
                                               const Complex& admittance) {
    SubtractFrom(y, a, b, admittance);
    SubtractFrom(y, b, a, admittance);
    y.at(a, a) = CAdd(admittance, y.at(a, a));
    y.at(b, b) = CAdd(admittance, y.at(b, b));
}

// Yin between control c and common e, Yout between output o and e, Yfb between c and o, and a
// current Gm * (Vc - Ve) flowing from o into the device and out at e.
void StampControlledDevice(AdmittanceMatrix& y, int c, int o, int e, Complex yin, Complex yout,
                           Complex yfb, Complex gm) {
    y.at(c, c) = CAdd3(y.at(c, c), yin, yfb);
    y.at(c, o) = CSub(y.at(c, o), yfb);
    y.at(c, e) = CSub(y.at(c, e), yin);
    y.at(o, c) = CAdd(y.at(o, c), CSub(gm, yfb));
    y.at(o, o) = CAdd3(y.at(o, o), yout, yfb);
    y.at(o, e) = CSub3(y.at(o, e), yout, gm);
    y.at(e, c) = CSub3(y.at(e, c), yin, gm);
    y.at(e, o) = CSub(y.at(e, o), yout);
    y.at(e, e) = CAdd(y.at(e, e), CAdd3(yin, yout, gm));
}

Complex Scaled(long double factor, Complex value) {
    return CMul(MakeComplex(factor, 0), value);
}

void ShowInductorTrace(const StampContext& context, long double inductance) {
    const std::string message = " W       = " + FormatExponent(context.W, 18, 4) + "\r\r" +
                                " Value   = " + FormatExponent(inductance, 18, 4) + "\r\r" +
                                " W*Value = " + FormatExponent(context.W * inductance, 18, 4);
    context.messages->ShowInfo(CutText(message, 255));
}

void StampInductor(const ComponentRecord& record, const StampContext& context,
                   AdmittanceMatrix& y) {
    const long double inductance = record.values[0];
    long double seriesResistance = record.values[1];
    if (seriesResistance < Rmin) {
        seriesResistance = Rmin;
    }
    const Complex admittance = CDiv(COne, MakeComplex(seriesResistance, context.W * inductance));
    if (context.test1Trace && context.messages != nullptr) {
        ShowInductorTrace(context, inductance);
    }
    StampBranch(y, record.nodes[0], record.nodes[1], admittance);
}

void StampMutualInductor(const ComponentRecord& record, const StampContext& context,
                         AdmittanceMatrix& y) {
    const int priS = record.nodes[0], priF = record.nodes[1];
    const int secS = record.nodes[2], secF = record.nodes[3];
    const long double lp = record.values[0], ls = record.values[1], k = record.values[2];
    const long double rp = record.values[3], rs = record.values[4];
    const long double w = context.W;

    const long double t = ((w * w) * lp) * ls;
    // The determinant of the winding impedance matrix.
    const Complex determinant = MakeComplex((k * k - 1) * t + rp * rs, (lp * rs + ls * rp) * w);
    const Complex ys = CDiv(MakeComplex(rp, w * lp), determinant);
    const Complex ym = CDiv(MakeComplex(0, std::sqrt(lp * ls) * (w * k)), determinant);
    const Complex yp = CDiv(MakeComplex(rs, w * ls), determinant);

    AddTo(y, secS, secS, ys);
    SubtractFrom(y, secS, secF, ys);
    SubtractFrom(y, secF, secS, ys);
    AddTo(y, secF, secF, ys);

    SubtractFrom(y, priS, secS, ym);
    AddTo(y, priS, secF, ym);
    AddTo(y, priF, secS, ym);
    SubtractFrom(y, priF, secF, ym);
    SubtractFrom(y, secS, priS, ym);
    AddTo(y, secS, priF, ym);
    AddTo(y, secF, priS, ym);
    SubtractFrom(y, secF, priF, ym);

    StampBranch(y, priS, priF, yp);
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

void StampTransformer(const ComponentRecord& record, const StampContext& context,
                      AdmittanceMatrix& y) {
    const int s = record.nodes[0], p = record.nodes[1], f = record.nodes[2];
    const int s2 = record.nodes[3], f2 = record.nodes[4];
    const long double lp = record.values[0], n = record.values[1];
    const long double w = context.W;

    const long double k = TransformerCoupling(w, lp, n, record.values[2], record.values[3],
                                              record.values[4], record.values[5]);
    const long double halfPrimary = lp / 4;
    const long double m = 2 * n;
    const Complex y0 = CDiv(COne, MakeComplex(0, w * halfPrimary * (1 - k) * (1 + 2 * k)));

    const Complex mutualPrimary = Scaled(k, y0);
    AddTo(y, s, f, mutualPrimary);
    AddTo(y, f, s, mutualPrimary);

    const Complex selfPrimary = Scaled(1 + k, y0);
    AddTo(y, s, s, selfPrimary);
    AddTo(y, f, f, selfPrimary);

    const Complex selfSecondary = Scaled((1 + k) / (m * m), y0);
    AddTo(y, s2, s2, selfSecondary);
    AddTo(y, f2, f2, selfSecondary);
    SubtractFrom(y, s2, f2, selfSecondary);
    SubtractFrom(y, f2, s2, selfSecondary);

    const Complex tap = Scaled(1 + 2 * k, y0);
    SubtractFrom(y, s, p, tap);
    SubtractFrom(y, p, s, tap);
    SubtractFrom(y, f, p, tap);
    SubtractFrom(y, p, f, tap);
    AddTo(y, p, p, CMul(tap, CTwo));

    const Complex mutualSecondary = Scaled(k / m, y0);
    SubtractFrom(y, s, s2, mutualSecondary);
    SubtractFrom(y, s2, s, mutualSecondary);
    AddTo(y, s, f2, mutualSecondary);
    AddTo(y, f2, s, mutualSecondary);
    AddTo(y, s2, f, mutualSecondary);
    AddTo(y, f, s2, mutualSecondary);
    SubtractFrom(y, f2, f, mutualSecondary);
    SubtractFrom(y, f, f2, mutualSecondary);
}

void StampBipolar(const ComponentRecord& record, const StampContext& context, AdmittanceMatrix& y) {
    const long double beta = record.values[0], collectorCurrent = record.values[1];
    const long double ft = record.values[2], cbc = record.values[3], cce = record.values[5];
    const long double gm = collectorCurrent / ThermalVoltage;
    // The base-emitter capacitance comes from Ft alone, through the frequency in hertz.
    const Complex yin = MakeComplex(gm / beta, (context.frequency * gm) / ft);
    const Complex yout = MakeComplex(0, context.W * cce);
    const Complex yfb = MakeComplex(0, context.W * cbc);
    StampControlledDevice(y, record.nodes[0], record.nodes[1], record.nodes[2], yin, yout, yfb,
                          MakeComplex(gm, 0));
}

void StampFieldEffect(const ComponentRecord& record, const StampContext& context,
                      AdmittanceMatrix& y) {
    const long double w = context.W;
    const Complex yin = MakeComplex(GateLeakage, w * record.values[2]);
    const Complex yout = MakeComplex(0, w * record.values[3]);
    const Complex yfb = MakeComplex(0, w * record.values[1]);
    StampControlledDevice(y, record.nodes[0], record.nodes[1], record.nodes[2], yin, yout, yfb,
                          MakeComplex(record.values[0], 0));
}

void StampValve(const ComponentRecord& record, const StampContext& context, AdmittanceMatrix& y) {
    const long double w = context.W;
    const Complex yin = MakeComplex(GateLeakage, w * record.values[3]);
    const Complex yout = MakeComplex(1 / record.values[1], w * record.values[4]);
    const Complex yfb = MakeComplex(0, w * record.values[2]);
    StampControlledDevice(y, record.nodes[0], record.nodes[1], record.nodes[2], yin, yout, yfb,
                          MakeComplex(record.values[0], 0));
}

void StampOpAmp(const ComponentRecord& record, const StampContext& context, AdmittanceMatrix& y) {
    const int plus = record.nodes[0], minus = record.nodes[1], out = record.nodes[2];
    const int common = context.NodeCom;
    const long double openLoopGain = record.values[0], inputResistance = record.values[1];
    const long double cornerFrequency = record.values[2];

    const Complex gin = MakeComplex(1 / inputResistance, 0);
    AddTo(y, plus, plus, gin);
    SubtractFrom(y, plus, minus, gin);
    SubtractFrom(y, minus, plus, gin);
    AddTo(y, minus, minus, gin);

    // A single-pole open-loop gain driving the output from the common node behind 1 ohm.
    const Complex af =
        CDiv(MakeComplex(openLoopGain, 0), MakeComplex(1, context.frequency / cornerFrequency));
    SubtractFrom(y, out, plus, af);
    AddTo(y, out, minus, af);
    AddTo(y, out, out, COne);
    SubtractFrom(y, out, common, COne);
    AddTo(y, common, plus, af);
    SubtractFrom(y, common, minus, af);
    SubtractFrom(y, common, out, COne);
    AddTo(y, common, common, COne);
}

} // namespace

bool IsComponentKind(char kind) {
    return UsedNodeCount(kind) > 0;
}

int UsedNodeCount(char kind) {
    switch (kind) {
    case 'R':
    case 'C':
    case 'L':
        return 2;
    case 'A':
    case 'B':
    case 'F':
    case 'V':
        return 3;
    case 'M':
        return 4;
    case 'T':
        return 5;
    default:
        return 0;
    }
}

void StampComponent(const ComponentRecord& record, const StampContext& context,
                    AdmittanceMatrix& matrix) {
    switch (record.kind) {
    case 'R':
        StampBranch(matrix, record.nodes[0], record.nodes[1], MakeComplex(1 / record.values[0], 0));
        break;
    case 'C':
        StampBranch(matrix, record.nodes[0], record.nodes[1],
                    MakeComplex(0, context.W * record.values[0]));
        break;
    case 'L':
        StampInductor(record, context, matrix);
        break;
    case 'M':
        StampMutualInductor(record, context, matrix);
        break;
    case 'T':
        StampTransformer(record, context, matrix);
        break;
    case 'B':
        StampBipolar(record, context, matrix);
        break;
    case 'F':
        StampFieldEffect(record, context, matrix);
        break;
    case 'V':
        StampValve(record, context, matrix);
        break;
    case 'A':
        StampOpAmp(record, context, matrix);
        break;
    default:
        break;
    }
}

} // namespace kelvor
