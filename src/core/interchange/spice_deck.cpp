// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/spice_deck.h"

#include "interchange/decimal_value.h"
#include "text/eng_value.h"
#include "text/text_lines.h"
#include "text/words.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <set>
#include <sstream>

namespace kelvor {

namespace {

struct Statement {
    std::vector<std::string> tokens; // lower case
    std::string spelled;             // the first word as written
    int line = 0;
    int exportedFrom = 0;
};

using Parameters = std::map<std::string, std::string>;

struct Subcircuit {
    std::vector<std::string> ports;
    Parameters defaults;
    std::vector<Statement> body;
    int line = 0;
};

// Calls nested deeper than this are taken for a subcircuit that calls itself.
constexpr int kMaxNesting = 50;
// Far more than a Datafile of 100 nodes can use, in lines and in bytes: subcircuits that call
// others more than once grow exponentially with their nesting, and long instance names with it.
constexpr std::size_t kMaxExpandedStatements = 100000;
constexpr std::size_t kMaxExpandedBytes = 8'000'000;

// Commands that select analyses, outputs or simulator settings: they do not change the
// circuit's AC response.
const std::set<std::string> kHarmlessCommands = {
    ".ac",    ".dc",      ".tran",    ".op",     ".noise", ".print",    ".plot",
    ".probe", ".save",    ".options", ".option", ".opt",   ".temp",     ".width",
    ".meas",  ".measure", ".four",    ".sens",   ".tf",    ".disto",    ".pz",
    ".ic",    ".nodeset", ".title",   ".global", ".pss",   ".backanno", ".csparam"};

// What the first line of a deck this program exported says after the title.
constexpr std::string_view kExportSignature = "written by KELVOR2007";
constexpr std::string_view kExportCommonNode =
    "* Datafile nodes keep their numbers; the common node ";
constexpr std::string_view kExportLineComment = "* line ";
constexpr std::string_view kExportTag = "$ line ";

// Keeps the token's spelling and that of each name inside it, for messages.
void RecordSpellings(const std::string& token, SpiceDeck& deck) {
    deck.spellings.try_emplace(SpiceNameKey(token), token);
    std::size_t start = 0;
    while (start < token.size()) {
        const std::size_t end = token.find_first_of("{}='(),", start);
        const std::size_t stop = end == std::string::npos ? token.size() : end;
        if (stop > start && (start > 0 || stop < token.size())) {
            const std::string piece = token.substr(start, stop - start);
            deck.spellings.try_emplace(SpiceNameKey(piece), piece);
        }
        start = stop + 1;
    }
}

// The number at the start of the text, if it has one.
std::optional<int> LeadingNumber(std::string_view text) {
    int number = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
    if (result.ec != std::errc() || result.ptr == text.data() || number <= 0) {
        return std::nullopt;
    }
    return number;
}

// Where an inline comment starts: ";" anywhere, "$" at the start of a word.
std::size_t InlineCommentStart(std::string_view line) {
    std::size_t end = line.find(';');
    for (std::size_t i = 0; i < line.size() && i < end; ++i) {
        if (line[i] == '$' && (i == 0 || std::isspace(static_cast<unsigned char>(line[i - 1])))) {
            end = i;
        }
    }
    return std::min(end, line.size());
}

std::string_view WithoutInlineComment(std::string_view line) {
    return line.substr(0, InlineCommentStart(line));
}

// Words split at spaces, tabs, commas and parentheses; "name = value" becomes "name=value", and
// a braced expression stays one word.
std::vector<std::string> Tokens(std::string_view line) {
    std::string spaced;
    int braces = 0;
    for (char c : line) {
        if (c == '{') {
            ++braces;
        } else if (c == '}') {
            --braces;
        }
        if (braces > 0 && std::isspace(static_cast<unsigned char>(c))) {
            continue;
        }
        if (braces == 0 && (c == ',' || c == '(' || c == ')' || c == '\t')) {
            c = ' ';
        }
        if (braces == 0 && c == '=') {
            spaced += " = ";
            continue;
        }
        spaced += c;
    }
    std::istringstream words(spaced);
    std::vector<std::string> tokens;
    for (std::string word; words >> word;) {
        if (word == "=" && !tokens.empty()) {
            std::string value;
            words >> value;
            tokens.back() += "=" + value;
        } else {
            tokens.push_back(word);
        }
    }
    return tokens;
}

bool IsName(std::string_view text) {
    return !text.empty() && std::isalpha(static_cast<unsigned char>(text[0])) &&
           std::all_of(text.begin(), text.end(), [](char c) {
               return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
           });
}

bool IsAssignment(const std::string& token) {
    return token.find('=') != std::string::npos;
}

void AddAssignment(const std::string& token, Parameters& parameters) {
    const std::size_t equals = token.find('=');
    parameters[token.substr(0, equals)] = token.substr(equals + 1);
}

std::string Where(int line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what + ": ";
}

// A deck whose first line is already part of the circuit has no title: a subcircuit
// definition, or a resistor, capacitor or inductor with two nodes and a value.
bool StartsWithCircuit(const std::vector<std::string>& tokens) {
    if (tokens.empty()) {
        return false;
    }
    if (tokens[0] == ".subckt") {
        return true;
    }
    const char type = tokens[0][0];
    return (type == 'r' || type == 'c' || type == 'l') && tokens.size() == 4 &&
           (IsPlainSpiceNumber(tokens[3]) || tokens[3].front() == '{');
}

// Expands statements in one scope: the instance path, the node names of its ports and its
// parameters.
class Expander {
public:
    Expander(const std::map<std::string, Subcircuit>& subcircuits, SpiceDeck& deck)
        : subcircuits_(subcircuits), deck_(deck) {}

