// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/ideal_deck_circuit.h"

#include "interchange/spice_fields.h"
#include "kelvor_error.h"

#include <cmath>
#include <numbers>

namespace kelvor {

namespace {

constexpr std::size_t kMostUnknowns = 500;

long double Number(const SpiceElement& element, const std::optional<std::string>& text) {
    const std::optional<long double> value = text ? SpiceValue(*text) : std::nullopt;
    if (!value || !std::isfinite(*value)) {
        throw KelvorError(element.spelled + ": no value the fidelity check can use");
    }
    return *value;
}

} // namespace

IdealDeckCircuit::IdealDeckCircuit(const std::vector<SpiceElement>& elements,
                                   const std::string& inputNode, const std::string& outputNode,
                                   const std::string& commonNode) {
    nodes_[commonNode] = -1;
    input_ = Node(inputNode);
    output_ = Node(outputNode);
    Branch drive;
    drive.a = input_;
    drive.b = -1;
    drive.drive = 1;
    branches_.push_back(drive);
    for (const SpiceElement& element : elements) {
        Add(element);
    }
    // Couplings and sensed currents name elements that may stand further down the deck.
    for (const SpiceElement& element : elements) {
        if (element.type == 'k') {
            const auto first = branchOf_.find(element.fields.at(0));
            const auto second = branchOf_.find(element.fields.at(1));
            if (first == branchOf_.end() || second == branchOf_.end()) {
                throw KelvorError(element.spelled + ": couples no inductors of the circuit");
            }
            const long double k = Number(element, element.fields.at(2));
            couplings_.push_back({first->second, second->second,
                                  k * std::sqrt(inductance_.at(element.fields[0]) *
                                                inductance_.at(element.fields[1]))});
        }
    }
    // A dense solve: far beyond what a Datafile of 100 nodes needs, and still quick.
    if (nodes_.size() + branches_.size() > kMostUnknowns) {
        throw KelvorError("the deck's circuit has more than " + std::to_string(kMostUnknowns) +
                          " nodes and branches, too many to compare");
    }
    for (const auto& [element, branch] : pendingSenses_) {
        const auto sensed = branchOf_.find(element->fields.at(0));
        if (sensed == branchOf_.end()) {
            throw KelvorError(element->spelled + ": senses no source of the circuit");
        }
        branches_[branch].sensed = sensed->second;
    }
}

int IdealDeckCircuit::Node(const std::string& name) {
    const auto found = nodes_.find(name);
    if (found != nodes_.end()) {
        return found->second;
    }
    const int index = static_cast<int>(nodes_.size()) - 1;
    nodes_[name] = index;
    return index;
}

void IdealDeckCircuit::Add(const SpiceElement& element) {
    const auto node = [&](std::size_t i) { return Node(element.nodes.at(i)); };
    switch (element.type) {
    case 'r':
    case 'c':
    case 'l':
        AddTwoTerminal(element);
        break;
    case 'k':
        break; // once every inductor is known
    case 'g':
        transconductances_.push_back(
            {node(0), node(1), node(2), node(3), Number(element, element.fields.at(0))});
        break;
    case 'e': {
        Branch branch;
        branch.a = node(0);
        branch.b = node(1);
        branch.controlPlus = node(2);
        branch.controlMinus = node(3);
        branch.voltageGain = Number(element, element.fields.at(0));
        branches_.push_back(branch);
        break;
    }
    case 'h': {
        Branch branch;
        branch.a = node(0);
        branch.b = node(1);
        branch.transresistance = Number(element, element.fields.at(1));
        pendingSenses_.emplace_back(&element, branches_.size());
        branches_.push_back(branch);
        break;
    }
    case 'v': {
        Branch branch; // a link of 0 V
        branch.a = node(0);
        branch.b = node(1);
        branchOf_[element.name] = static_cast<int>(branches_.size());
        branches_.push_back(branch);
        break;
    }
    default:
        throw KelvorError(element.spelled + ": not an element the fidelity check knows");
    }
}

void IdealDeckCircuit::AddTwoTerminal(const SpiceElement& element) {
    const ElementFields fields = SplitElementFields(element);
    const int a = Node(element.nodes.at(0));
    const int b = Node(element.nodes.at(1));
    const long double value = Number(element, fields.value);
    const long double series =
        fields.seriesResistance ? Number(element, fields.seriesResistance) : 0;
    if (fields.parallelResistance) {
        admittances_.push_back({a, b, 1 / Number(element, fields.parallelResistance), 0});
    }
    if (fields.parallelCapacitance) {
        admittances_.push_back({a, b, 0, Number(element, fields.parallelCapacitance)});
    }
    if (element.type == 'l' || (element.type == 'r' && value + series == 0)) {
        Branch branch;
        branch.a = a;
        branch.b = b;
        branch.resistance = element.type == 'r' ? 0 : series;
        branch.inductance = element.type == 'l' ? value : 0;
        branchOf_[element.name] = static_cast<int>(branches_.size());
        inductance_[element.name] = branch.inductance;
        branches_.push_back(branch);
    } else if (element.type == 'r') {
        admittances_.push_back({a, b, 1 / (value + series), 0});
    } else if (series == 0) {
        admittances_.push_back({a, b, 0, value});
    } else { // a capacitor behind its series resistance
        const int inner = Node(element.name + "#rser");
        admittances_.push_back({a, inner, 0, value});
        admittances_.push_back({inner, b, 1 / series, 0});
    }
}

std::optional<std::complex<long double>> IdealDeckCircuit::Gain(long double frequency) const {
    const long double w = 2 * std::numbers::pi_v<long double> * frequency;
    const std::size_t nodeCount = nodes_.size() - 1;
    const std::size_t size = nodeCount + branches_.size();
    std::vector<Complex> matrix(size * size);
    std::vector<Complex> rhs(size);
    const auto at = [&](int row, int column) -> Complex& {
        return matrix[static_cast<std::size_t>(row) * size + static_cast<std::size_t>(column)];
    };
    // Rows and columns of the common node are left out: it is the reference.
    const auto add = [&](int row, int column, Complex value) {
        if (row >= 0 && column >= 0) {
            at(row, column) += value;
        }
    };
    for (const Admittance& y : admittances_) {
        const Complex value(y.conductance, w * y.capacitance);
        add(y.a, y.a, value);
        add(y.b, y.b, value);
        add(y.a, y.b, -value);
        add(y.b, y.a, -value);
    }
    for (const Transconductance& g : transconductances_) {
        add(g.to, g.controlPlus, g.gm);
        add(g.to, g.controlMinus, -g.gm);
        add(g.from, g.controlPlus, -g.gm);
        add(g.from, g.controlMinus, g.gm);
    }
    for (std::size_t i = 0; i < branches_.size(); ++i) {
        const Branch& branch = branches_[i];
        const int k = static_cast<int>(nodeCount + i);
        add(branch.a, k, 1);
        add(branch.b, k, -1);
        add(k, branch.a, 1);
        add(k, branch.b, -1);
        add(k, k, -Complex(branch.resistance, w * branch.inductance));
        add(k, branch.controlPlus, -branch.voltageGain);
        add(k, branch.controlMinus, branch.voltageGain);
        if (branch.sensed >= 0) {
            add(k, static_cast<int>(nodeCount) + branch.sensed, -branch.transresistance);
        }
        rhs[static_cast<std::size_t>(k)] = branch.drive;
    }
    for (const Coupling& c : couplings_) {
        const int first = static_cast<int>(nodeCount) + c.first;
        const int second = static_cast<int>(nodeCount) + c.second;
        add(first, second, Complex(0, -w * c.mutual));
        add(second, first, Complex(0, -w * c.mutual));
    }

    // Gaussian elimination with partial pivoting; a pivot that vanishes beside the matrix's
    // largest entry means the circuit has no single solution.
    long double largest = 0;
    for (const Complex& entry : matrix) {
        largest = std::max(largest, std::abs(entry));
    }
    for (std::size_t column = 0; column < size; ++column) {
        std::size_t pivot = column;
        for (std::size_t row = column + 1; row < size; ++row) {
            if (std::abs(matrix[row * size + column]) > std::abs(matrix[pivot * size + column])) {
                pivot = row;
            }
        }
        if (!(std::abs(matrix[pivot * size + column]) > largest * 1e-40L)) {
            return std::nullopt;
        }
        if (pivot != column) {
            for (std::size_t j = 0; j < size; ++j) {
                std::swap(matrix[pivot * size + j], matrix[column * size + j]);
            }
            std::swap(rhs[pivot], rhs[column]);
        }
        const Complex diagonal = matrix[column * size + column];
        for (std::size_t row = column + 1; row < size; ++row) {
            const Complex factor = matrix[row * size + column] / diagonal;
            if (factor == Complex(0)) {
                continue;
            }
            for (std::size_t j = column; j < size; ++j) {
                matrix[row * size + j] -= factor * matrix[column * size + j];
            }
            rhs[row] -= factor * rhs[column];
        }
    }
    std::vector<Complex> solution(size);
    for (std::size_t row = size; row-- > 0;) {
        Complex sum = rhs[row];
        for (std::size_t j = row + 1; j < size; ++j) {
            sum -= matrix[row * size + j] * solution[j];
        }
        solution[row] = sum / matrix[row * size + row];
    }
    if (input_ < 0) {
        return std::nullopt;
    }
    const Complex out = output_ >= 0 ? solution[static_cast<std::size_t>(output_)] : Complex(0);
    return out / solution[static_cast<std::size_t>(input_)];
}

} // namespace kelvor
