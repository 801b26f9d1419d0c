// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/spice_export.h"

#include "circuit/datafile_reader.h"
#include "circuit/datafile_text.h"
#include "interchange/exact_number.h"
#include "kelvor_error.h"
#include "solver/component_models.h"
#include "text/words.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace kelvor {

namespace {

// Below this a coil's series resistance is written as a current-controlled voltage source.
constexpr long double kLeastPlainSeriesResistance = 1e-3L;

// Writes the elements of one record. Names carry the record's number, so they never clash;
// Datafile nodes keep their numbers, the common node is 0, and nodes inside a model get names
// that start with a letter.
class RecordWriter {
public:
    RecordWriter(std::ostringstream& out, int nodeCom, int recordNumber, int sourceLine)
        : out_(out), nodeCom_(nodeCom), id_(std::to_string(recordNumber)),
          tag_(" $ line " + std::to_string(sourceLine)), sourceLine_(sourceLine) {}

    std::string Node(int datafileNode) const {
        return datafileNode == nodeCom_ ? "0" : std::to_string(datafileNode);
    }
    std::string Inner(const std::string& role) const { return "n" + id_ + role; }

    // A resistor or capacitor whose terminals meet adds nothing and is left out, as its terms
    // cancel in the matrix. A coupled winding stays even then: shorted, it still loads the
    // others.
    void TwoTerminal(char type, const std::string& role, const std::string& a, const std::string& b,
                     long double value) {
        if (a == b && type != 'L') {
            return;
        }
        out_ << type << id_ << role << ' ' << a << ' ' << b << ' ' << ExactNumberText(value) << tag_
             << '\n';
    }
    void Resistor(const std::string& role, const std::string& a, const std::string& b,
                  long double ohms) {
        TwoTerminal('R', role, a, b, ohms);
    }
    // A conductance of 0 is no element at all.
    void Conductance(const std::string& role, const std::string& a, const std::string& b,
                     long double siemens) {
        if (siemens != 0) {
            Resistor(role, a, b, 1 / siemens);
        }
    }
    void Capacitor(const std::string& role, const std::string& a, const std::string& b,
                   long double farads) {
        if (farads != 0) {
            TwoTerminal('C', role, a, b, farads);
        }
    }
    void Inductor(const std::string& role, const std::string& a, const std::string& b,
                  long double henries) {
        TwoTerminal('L', role, a, b, henries);
    }
    // A coil with its series resistance, through a node of its own. A resistance as small as
    // the 1e-6 ohm floor would put a conductance of 1e6 S on a node, where a double-precision
    // simulator loses the small admittances beside it; it is written as a voltage drop
    // R * I(coil) instead, sensed by a 0 V source, which keeps the matrix well scaled.
    void Coil(const std::string& role, const std::string& a, const std::string& b,
              long double henries, long double ohms) {
        if (henries == 0) {
            Resistor(role, a, b, ohms);
            return;
        }
        Inductor(role, a, Inner(role), henries);
        if (ohms >= kLeastPlainSeriesResistance) {
            Resistor(role, Inner(role), b, ohms);
            return;
        }
        const std::string sensed = Inner(role + "i");
        out_ << 'V' << id_ << role << ' ' << Inner(role) << ' ' << sensed << " DC 0" << tag_
             << '\n';
        out_ << 'H' << id_ << role << ' ' << sensed << ' ' << b << " V" << id_ << role << ' '
             << ExactNumberText(ohms) << tag_ << '\n';
    }
    void Coupling(const std::string& role, const std::string& first, const std::string& second,
                  long double k) {
        out_ << 'K' << id_ << role << " L" << id_ << first << " L" << id_ << second << ' '
             << ExactNumberText(k) << tag_ << '\n';
    }
    // A current gm * (V(controlPlus) - V(controlMinus)) flowing from `from` through the source
    // to `to`.
    void Transconductance(const std::string& role, const std::string& from, const std::string& to,
                          const std::string& controlPlus, const std::string& controlMinus,
                          long double gm) {
        if (gm == 0 || from == to) {
            return;
        }
        out_ << 'G' << id_ << role << ' ' << from << ' ' << to << ' ' << controlPlus << ' '
             << controlMinus << ' ' << ExactNumberText(gm) << tag_ << '\n';
    }
    void Note(const std::string& text) { out_ << "*   " << text << '\n'; }