    void Expand(const std::vector<Statement>& statements, const std::string& path,
                const std::map<std::string, std::string>& ports, const Parameters& parameters,
                int depth) {
        for (const Statement& statement : statements) {
            ExpandOne(statement, path, ports, parameters, depth);
        }
    }

private:
    bool WithinBounds(const Statement& statement, const std::string& path) {
        ++expanded_;
        const bool within = expanded_ <= kMaxExpandedStatements && bytes_ <= kMaxExpandedBytes;
        if (!within && !reportedBound_) {
            reportedBound_ = true;
            // First in the list, without a line to be sorted by: it explains the flood of
            // faults around it.
            deck_.problems.insert(deck_.problems.begin(),
                                  "the expanded netlist grows beyond " +
                                      std::to_string(kMaxExpandedStatements) + " lines or " +
                                      std::to_string(kMaxExpandedBytes / 1000000) +
                                      " MB (at line " + std::to_string(statement.line) + ", " +
                                      CutText(path + statement.spelled, 200) + ")");
        }
        return within;
    }

    void ExpandOne(const Statement& statement, const std::string& path,
                   const std::map<std::string, std::string>& ports, const Parameters& parameters,
                   int depth) {
        if (!WithinBounds(statement, path)) {
            return;
        }
        const std::vector<std::string>& tokens = statement.tokens;
        const std::string& name = tokens[0];
        const auto node = [&](const std::string& local) {
            if (local == "0" || local == "gnd") {
                return std::string("0");
            }
            const auto port = ports.find(local);
            return port != ports.end() ? port->second : path + local;
        };
        const auto problem = [&](const std::string& why) {
            deck_.problems.push_back(Where(statement.line, path + statement.spelled) + why);
            bytes_ += deck_.problems.back().size();
        };

        if (name[0] == 'x') {
            ExpandCall(statement, path, node, parameters, depth, problem);
            return;
        }
        const std::size_t nodeCount = NodeCount(name[0]);
        if (tokens.size() < nodeCount + 1) {
            problem("too few words");
            return;
        }
        SpiceElement element;
        element.type = name[0];
        element.name = path + name;
        element.spelled = path + statement.spelled;
        element.line = statement.line;
        element.exportedFrom = path.empty() ? statement.exportedFrom : 0;
        for (std::size_t i = 1; i <= nodeCount; ++i) {
            element.nodes.push_back(node(tokens[i]));
        }
        for (std::size_t i = nodeCount + 1; i < tokens.size(); ++i) {
            std::string field = tokens[i];
            if (element.type == 'k' && i < 3) {
                field = path + field; // an inductor of the same scope
            } else if (!Resolve(field, parameters, problem)) {
                return;
            }
            element.fields.push_back(field);
        }
        bytes_ += element.name.size() + element.spelled.size();
        for (const std::string& text : element.nodes) {
            bytes_ += text.size();
        }
        for (const std::string& text : element.fields) {
            bytes_ += text.size();
        }
        deck_.elements.push_back(std::move(element));
    }

