// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "interchange/spice_deck.h"

#include <complex>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kelvor {

// A deck's elements as the deck states them, ideal: R, C and L with their Rser, Rpar and Cpar,
// K, G, E, H and 0 V sources (which carry the current H senses). Solved by modified nodal
// analysis in extended precision, independently of the Datafile's models, so that the two can
// be compared.
class IdealDeckCircuit {
public:
    // The input node is driven against the common node. Throws KelvorError for an element or a
    // value it cannot take.
    IdealDeckCircuit(const std::vector<SpiceElement>& elements, const std::string& inputNode,
                     const std::string& outputNode, const std::string& commonNode);

    // V(out) / V(in), both against the common node; nothing where the circuit has no single
    // solution (a node left floating).
    std::optional<std::complex<long double>> Gain(long double frequency) const;

private:
    using Complex = std::complex<long double>;
    struct Admittance {
        int a, b;
        long double conductance, capacitance;
    };
    struct Transconductance {
        int to, from, controlPlus, controlMinus;
        long double gm;
    };
    // A branch whose current is an unknown: V(a) - V(b) - (r + j w l) I - gain (V(c) - V(d))
    // - r_sensed I(sensed) - j w M I(coupled) = drive.
    struct Branch {
        int a, b;
        long double resistance = 0, inductance = 0, drive = 0;
        int controlPlus = -1, controlMinus = -1;
        long double voltageGain = 0;
        int sensed = -1;
        long double transresistance = 0;
    };
    struct Coupling {
        int first, second;
        long double mutual;
    };

    int Node(const std::string& name);
    void Add(const SpiceElement& element);
    void AddTwoTerminal(const SpiceElement& element);

    std::map<std::string, int> nodes_; // the common node is -1
    std::vector<Admittance> admittances_;
    std::vector<Transconductance> transconductances_;
    std::vector<Branch> branches_;
    std::vector<Coupling> couplings_;
    std::map<std::string, int> branchOf_; // inductors and sources by name
    std::map<std::string, long double> inductance_;
    std::vector<std::pair<const SpiceElement*, std::size_t>> pendingSenses_;
    int output_ = -1;
    int input_ = -1;
};

} // namespace kelvor