    // The solver divides by these; it would refuse the circuit, and so does the export.
    void RequireNonZero(long double value, const char* what) const {
        if (value == 0) {
            throw ComputationFault("line " + std::to_string(sourceLine_) + ": " + what +
                                   " of 0 cannot be solved");
        }
    }

private:
    std::ostringstream& out_;
    int nodeCom_;
    std::string id_;
    std::string tag_;
    int sourceLine_;
};

// A failed parse never gets as far as the export, so every record is of a known kind.
const ComponentKind& KindOf(const ComponentRecord& record) {
    return *FindComponentKind(record.kind);
}

void WriteRecord(RecordWriter& w, const ComponentRecord& record, long double couplingW,
                 long double couplingHz) {
    const auto& v = record.values;
    const auto node = [&](int index) { return w.Node(record.nodes[index]); };
    switch (KindOf(record).spiceForm) {
    case SpiceForm::Resistor:
        w.Resistor("", node(0), node(1), v[0]);
        break;
    case SpiceForm::Capacitor:
        w.Capacitor("", node(0), node(1), v[0]);
        break;
    case SpiceForm::Coil:
        w.Coil("", node(0), node(1), v[0], v[1] < Rmin ? Rmin : v[1]);
        break;
    case SpiceForm::CoupledCoils:
        // Pri_S and Sec_S are the like-polarity ends, as the first node of each SPICE coil.
        w.Coil("p", node(0), node(1), v[0], v[3]);
        w.Coil("s", node(2), node(3), v[1], v[4]);
        if (v[0] != 0 && v[1] != 0 && v[2] != 0) {
            w.Coupling("", "p", "s", v[2]);
        }
        break;
    case SpiceForm::ThreeWindings: {
        w.RequireNonZero(v[0], "Lp");
        w.RequireNonZero(v[1], "the ratio");
        const long double k = TransformerCoupling(couplingW, v[0], v[1], v[2], v[3], v[4], v[5]);
        const long double halfPrimary = v[0] / 4;
        const long double m = 2 * v[1];
        w.Note("three windings coupled by k = " + ExactNumberText(k));
        w.Note("k depends on frequency in this model and cannot in SPICE: it is taken at");
        w.Note(ExactNumberText(couplingHz) + " Hz, where alone this netlist is exact");
        w.Inductor("a", node(0), node(1), halfPrimary);
        w.Inductor("b", node(1), node(2), halfPrimary);
        w.Inductor("c", node(3), node(4), m * m * halfPrimary);
        w.Coupling("ab", "a", "b", k);
        w.Coupling("ac", "a", "c", k);
        w.Coupling("bc", "b", "c", k);
        break;
    }
    case SpiceForm::HybridPi: {
        w.RequireNonZero(v[0], "Beta");
        w.RequireNonZero(v[2], "Ft");
        const long double gm = v[1] / ThermalVoltage;
        w.Note("hybrid pi: gm = Ic / 0.026; Cbe is not part of the model, Ft sets Cpi");
        w.Conductance("pi", node(0), node(2), gm / v[0]);
        w.Capacitor("pi", node(0), node(2), gm / (TwoPi * v[2]));
        w.Capacitor("bc", node(0), node(1), v[3]);
        w.Capacitor("ce", node(1), node(2), v[5]);
        w.Transconductance("", node(1), node(2), node(0), node(2), gm);
        break;
    }
    case SpiceForm::FieldEffect:
        w.Conductance("gs", node(0), node(2), GateLeakage);
        w.Capacitor("gs", node(0), node(2), v[2]);
        w.Capacitor("gd", node(0), node(1), v[1]);
        w.Capacitor("ds", node(1), node(2), v[3]);
        w.Transconductance("", node(1), node(2), node(0), node(2), v[0]);
        break;
    case SpiceForm::Valve:
        w.RequireNonZero(v[1], "Ra");
        w.Conductance("gk", node(0), node(2), GateLeakage);
        w.Capacitor("gk", node(0), node(2), v[3]);
        w.Capacitor("ga", node(0), node(1), v[2]);
        w.Resistor("a", node(1), node(2), v[1]);
        w.Capacitor("ak", node(1), node(2), v[4]);
        w.Transconductance("", node(1), node(2), node(0), node(2), v[0]);
        break;
    case SpiceForm::SinglePoleOpAmp: {
        w.RequireNonZero(v[1], "Zin");
        w.RequireNonZero(v[2], "f-3dB");
        w.Resistor("in", node(0), node(1), v[1]);
        if (node(2) == "0") {
            w.Note("the output is the common node: the output stage adds nothing");
            break;
        }
        // The single pole: A0 * (V+ - V-) driven into 1 ohm parallel 1 / (2 pi f-3dB) farads,
        // then copied to the output behind 1 ohm, all against the common node.
        w.Note("open-loop gain A0 / (1 + j f / f-3dB), output behind 1 ohm to the common node");
        const std::string pole = w.Inner("");
        w.Transconductance("pole", "0", pole, node(0), node(1), v[0]);
        w.Resistor("pole", pole, "0", 1);
        w.Capacitor("pole", pole, "0", 1 / (TwoPi * v[2]));
        w.Transconductance("out", "0", node(2), pole, "0", 1);
        w.Resistor("out", node(2), "0", 1);
        break;
    }
    }
}

// Text from outside (a file name, a title, a Datafile line) goes into comments: a line break
// in it would start a line that SPICE runs, a control section or a shell command among them.
std::string OneLine(std::string_view text) {
    std::string line(text);
    std::replace_if(
        line.begin(), line.end(),
        [](char c) { return static_cast<unsigned char>(c) < 32 || c == '\x7f'; }, ' ');
    return line;
}

} // namespace