    template <typename NodeOf, typename Problem>
    void ExpandCall(const Statement& statement, const std::string& path, const NodeOf& node,
                    const Parameters& parameters, int depth, const Problem& problem) {
        const std::vector<std::string>& tokens = statement.tokens;
        std::size_t last = tokens.size();
        while (last > 1 && IsAssignment(tokens[last - 1])) {
            --last;
        }
        if (last < 2) {
            problem("no subcircuit named");
            return;
        }
        const auto found = subcircuits_.find(tokens[last - 1]);
        if (found == subcircuits_.end()) {
            problem("no subcircuit " + SpelledInDeck(deck_, tokens[last - 1]) + " is defined");
            return;
        }
        const Subcircuit& subcircuit = found->second;
        if (last - 2 != subcircuit.ports.size()) {
            problem("subcircuit " + SpelledInDeck(deck_, tokens[last - 1]) + " has " +
                    std::to_string(subcircuit.ports.size()) + " nodes, the call gives " +
                    std::to_string(last - 2));
            return;
        }
        if (depth >= kMaxNesting) {
            problem("subcircuits nested more than " + std::to_string(kMaxNesting) +
                    " deep (does one call itself?)");
            return;
        }
        std::map<std::string, std::string> ports;
        for (std::size_t i = 0; i < subcircuit.ports.size(); ++i) {
            ports[subcircuit.ports[i]] = node(tokens[i + 1]);
        }
        // Inside, the instance's values come first, then the definition's, then the caller's.
        Parameters inner = parameters;
        for (const auto& [key, value] : subcircuit.defaults) {
            std::string resolved = value;
            if (!Resolve(resolved, parameters, problem)) {
                return;
            }
            inner[key] = resolved;
        }
        for (std::size_t i = last; i < tokens.size(); ++i) {
            const std::size_t equals = tokens[i].find('=');
            std::string value = tokens[i].substr(equals + 1);
            if (!Resolve(value, parameters, problem)) {
                return;
            }
            inner[tokens[i].substr(0, equals)] = value;
        }
        Expand(subcircuit.body, path + tokens[0] + ".", ports, inner, depth + 1);
    }

    // Replaces {name} by the parameter's number; refuses expressions.
    template <typename Problem>
    bool Resolve(std::string& field, const Parameters& parameters, const Problem& problem) {
        const std::size_t equals = field.find('=');
        const bool assignment = equals != std::string::npos && field.find('{') > equals;
        const std::string prefix = assignment ? field.substr(0, equals + 1) : std::string();
        std::string text = assignment ? field.substr(equals + 1) : field;
        std::vector<std::string> chain;
        while (!text.empty() && text.front() == '{') {
            const std::string inner = text.back() == '}' ? text.substr(1, text.size() - 2) : "";
            if (IsPlainSpiceNumber(inner)) {
                text = inner;
                break;
            }
            if (!IsName(inner)) {
                problem("the expression " + SpelledInDeck(deck_, text) +
                        " is not supported: only numbers and parameter names are expanded");
                return false;
            }
            if (std::find(chain.begin(), chain.end(), inner) != chain.end()) {
                std::string cycle;
                for (const std::string& name : chain) {
                    cycle += SpelledInDeck(deck_, name) + " -> ";
                }
                problem("the parameters " + cycle + SpelledInDeck(deck_, inner) +
                        " are defined by one another: none has a value");
                return false;
            }
            chain.push_back(inner);
            const auto parameter = parameters.find(inner);
            if (parameter == parameters.end()) {
                problem("parameter " + SpelledInDeck(deck_, inner) + " is not defined");
                return false;
            }
            text = parameter->second;
            if (IsName(text)) {
                text = "{" + text + "}";
            }
        }
        field = prefix + text;
        return true;
    }

    static std::size_t NodeCount(char type) {
        switch (type) {
        case 'g':
        case 'e':
            return 4;
        case 'k':
            return 0;
        default:
            return 2;
        }
    }

