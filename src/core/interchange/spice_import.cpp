// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/spice_import.h"

#include "circuit/circuit_limits.h"
#include "circuit/component_kind.h"
#include "circuit/datafile_reader.h"
#include "circuit/datafile_text.h"
#include "interchange/decimal_value.h"
#include "interchange/exported_line.h"
#include "interchange/spice_fields.h"
#include "kelvor_error.h"
#include "text/eng_value.h"
#include "text/words.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <unordered_set>

namespace kelvor {

namespace {

// One Datafile component line, before its nodes get their numbers.
struct Component {
    char kind = ' ';
    std::vector<std::string> nodes;
    std::vector<std::string> values;
    std::string source; // the SPICE element's name; empty when the values say it all
};

constexpr std::size_t kDatafileValueCapacity = 30;
// Beyond these no value fits the 30 characters of a Datafile value, whatever its digits.
constexpr long double kLargestValue = 1e38L;
constexpr long double kSmallestValue = 1e-38L;

// The Datafile's least resistance, written out where a later word must not be taken for it.
const std::string kLeastResistance(kMinResistanceText);

// What an op-amp line adds to a voltage-controlled voltage source: an input resistance and a
// pole far beyond any audio or radio circuit's reach.
constexpr const char* kOpAmpInputResistance = "1000G";
constexpr const char* kOpAmpPole = "1000G";

const char* const kExpressible =
    "a Datafile takes R, C, L, K (two coupled inductors), G (voltage-controlled current "
    "source) and E (voltage-controlled voltage source against the common node) elements";

// Control characters would break the Datafile's line or its reader; they never reach it.
std::string Printable(std::string text) {
    std::replace_if(
        text.begin(), text.end(),
        [](char c) { return static_cast<unsigned char>(c) < 32 || c == 127; }, '?');
    return text;
}

int LineOf(const std::string& message) {
    int line = 0;
    if (message.starts_with("line ")) {
        std::from_chars(message.data() + 5, message.data() + message.size(), line);
    }
    return line;
}

void SortByLine(std::vector<std::string>& messages) {
    std::stable_sort(messages.begin(), messages.end(),
                     [](const auto& a, const auto& b) { return LineOf(a) < LineOf(b); });
}

class Importer {
public:
    Importer(const SpiceDeck& deck, const SpiceImportOptions& options)
        : deck_(deck), options_(options), problems_(deck.problems), exported_(deck) {
        for (const SpiceElement& element : deck_.elements) {
            if (element.type == 'l') {
                inductors_[element.name] = &element;
            }
            if ((element.type == 'h' || element.type == 'f') && !element.fields.empty()) {
                sensed_.insert(element.fields[0]);
            }
        }
    }

    std::vector<Component> Components() {
        JoinLinkedNodes();
        std::map<std::string, const SpiceElement*> coupled = CoupledInductors();
        std::vector<Component> components;
        std::set<int> rebuiltLines;
        for (const SpiceElement& element : deck_.elements) {
            if (linked_.count(&element)) {
                continue;
            }
            if (std::optional<Component> rebuilt = Rebuilt(element.exportedFrom)) {
                if (rebuiltLines.insert(element.exportedFrom).second) {
                    components.push_back(std::move(*rebuilt));
                }
                continue;
            }
            std::optional<Component> component = Translate(element, coupled);
            if (component) {
                components.push_back(std::move(*component));
            }
            // The parasitic elements its options describe follow the element.
            components.insert(components.end(), extra_.begin(), extra_.end());
            extra_.clear();
        }
        NoteDefaults();
        return components;
    }

    std::string Find(const std::string& node) const {
        std::string root = node;
        for (auto parent = links_.find(root); parent != links_.end(); parent = links_.find(root)) {
            root = parent->second;
        }
        return root;
    }

    std::vector<std::string>& Problems() { return problems_; }
    // How many of the problems come from the node roles chosen.
    std::size_t& RoleProblems() { return roleProblems_; }
    std::vector<std::string>& Notes() { return notes_; }
    const std::vector<std::string>& Floored() const { return floored_; }