std::string WriteSpiceElements(const ComponentRecord& record, int nodeCom, int recordNumber,
                               int sourceLine, long double couplingHz) {
    std::ostringstream out;
    RecordWriter writer(out, nodeCom, recordNumber, sourceLine);
    WriteRecord(writer, record, TwoPi * couplingHz, couplingHz);
    return out.str();
}

long double CouplingFrequency(const SpiceExportOptions& options) {
    return options.couplingFrequency > 0 ? options.couplingFrequency
                                         : std::sqrt(options.acFrom * options.acTo);
}

std::string WriteSpiceNetlist(std::string_view datafileName, std::string_view datafileBytes,
                              const SpiceExportOptions& options) {
    CircuitState state;
    const ParseOutcome parsed = ParseDatafileText(datafileBytes, state, "");
    if (!parsed.ok) {
        throw KelvorError(std::string(datafileName) + " has errors:" + parsed.report);
    }
    const std::vector<std::string> lines = SplitDatafileLines(datafileBytes);
    const long double couplingHz = CouplingFrequency(options);

    std::ostringstream out;
    out << "* " << OneLine(state.CircuitTitle) << "  Rev. " << state.RevisionNumber << "  ("
        << OneLine(datafileName) << "), written by KELVOR2007\n"
        << "* Datafile nodes keep their numbers; the common node " << state.NodeCom
        << " is node 0.\n"
        << "VIN " << state.NodeIn << " 0 DC 0 AC 1 $ NodeIn = " << state.NodeIn << '\n';
    for (std::size_t index = 1; index < parsed.records.size(); ++index) {
        const int sourceLine = parsed.sourceLines[index - 1];
        out << "* line " << sourceLine << ": "
            << OneLine(TrimSpacesAndControls(lines[static_cast<std::size_t>(sourceLine - 1)]))
            << '\n';
        RecordWriter writer(out, state.NodeCom, static_cast<int>(index), sourceLine);
        WriteRecord(writer, parsed.records[index], TwoPi * couplingHz, couplingHz);
    }
    // The circuit is linear: the AC analysis needs no operating point, and nodes joined only
    // through capacitors would have none.
    out << ".options noopac\n"
        // A decade sweep that starts where it ends gives no point at all.
        << (options.acFrom == options.acTo
                ? std::string(".ac lin 1 ")
                : ".ac dec " + std::to_string(options.pointsPerDecade) + ' ')
        << ExactNumberText(options.acFrom) << ' ' << ExactNumberText(options.acTo) << '\n'
        << ".print ac vdb(" << state.NodeOut << ") vp(" << state.NodeOut << ")\n"
        << ".end\n";
    return out.str();
}

} // namespace kelvor