    const std::map<std::string, Subcircuit>& subcircuits_;
    SpiceDeck& deck_;
    std::size_t expanded_ = 0;
    std::size_t bytes_ = 0;
    bool reportedBound_ = false;
};

// The words of the deck's lines, continuations joined, comments dropped; the title, the export's
// own comments and tags taken note of.
std::vector<Statement> ReadStatements(std::string_view text, SpiceDeck& deck) {
    std::vector<Statement> statements;
    TextLines lines(text);
    int lineNumber = 0;
    while (!lines.AtEnd()) {
        const std::string_view line = lines.Next();
        ++lineNumber;
        const std::string_view content = WithoutInlineComment(line);
        std::vector<std::string> tokens = Tokens(content);
        const std::string spelled = tokens.empty() ? "" : tokens[0];
        for (std::string& token : tokens) {
            RecordSpellings(token, deck);
            token = SpiceNameKey(token);
        }
        if (lineNumber == 1 && !StartsWithCircuit(tokens)) {
            deck.title = line;
            continue;
        }
        const std::size_t first = content.find_first_not_of(" \t");
        if (first == std::string::npos || content[first] == '*') {
            if (lineNumber == 2 && line.starts_with(kExportCommonNode) &&
                deck.title.find(kExportSignature) != std::string::npos) {
                deck.exportedCommonNode =
                    LeadingNumber(line.substr(kExportCommonNode.size())).value_or(0);
            } else if (line.starts_with(kExportLineComment)) {
                const std::string_view rest = line.substr(kExportLineComment.size());
                const std::size_t colon = rest.find(": ");
                const std::optional<int> number = LeadingNumber(rest);
                if (number && colon != std::string_view::npos) {
                    deck.exportedLines[*number] = std::string(rest.substr(colon + 2));
                }
            }
            continue;
        }
        if (content[first] == '+') {
            if (!statements.empty()) {
                std::vector<std::string> more = Tokens(content.substr(first + 1));
                for (std::string& token : more) {
                    RecordSpellings(token, deck);
                    token = SpiceNameKey(token);
                }
                statements.back().tokens.insert(statements.back().tokens.end(), more.begin(),
                                                more.end());
            }
            continue;
        }
        if (tokens.empty()) { // a line of control characters only
            continue;
        }
        int exportedFrom = 0;
        const std::size_t tag = line.find(kExportTag, content.size());
        if (tag != std::string_view::npos) {
            exportedFrom = LeadingNumber(line.substr(tag + kExportTag.size())).value_or(0);
        }
        statements.push_back({std::move(tokens), spelled, lineNumber, exportedFrom});
    }
    return statements;
}

void ReadAcRange(const Statement& statement, SpiceDeck& deck) {
    const std::vector<std::string>& tokens = statement.tokens;
    if (tokens.size() < 5) {
        return;
    }
    const std::optional<DecimalValue> from = ParseSpiceNumber(tokens[3]);
    const std::optional<DecimalValue> to = ParseSpiceNumber(tokens[4]);
    if (from && to) {
        deck.acRange = AcRange{ApproximateValue(*from), ApproximateValue(*to)};
    }
}

// v(out), vdb(out), vm(out, ref) and the like name the output node.
void ReadPrintedNodes(const Statement& statement, SpiceDeck& deck) {
    const std::vector<std::string>& tokens = statement.tokens;
    for (std::size_t i = 1; i + 1 < tokens.size(); ++i) {
        const std::string& word = tokens[i];
        if (!word.empty() && word[0] == 'v' && word.size() <= 3 && tokens[i + 1] != "0") {
            deck.printedNodes.push_back(tokens[i + 1] == "gnd" ? "0" : tokens[i + 1]);
        }
    }
}

bool UsedByAnElement(const SpiceDeck& deck, const std::string& model) {
    return std::any_of(deck.elements.begin(), deck.elements.end(), [&](const SpiceElement& e) {
        return std::find(e.fields.begin(), e.fields.end(), model) != e.fields.end();
    });
}

} // namespace

std::string SpiceNameKey(std::string_view name) {
    std::string key(name);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

const std::string& SpelledInDeck(const SpiceDeck& deck, const std::string& word) {
    const auto found = deck.spellings.find(word);
    return found == deck.spellings.end() ? word : found->second;
}

bool IsPlainSpiceNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
        }
        return i - start;
    };
    std::size_t mantissa = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) {
        return false;
    }
    if (i < text.size() && text[i] == 'e') {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
            i = j;
            digits();
        }
    }
    if (MicroSignLength(text.substr(i)) > 0) {
        i += MicroSignLength(text.substr(i));
    }
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(i), text.end(),
                       [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
}