    bool IsStimulus(const SpiceElement& element) const {
        if (element.type != 'v') {
            return false;
        }
        const std::string a = Find(element.nodes[0]);
        const std::string b = Find(element.nodes[1]);
        const std::string in = Find(options_.inputNode);
        const std::string common = Find(options_.commonNode);
        return (a == in && b == common) || (b == in && a == common);
    }

private:
    // The Datafile line the export wrote this element's group for, when it is unedited: then
    // the line itself comes back, every digit as it was.
    std::optional<Component> Rebuilt(int line) {
        if (line == 0) {
            return std::nullopt;
        }
        const std::optional<ExportedLine>& rebuilt = exported_.Rebuilt(line);
        if (!rebuilt) {
            return std::nullopt;
        }
        return Component{rebuilt->kind, rebuilt->nodes, rebuilt->values, rebuilt->comment};
    }

    void Problem(const SpiceElement& element, const std::string& why) {
        problems_.push_back("line " + std::to_string(element.line) + ": " + element.spelled + ": " +
                            why);
    }
    const std::string& Spelled(const std::string& word) const { return SpelledInDeck(deck_, word); }
    void Note(const SpiceElement& element, const std::string& what) {
        notes_.push_back("line " + std::to_string(element.line) + ": " + element.spelled + ": " +
                         what);
    }

    // Ammeters and links: a 0 V source that no element senses, a 0 ohm resistor.
    void JoinLinkedNodes() {
        for (const SpiceElement& element : deck_.elements) {
            bool link = false;
            if (element.type == 'v' && !sensed_.count(element.name)) {
                link = SplitSourceFields(element).zeroVolt;
            } else if (element.type == 'r') {
                const ElementFields fields = SplitElementFields(element);
                const std::optional<DecimalValue> value =
                    fields.value ? ParseSpiceNumber(*fields.value) : std::nullopt;
                link = value && value->digits == "0" && fields.unknown.empty() &&
                       !fields.seriesResistance && !fields.parallelResistance &&
                       !fields.parallelCapacitance;
            }
            if (!link) {
                continue;
            }
            linked_.insert(&element);
            const std::string a = Find(element.nodes[0]);
            const std::string b = Find(element.nodes[1]);
            Note(element, (element.type == 'v' ? "a 0 V source" : "a 0 ohm resistor") +
                              std::string(" joins nodes ") + Spelled(element.nodes[0]) + " and " +
                              Spelled(element.nodes[1]));
            if (a == b) {
                continue;
            }
            // The ground keeps its name, so that the common node stays "0".
            if (a == "0") {
                links_[b] = a;
            } else {
                links_[a] = b;
            }
        }
    }

    // Each K line's two inductors, which become one mutual inductor instead of two L lines.
    std::map<std::string, const SpiceElement*> CoupledInductors() {
        std::map<std::string, const SpiceElement*> coupled;
        for (const SpiceElement& element : deck_.elements) {
            if (element.type != 'k' || Rebuilt(element.exportedFrom)) {
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
                    Problem(element, "no inductor " + Spelled(name));
                } else if (coupled.count(name)) {
                    Problem(element,
                            Spelled(name) + " is coupled twice; a Datafile couples pairs only");
                } else {
                    coupled[name] = &element;
                }
            }
        }
        return coupled;
    }

    // The value as a Datafile word; a value below the Datafile's least resistance is raised
    // to it and said so.
    std::optional<std::string> Value(const SpiceElement& element, const std::string& text,
                                     const char* what, bool resistance = false) {
        const std::optional<DecimalValue> number = ParseSpiceNumber(text);
        if (!number) {
            const bool name = !text.empty() && (std::isalpha(static_cast<unsigned char>(text[0])) ||
                                                text[0] == '\'');
            Problem(element,
                    "cannot read the " + std::string(what) + " " + Spelled(text) +
                        (name ? ": write {" + Spelled(Unquoted(text)) + "} for a parameter" : ""));
            return std::nullopt;
        }
        const long double approximate = ApproximateValue(*number);
        if (!std::isfinite(approximate) || std::fabs(approximate) > kLargestValue) {
            Problem(element, "the " + std::string(what) + " " + Spelled(text) +
                                 " is too large for a Datafile");
            return std::nullopt;
        }
        if (resistance && !number->negative && approximate < Rmin) {
            floored_.push_back(element.spelled);
            Note(element, "the " + std::string(what) + " " + text +
                              " is below the Datafile's least resistance and becomes 1 uohm");
            return kLeastResistance;
        }
        if (!number->negative && number->digits != "0" && approximate < kSmallestValue) {
            Problem(element, "the " + std::string(what) + " " + Spelled(text) +
                                 " is too small for a Datafile");
            return std::nullopt;
        }
        return Fitting(element, DatafileValueText(*number), text, what);
    }

