// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/spice_import.h"

#include "circuit/component_kind.h"
#include "circuit/datafile_reader.h"
#include "circuit/datafile_text.h"
#include "interchange/decimal_value.h"
#include "kelvor_error.h"
#include "text/eng_value.h"
#include "text/words.h"

#include <algorithm>
#include <map>
#include <optional>
#include <unordered_set>

namespace kelvor {

namespace {

// One Datafile component line, before its nodes get their numbers.
struct Component {
    char kind = ' ';
    std::vector<std::string> nodes;
    std::vector<std::string> values;
    std::string source; // the SPICE element's name
};

constexpr std::size_t kDatafileValueCapacity = 30;

// The Datafile's least resistance, written out where a later word must not be taken for it.
const std::string kLeastResistance(kMinResistanceText);

const char* const kExpressible =
    "a Datafile takes R, C, L, K (two coupled inductors) and G (voltage-controlled current "
    "source) elements";

class Importer {
public:
    Importer(const SpiceDeck& deck, const SpiceImportOptions& options)
        : deck_(deck), options_(options), problems_(deck.problems) {
        for (const SpiceElement& element : deck_.elements) {
            if (element.type == 'l') {
                inductors_[element.name] = &element;
            }
        }
    }

    std::vector<Component> Components() {
        std::map<std::string, const SpiceElement*> coupled = CoupledInductors();
        std::vector<Component> components;
        for (const SpiceElement& element : deck_.elements) {
            std::optional<Component> component = Translate(element, coupled);
            if (component) {
                components.push_back(std::move(*component));
            }
        }
        return components;
    }

    std::vector<std::string>& Problems() { return problems_; }

    void Problem(const SpiceElement& element, const std::string& why) {
        problems_.push_back("line " + std::to_string(element.line) + ": " + element.name + ": " +
                            why);
    }

private:
    // Each K line's two inductors, which become one mutual inductor instead of two L lines.
    std::map<std::string, const SpiceElement*> CoupledInductors() {
        std::map<std::string, const SpiceElement*> coupled;
        for (const SpiceElement& element : deck_.elements) {
            if (element.type != 'k') {
                continue;
            }
            if (element.fields.size() != 3) {
                Problem(element, "expected two inductors and a coupling factor; a Datafile "
                                 "couples two inductors only");
                continue;
            }
            for (int i = 0; i < 2; ++i) {
                const std::string& name = element.fields[static_cast<std::size_t>(i)];
                if (!inductors_.count(name)) {
                    Problem(element, "no inductor " + name);
                } else if (coupled.count(name)) {
                    Problem(element, name + " is coupled twice; a Datafile couples pairs only");
                } else {
                    coupled[name] = &element;
                }
            }
        }
        return coupled;
    }

    std::optional<std::string> Value(const SpiceElement& element, const std::string& text,
                                     const char* what) {
        const std::optional<DecimalValue> number = ParseSpiceNumber(text);
        if (!number) {
            Problem(element, "cannot read the " + std::string(what) + " " + text);
            return std::nullopt;
        }
        return Fitting(element, DatafileValueText(*number), text, what);
    }

    // A Datafile value word is read to its 30th character only.
    std::optional<std::string> Fitting(const SpiceElement& element,
                                       const std::optional<std::string>& written,
                                       const std::string& text, const char* what) {
        if (!written) {
            Problem(element, "the negative " + std::string(what) + " " + text +
                                 " cannot be written in a Datafile");
        } else if (written->size() > kDatafileValueCapacity) {
            Problem(element, "the " + std::string(what) + " " + text +
                                 " needs more characters than a Datafile value has");
            return std::nullopt;
        }
        return written;
    }

    bool OneValue(const SpiceElement& element) {
        if (element.fields.size() == 1) {
            return true;
        }
        Problem(element, element.fields.empty()
                             ? "no value"
                             : "'" + element.fields[1] + "' cannot be expressed in a Datafile");
        return false;
    }

    std::optional<Component> Translate(const SpiceElement& element,
                                       const std::map<std::string, const SpiceElement*>& coupled) {
        switch (element.type) {
        case 'r':
        case 'c':
        case 'l': {
            if (element.type == 'l' && coupled.count(element.name)) {
                return std::nullopt; // written with its K line
            }
            if (!OneValue(element)) {
                return std::nullopt;
            }
            const auto value = Value(element, element.fields[0], "value");
            if (!value) {
                return std::nullopt;
            }
            if (element.type == 'r' && *value == "0") {
                Problem(element, "a resistor of 0 ohms cannot be expressed");
                return std::nullopt;
            }
            if (element.nodes[0] == element.nodes[1]) {
                return std::nullopt; // both ends on one node: it adds nothing
            }
            const char kind = static_cast<char>(element.type - 'a' + 'A');
            return Component{kind, element.nodes, {*value}, element.name};
        }
        case 'k':
            return Mutual(element, coupled);
        case 'g':
            return Transconductance(element);
        case 'v':
            if (IsStimulus(element)) {
                return std::nullopt;
            }
            Problem(element, "only the source that drives the input node (between --in and "
                             "--common) can be expressed, as the Datafile's input");
            return std::nullopt;
        default:
            Problem(element, std::string("element type '") + element.type +
                                 "' cannot be expressed: " + kExpressible);
            return std::nullopt;
        }
    }