SpiceDeck ReadSpiceDeck(std::string_view text) {
    SpiceDeck deck;
    const std::vector<Statement> statements = ReadStatements(text, deck);

    std::map<std::string, Subcircuit> subcircuits;
    std::vector<std::pair<std::string, int>> models;
    Parameters globals;
    std::vector<Statement> main;
    Subcircuit* open = nullptr;
    Subcircuit ignored;
    std::string openName;
    int controlStart = 0;
    const auto note = [&](int line, const std::string& what, const std::string& why) {
        deck.notes.push_back(Where(line, what) + why);
    };
    for (const Statement& statement : statements) {
        const std::string& head = statement.tokens[0];
        if (controlStart > 0) {
            if (head == ".endc") {
                note(controlStart, ".control",
                     "skipped to .endc (line " + std::to_string(statement.line) +
                         "): commands for the simulator, no part of the circuit");
                controlStart = 0;
            }
            continue;
        }
        if (head == ".control") {
            controlStart = statement.line;
        } else if (head == ".end") {
            break;
        } else if (head == ".subckt") {
            if (open != nullptr || statement.tokens.size() < 2) {
                deck.problems.push_back(
                    Where(statement.line, ".subckt") +
                    (open ? "a definition inside " + openName + " is not supported"
                          : "no name given"));
                continue;
            }
            openName = statement.tokens[1];
            if (subcircuits.count(openName)) {
                deck.problems.push_back(Where(statement.line, ".subckt " + openName) +
                                        "defined a second time (first on line " +
                                        std::to_string(subcircuits[openName].line) +
                                        "): which one is meant?");
                open = &ignored; // read, and never called
                continue;
            }
            open = &subcircuits[openName];
            open->line = statement.line;
            for (std::size_t i = 2; i < statement.tokens.size(); ++i) {
                const std::string& token = statement.tokens[i];
                if (token == "params:") {
                    continue;
                }
                if (IsAssignment(token)) {
                    AddAssignment(token.rfind("params:", 0) == 0 ? token.substr(7) : token,
                                  open->defaults);
                } else {
                    open->ports.push_back(token);
                }
            }
        } else if (head == ".ends") {
            open = nullptr;
        } else if (head == ".param") {
            for (std::size_t i = 1; i < statement.tokens.size(); ++i) {
                AddAssignment(statement.tokens[i], open ? open->defaults : globals);
            }
        } else if (head == ".model") {
            if (statement.tokens.size() >= 2) {
                models.emplace_back(statement.tokens[1], statement.line);
            }
        } else if (head[0] == '.') {
            if (!kHarmlessCommands.count(head)) {
                deck.problems.push_back(Where(statement.line, head) +
                                        "this command cannot be expressed in a Datafile");
                continue;
            }
            if (head == ".ac") {
                ReadAcRange(statement, deck);
                continue; // its range is the fidelity check's
            }
            if (head == ".print" || head == ".plot" || head == ".probe") {
                ReadPrintedNodes(statement, deck);
            }
            note(statement.line, head, "skipped: it does not change the AC response");
        } else if (open != nullptr) {
            open->body.push_back(statement);
        } else {
            main.push_back(statement);
        }
    }
    if (controlStart > 0) {
        note(controlStart, ".control", "skipped to the end: it has no .endc");
    }
    if (open != nullptr) {
        deck.problems.push_back("subcircuit " + openName + ": no .ends");
    }
    Expander(subcircuits, deck).Expand(main, "", {}, globals, 0);
    for (const auto& [model, line] : models) {
        if (!UsedByAnElement(deck, model)) {
            note(line, ".model " + model, "skipped: no element uses it");
        }
    }
    std::stable_sort(deck.notes.begin(), deck.notes.end(), [](const auto& a, const auto& b) {
        return LeadingNumber(std::string_view(a).substr(5)).value_or(0) <
               LeadingNumber(std::string_view(b).substr(5)).value_or(0);
    });
    return deck;
}

} // namespace kelvor