    static std::string Unquoted(const std::string& text) {
        std::string name = text;
        name.erase(std::remove(name.begin(), name.end(), '\''), name.end());
        return name;
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

    // The value of an R, C or L line; its options noted or refused.
    std::optional<ElementFields> Fields(const SpiceElement& element) {
        ElementFields fields = SplitElementFields(element);
        if (!fields.unknown.empty()) {
            Problem(element,
                    "'" + Spelled(fields.unknown.front()) + "' cannot be expressed in a Datafile");
            return std::nullopt;
        }
        if (!fields.value) {
            Problem(element, "no value");
            return std::nullopt;
        }
        for (const std::string& option : fields.ignored) {
            Note(element, option + " skipped: it does not change the AC response");
        }
        return fields;
    }

    std::optional<Component> Translate(const SpiceElement& element,
                                       const std::map<std::string, const SpiceElement*>& coupled) {
        switch (element.type) {
        case 'r':
        case 'c':
        case 'l':
            if (element.type == 'l' && coupled.count(element.name)) {
                return std::nullopt; // written with its K line
            }
            return TwoTerminal(element);
        case 'k':
            return Mutual(element, coupled);
        case 'g':
            return Transconductance(element);
        case 'e':
            return VoltageAmplifier(element);
        case 'v':
            if (IsStimulus(element)) {
                return std::nullopt;
            }
            ++roleProblems_;
            Problem(element, "only the source that drives the input node (between --in and "
                             "--common) can be expressed, as the Datafile's input; a source of "
                             "0 V joins its nodes");
            return std::nullopt;
        default:
            Problem(element, std::string("element type '") + element.type +
                                 "' cannot be expressed: " + kExpressible);
            return std::nullopt;
        }
    }

    // R, C or L with the parasitic elements its options describe: Rser in series (an
    // inductor's own series resistance), Rpar and Cpar across it.
    std::optional<Component> TwoTerminal(const SpiceElement& element) {
        const std::optional<ElementFields> fields = Fields(element);
        if (!fields) {
            return std::nullopt;
        }
        const bool resistor = element.type == 'r';
        const auto value = Value(element, *fields->value, "value", resistor);
        if (!value) {
            return std::nullopt;
        }
        std::optional<std::string> series;
        if (fields->seriesResistance) {
            series = Value(element, *fields->seriesResistance, "series resistance Rser", true);
            if (!series) {
                return std::nullopt;
            }
        }
        if (Find(element.nodes[0]) == Find(element.nodes[1])) {
            return std::nullopt; // both ends on one node: it adds nothing
        }
        std::vector<std::string> ends = element.nodes;
        if (fields->parallelResistance) {
            if (const auto r = Value(element, *fields->parallelResistance, "Rpar", true)) {
                extra_.push_back({'R', ends, {*r}, element.spelled + ".rpar"});
            }
        }
        if (fields->parallelCapacitance) {
            if (const auto c = Value(element, *fields->parallelCapacitance, "Cpar")) {
                extra_.push_back({'C', ends, {*c}, element.spelled + ".cpar"});
            }
        }
        const char kind = static_cast<char>(element.type - 'a' + 'A');
        if (kind == 'L') {
            if (series) {
                return Component{kind, ends, {*value, *series}, element.spelled};
            }
            idealCoils_.push_back(element.spelled);
            return Component{kind, ends, {*value}, element.spelled};
        }
        if (series) {
            // The series resistance needs a node of its own between the two.
            const std::string inner = element.name + "#rser";
            extra_.push_back({'R', {inner, ends[1]}, {*series}, element.spelled + ".rser"});
            ends[1] = inner;
        }
        return Component{kind, ends, {*value}, element.spelled};
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
        const std::optional<ElementFields> primaryFields = Fields(primary);
        const std::optional<ElementFields> secondaryFields = Fields(secondary);
        if (!primaryFields || !secondaryFields) {
            return std::nullopt;
        }
        std::optional<DecimalValue> k = ParseSpiceNumber(element.fields[2]);
        if (!k) {
            Problem(element, "cannot read the coupling factor " + element.fields[2]);
            return std::nullopt;
        }
        std::vector<std::string> nodes = primary.nodes;
        nodes.insert(nodes.end(), secondary.nodes.begin(), secondary.nodes.end());
        if (std::all_of(nodes.begin(), nodes.end(),
                        [&](const auto& n) { return Find(n) == Find(nodes[0]); })) {
            return std::nullopt; // both windings shorted on one node: they add nothing
        }
        if (k->negative) {
            // A negative coupling is a positive one with the secondary's ends swapped.
            k->negative = false;
            std::swap(nodes[2], nodes[3]);
        }
        const std::optional<std::string> kText =
            Fitting(element, DatafileValueText(*k, true), element.fields[2], "coupling factor");
        const std::optional<std::string> lp = Value(primary, *primaryFields->value, "inductance");
        const std::optional<std::string> ls =
            Value(secondary, *secondaryFields->value, "inductance");
        const auto seriesOf = [&](const SpiceElement& coil, const ElementFields& fields) {
            if (fields.parallelResistance || fields.parallelCapacitance) {
                Problem(coil, "a coupled inductor's Rpar or Cpar cannot be expressed");
                return std::optional<std::string>();
            }
            if (!fields.seriesResistance) {
                idealCoils_.push_back(coil.spelled);
                return std::optional<std::string>(kLeastResistance);
            }
            return Value(coil, *fields.seriesResistance, "series resistance Rser", true);
        };
        const std::optional<std::string> rp = seriesOf(primary, *primaryFields);
        const std::optional<std::string> rs = seriesOf(secondary, *secondaryFields);
        if (!lp || !ls || !kText || !rp || !rs) {
            return std::nullopt;
        }
        bool ok = true;
        if (ParseEngValue(*kText, ok) > 1) {
            Problem(element, "a coupling factor above 1 cannot be expressed");
            return std::nullopt;
        }
        return Component{'M', nodes, {*lp, *ls, *kText, *rp, *rs}, element.spelled};
    }

    // gm * (V(c+) - V(c-)) from n+ to n-. The Datafile's F line is that source with c- = n-;
    // a sign or the order of the nodes can often be turned round to make it so.
    std::optional<Component> Transconductance(const SpiceElement& element) {
        if (element.fields.size() != 1) {
            Problem(element, element.fields.empty() ? "no value"
                                                    : "'" + Spelled(element.fields[1]) +
                                                          "' cannot be expressed in a Datafile");
            return std::nullopt;
        }
        std::optional<DecimalValue> gm = ParseSpiceNumber(element.fields[0]);
        if (!gm) {
            Problem(element, "cannot read the transconductance " + element.fields[0]);
            return std::nullopt;
        }
        std::string to = Find(element.nodes[0]), from = Find(element.nodes[1]);
        if (gm->negative) {
            gm->negative = false;
            std::swap(to, from);
        }
        const std::string plus = Find(element.nodes[2]);
        const std::string minus = Find(element.nodes[3]);
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
        const std::optional<std::string> value =
            Fitting(element, DatafileValueText(*gm), element.fields[0], "transconductance");
        if (!value) {
            return std::nullopt;
        }
        leakyControls_.push_back(element.spelled);
        return Component{'F', nodes, {*value, "0", "0", "0"}, element.spelled};
    }

    // e * (V(c+) - V(c-)) between n+ and n-: with n- the common node, an op-amp of that gain
    // whose input resistance and pole lie far away. Its 1 ohm output resistance remains.
    std::optional<Component> VoltageAmplifier(const SpiceElement& element) {
        if (element.fields.size() != 1) {
            Problem(element, element.fields.empty() ? "no value"
                                                    : "'" + Spelled(element.fields[1]) +
                                                          "' cannot be expressed in a Datafile");
            return std::nullopt;
        }
        const std::optional<DecimalValue> gain = ParseSpiceNumber(element.fields[0]);
        if (!gain) {
            Problem(element, "cannot read the gain " + element.fields[0]);
            return std::nullopt;
        }
        const std::string out = Find(element.nodes[0]);
        const std::string common = Find(options_.commonNode);
        if (Find(element.nodes[1]) != common) {
            ++roleProblems_;
            Problem(element, "a voltage-controlled voltage source is expressed as an op-amp, "
                             "whose output is against the common node; this one's is not");
            return std::nullopt;
        }
        std::string plus = Find(element.nodes[2]), minus = Find(element.nodes[3]);
        if (out == common || gain->digits == "0" || plus == minus) {
            return std::nullopt; // it drives nothing
        }
        if (gain->negative) {
            std::swap(plus, minus);
        }
        const long double magnitude = std::fabs(ApproximateValue(*gain));
        if (!(magnitude >= 1) || !std::isfinite(magnitude) || magnitude > 1e300L) {
            Problem(element,
                    "an op-amp's gain lies from 1 to 1e300; " + element.fields[0] + " does not");
            return std::nullopt;
        }
        // The Datafile gives an op-amp's gain in dB, digits and a point only.
        char decibels[40];
        std::snprintf(decibels, sizeof decibels, "%.15Lf", 20 * std::log10(magnitude));
        std::string text = CutText(decibels, kDatafileValueCapacity);
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
        Note(element, "an op-amp of gain " + element.fields[0] + " (" + text +
                          " dB) with 1 Tohm across its inputs, a pole at 1 THz and 1 ohm in "
                          "its output");
        return Component{
            'A', {plus, minus, out}, {text, kOpAmpInputResistance, kOpAmpPole}, element.spelled};
    }

    // The models' own parts, said once for all elements they apply to.
    void NoteDefaults() {
        const auto list = [](const std::vector<std::string>& names) {
            std::string text;
            for (std::size_t i = 0; i < names.size() && i < 10; ++i) {
                text += (i == 0 ? "" : ", ") + names[i];
            }
            return names.size() > 10 ? text + " and " + std::to_string(names.size() - 10) + " more"
                                     : text;
        };
        if (!idealCoils_.empty()) {
            notes_.push_back("the Datafile gives every coil 1 uohm of series resistance: " +
                             list(idealCoils_));
        }
        if (!leakyControls_.empty()) {
            notes_.push_back("the Datafile's FET model puts 1e-10 S across the control nodes of " +
                             list(leakyControls_));
        }
    }

    const SpiceDeck& deck_;
    const SpiceImportOptions& options_;
    std::vector<std::string> problems_;
    std::vector<std::string> notes_;
    std::vector<std::string> floored_;
    std::size_t roleProblems_ = 0;
    std::vector<std::string> idealCoils_;
    std::vector<std::string> leakyControls_;
    std::map<std::string, const SpiceElement*> inductors_; // by name
    std::set<std::string> sensed_;                         // sources whose current H or F use
    std::map<std::string, std::string> links_;             // joined node -> the node it joins
    std::set<const SpiceElement*> linked_;
    ExportedLines exported_;
    std::vector<Component> extra_; // parasitic elements the options describe
};

std::string DatafileTitle(const SpiceDeck& deck, const std::string& deckName) {
    std::string title = TrimSpacesAndControls(deck.title);
    title.erase(0, title.find_first_not_of("* "));
    if (deck.exportedCommonNode > 0) {
        title = title.substr(0, title.find("  Rev. ")); // the export's own title line
    }
    if (title.empty()) {
        title = deckName.substr(0, deckName.rfind('.'));
    }
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
        line += " " + std::to_string(numbers.at(node));
    }
    line.resize(std::max<std::size_t>(line.size() + 1, 22), ' ');
    for (const std::string& value : component.values) {
        line += value + "  ";
    }
    if (withSource) {
        line += Printable(component.source);
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
        problems.push_back(Printable(component.source) + ": its values need more than the " +
                           std::to_string(kDatafileLineLength) + " characters of a Datafile line");
    }
    return line;
}

// Enough to show the kinds of fault; a runaway subcircuit can make thousands of one kind.
constexpr std::size_t kMostProblemsListed = 50;

void ThrowProblems(std::vector<std::string> problems, std::size_t roleProblems) {
    const bool rolesOnly = problems.size() == roleProblems;
    SortByLine(problems);
    std::string message = "cannot express this netlist as a Datafile:";
    for (std::size_t i = 0; i < problems.size() && i < kMostProblemsListed; ++i) {
        message += "\n  " + Printable(CutText(problems[i], 500));
    }
    if (problems.size() > kMostProblemsListed) {
        message += "\n  and " + std::to_string(problems.size() - kMostProblemsListed) + " more";
    }
    throw SpiceImportRefused(message, rolesOnly);
}

std::string Ground(const std::string& node) {
    return node == "gnd" ? "0" : node;
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

ProposedSpiceNodes ProposeSpiceNodes(const SpiceDeck& deck) {
    ProposedSpiceNodes proposed;
    const std::vector<std::string> nodes = CircuitNodeNames(deck);
    const auto used = [&](const std::string& node) {
        return std::find(nodes.begin(), nodes.end(), node) != nodes.end();
    };
    if (used("0")) {
        proposed.common = "0";
    }
    for (const SpiceElement& element : deck.elements) {
        if (element.type == 'v' && SplitSourceFields(element).acMagnitude &&
            !SplitSourceFields(element).zeroVolt) {
            const auto& n = element.nodes;
            const std::string driven = n[0] == proposed.common ? n[1] : n[0];
            if (used(driven)) {
                proposed.input = driven;
                break;
            }
        }
    }
    for (const std::string& node : deck.printedNodes) {
        if (used(node) && node != proposed.input) {
            proposed.output = node;
            break;
        }
    }
    return proposed;
}

SpiceImport ImportSpiceDeck(const SpiceDeck& deck, const SpiceImportOptions& given) {
    SpiceImportOptions options = given;
    options.inputNode = Ground(SpiceNameKey(options.inputNode));
    options.outputNode = Ground(SpiceNameKey(options.outputNode));
    options.commonNode = Ground(SpiceNameKey(options.commonNode));
    Importer importer(deck, options);
    std::vector<Component> components = importer.Components();
    std::vector<std::string>& problems = importer.Problems();

    const std::vector<std::string> roleNames = {options.inputNode, options.outputNode,
                                                options.commonNode};
    std::vector<std::string> order;
    for (const std::string& name : roleNames) {
        order.push_back(importer.Find(name));
    }
    // Sets beside the ordered lists: an expanded deck may hold many thousands of nodes.
    std::vector<std::string> used;
    std::unordered_set<std::string> usedSet;
    for (Component& component : components) {
        for (std::string& node : component.nodes) {
            node = importer.Find(node);
            if (usedSet.insert(node).second) {
                used.push_back(node);
            }
        }
    }
    const char* const roles[] = {"--in", "--out", "--common"};
    for (std::size_t i = 0; i < 3; ++i) {
        if (!usedSet.contains(order[i])) {
            ++importer.RoleProblems();
            problems.push_back(std::string(roles[i]) + " " + SpelledInDeck(deck, roleNames[i]) +
                               ": no element of the circuit uses this node");
        }
    }
    if (order[0] == order[1] || order[0] == order[2] || order[1] == order[2]) {
        ++importer.RoleProblems();
        problems.push_back("--in, --out and --common must be three different nodes (nodes "
                           "joined by a 0 V source or a 0 ohm resistor are one node)");
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
        ThrowProblems(problems, importer.RoleProblems());
    }

    std::map<std::string, int> numbers;
    for (std::size_t i = 0; i < order.size(); ++i) {
        numbers[order[i]] = static_cast<int>(i + 1);
    }
    std::vector<std::string> lines = {
        StandardTitleLine(DatafileTitle(deck, options.deckName), 1, options.today), "",
        StandardNodeLine("1", "2", "3"), ""};
    lines.push_back(
        CutText("*        Imported from " + Printable(options.deckName), kDatafileLineLength));
    for (std::size_t i = 0; i < order.size(); ++i) {
        lines.push_back(CutText("*        Node " + RightAlign(std::to_string(i + 1), 3) + " = " +
                                    Printable(order[i]),
                                kDatafileLineLength));
    }
    lines.emplace_back();
    for (const Component& component : components) {
        lines.push_back(FittingComponentLine(component, numbers, problems));
    }
    if (!problems.empty()) {
        ThrowProblems(problems, importer.RoleProblems());
    }

    SpiceImport imported;
    imported.datafile = JoinDatafileLines(lines);
    imported.notes = deck.notes;
    imported.notes.insert(imported.notes.end(), importer.Notes().begin(), importer.Notes().end());
    SortByLine(imported.notes);
    imported.floored = importer.Floored();
    imported.inputNode = options.inputNode;
    imported.outputNode = options.outputNode;
    imported.commonNode = options.commonNode;
    for (const SpiceElement& element : deck.elements) {
        if (!importer.IsStimulus(element)) {
            imported.circuit.push_back(element);
        }
    }
    return imported;
}

} // namespace kelvor