    bool IsStimulus(const SpiceElement& element) const {
        const auto& n = element.nodes;
        return (n[0] == options_.inputNode && n[1] == options_.commonNode) ||
               (n[1] == options_.inputNode && n[0] == options_.commonNode);
    }

    std::optional<Component> Mutual(const SpiceElement& element,
                                    const std::map<std::string, const SpiceElement*>& coupled) {
        if (element.fields.size() != 3) {
            return std::nullopt; // reported with the couplings
        }
        const auto primaryIt = inductors_.find(element.fields[0]);
        const auto secondaryIt = inductors_.find(element.fields[1]);
        if (primaryIt == inductors_.end() || secondaryIt == inductors_.end() ||
            coupled.at(primaryIt->first) != &element ||
            coupled.at(secondaryIt->first) != &element) {
            return std::nullopt; // reported with the couplings
        }
        const SpiceElement& primary = *primaryIt->second;
        const SpiceElement& secondary = *secondaryIt->second;
        if (!OneValue(primary) || !OneValue(secondary)) {
            return std::nullopt;
        }
        std::optional<DecimalValue> k = ParseSpiceNumber(element.fields[2]);
        if (!k) {
            Problem(element, "cannot read the coupling factor " + element.fields[2]);
            return std::nullopt;
        }
        std::vector<std::string> nodes = primary.nodes;
        nodes.insert(nodes.end(), secondary.nodes.begin(), secondary.nodes.end());
        if (std::all_of(nodes.begin(), nodes.end(), [&](const auto& n) { return n == nodes[0]; })) {
            return std::nullopt; // both windings shorted on one node: they add nothing
        }
        if (k->negative) {
            // A negative coupling is a positive one with the secondary's ends swapped.
            k->negative = false;
            std::swap(nodes[2], nodes[3]);
        }
        const std::optional<std::string> kText =
            Fitting(element, DatafileValueText(*k, true), element.fields[2], "coupling factor");
        const std::optional<std::string> lp = Value(primary, primary.fields[0], "inductance");
        const std::optional<std::string> ls = Value(secondary, secondary.fields[0], "inductance");
        if (!lp || !ls || !kText) {
            return std::nullopt;
        }
        bool ok = true;
        if (ParseEngValue(*kText, ok) > 1) {
            Problem(element, "a coupling factor above 1 cannot be expressed");
            return std::nullopt;
        }
        return Component{
            'M', nodes, {*lp, *ls, *kText, kLeastResistance, kLeastResistance}, element.name};
    }

    // gm * (V(c+) - V(c-)) from n+ to n-. The Datafile's F line is that source with c- = n-;
    // a sign or the order of the nodes can often be turned round to make it so.
    std::optional<Component> Transconductance(const SpiceElement& element) {
        if (!OneValue(element)) {
            return std::nullopt;
        }
        std::optional<DecimalValue> gm = ParseSpiceNumber(element.fields[0]);
        if (!gm) {
            Problem(element, "cannot read the transconductance " + element.fields[0]);
            return std::nullopt;
        }
        std::string to = element.nodes[0], from = element.nodes[1];
        if (gm->negative) {
            gm->negative = false;
            std::swap(to, from);
        }
        const std::string& plus = element.nodes[2];
        const std::string& minus = element.nodes[3];
        if (to == from) {
            return std::nullopt; // its current goes nowhere
        }
        std::vector<std::string> nodes;
        if (minus == from) {
            nodes = {plus, to, from};
        } else if (plus == to) {
            nodes = {minus, from, to};
        } else {
            Problem(element, "a controlled source whose control and output share no node as a "
                             "transistor's source does cannot be expressed");
            return std::nullopt;
        }
        return Component{'F', nodes, {*DatafileValueText(*gm), "0", "0", "0"}, element.name};
    }

    const SpiceDeck& deck_;
    const SpiceImportOptions& options_;
    std::vector<std::string> problems_;
    std::map<std::string, const SpiceElement*> inductors_; // by name
};

std::string DatafileTitle(const std::string& deckTitle) {
    std::string title = TrimSpacesAndControls(deckTitle);
    title.erase(0, title.find_first_not_of("* "));
    // One word, on one line: spaces and control characters (a stray CR would end the line)
    // become "_".
    std::replace_if(
        title.begin(), title.end(), [](char c) { return static_cast<unsigned char>(c) <= 32; },
        '_');
    title = CutText(title, kCircuitTitleCapacity);
    return title.empty() ? "Imported_SPICE_netlist" : title;
}

std::string ComponentLine(const Component& component, const std::map<std::string, int>& numbers,
                          bool withSource) {
    std::string line = "         ";
    line += component.kind;
    line += " ";
    for (const std::string& node : component.nodes) {
        // Two appends, not " " + text: GCC 12 at -O3 takes that for an overlapping copy
        // (-Wrestrict, its bug 105329) though the two strings are apart.
        line += ' ';
        line += std::to_string(numbers.at(node));
    }
    line.resize(std::max<std::size_t>(line.size() + 1, 22), ' ');
    for (const std::string& value : component.values) {
        line += value + "  ";
    }
    if (withSource) {
        line += component.source;
    }
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

// The element's name follows its values where the line has room for it.
std::string FittingComponentLine(const Component& component,
                                 const std::map<std::string, int>& numbers,
                                 std::vector<std::string>& problems) {
    std::string line = ComponentLine(component, numbers, true);
    if (line.size() > kDatafileLineLength) {
        line = ComponentLine(component, numbers, false);
    }
    if (line.size() > kDatafileLineLength) {
        problems.push_back(component.source + ": its values need more than the " +
                           std::to_string(kDatafileLineLength) + " characters of a Datafile line");
    }
    return line;
}

// Enough to show the kinds of fault; a runaway subcircuit can make thousands of one kind.
constexpr std::size_t kMostProblemsListed = 50;

void ThrowProblems(const std::vector<std::string>& problems) {
    std::string message = "cannot express this netlist as a Datafile:";
    for (std::size_t i = 0; i < problems.size() && i < kMostProblemsListed; ++i) {
        message += "\n  " + problems[i];
    }
    if (problems.size() > kMostProblemsListed) {
        message += "\n  and " + std::to_string(problems.size() - kMostProblemsListed) + " more";
    }
    throw KelvorError(message);
}

} // namespace

std::vector<std::string> CircuitNodeNames(const SpiceDeck& deck) {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const SpiceElement& element : deck.elements) {
        if (element.type == 'v' || element.type == 'i') {
            continue;
        }
        for (const std::string& node : element.nodes) {
            if (seen.insert(node).second) {
                names.push_back(node);
            }
        }
    }
    return names;
}

std::string ImportSpiceDeck(const SpiceDeck& deck, const SpiceImportOptions& options) {
    Importer importer(deck, options);
    const std::vector<Component> components = importer.Components();
    std::vector<std::string>& problems = importer.Problems();

    std::vector<std::string> order = {options.inputNode, options.outputNode, options.commonNode};
    // Sets beside the ordered lists: an expanded deck may hold many thousands of nodes.
    std::vector<std::string> used;
    std::unordered_set<std::string> usedSet;
    for (const Component& component : components) {
        for (const std::string& node : component.nodes) {
            if (usedSet.insert(node).second) {
                used.push_back(node);
            }
        }
    }
    const char* const roles[] = {"--in", "--out", "--common"};
    for (int i = 0; i < 3; ++i) {
        if (!usedSet.contains(order[static_cast<std::size_t>(i)])) {
            problems.push_back(std::string(roles[i]) + " " + order[static_cast<std::size_t>(i)] +
                               ": no element of the circuit uses this node");
        }
    }
    if (order[0] == order[1] || order[0] == order[2] || order[1] == order[2]) {
        problems.push_back("--in, --out and --common must be three different nodes");
    }
    const std::unordered_set<std::string> roleNodes(order.begin(), order.end());
    for (const std::string& node : used) {
        if (!roleNodes.contains(node)) {
            order.push_back(node);
        }
    }
    if (order.size() > static_cast<std::size_t>(kHighestNodeNumber)) {
        problems.push_back("the circuit has " + std::to_string(order.size()) +
                           " nodes; a Datafile has at most " + std::to_string(kHighestNodeNumber));
    }
    if (!problems.empty()) {
        ThrowProblems(problems);
    }

    std::map<std::string, int> numbers;
    for (std::size_t i = 0; i < order.size(); ++i) {
        numbers[order[i]] = static_cast<int>(i + 1);
    }
    std::vector<std::string> lines = {
        StandardTitleLine(DatafileTitle(deck.title), 1, options.today), "",
        StandardNodeLine("1", "2", "3"), ""};
    lines.push_back(CutText("*        Imported from " + options.deckName, kDatafileLineLength));
    for (std::size_t i = 0; i < order.size(); ++i) {
        lines.push_back(
            CutText("*        Node " + RightAlign(std::to_string(i + 1), 3) + " = " + order[i],
                    kDatafileLineLength));
    }
    lines.emplace_back();
    for (const Component& component : components) {
        lines.push_back(FittingComponentLine(component, numbers, problems));
    }
    if (!problems.empty()) {
        ThrowProblems(problems);
    }
    return JoinDatafileLines(lines);
}

} // namespace kelvor
