// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/spice_deck.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace kelvor {

namespace {

struct Statement {
    std::vector<std::string> tokens;
    int line = 0;
};

using Parameters = std::map<std::string, std::string>;

struct Subcircuit {
    std::vector<std::string> ports;
    Parameters defaults;
    std::vector<Statement> body;
};

// Calls nested deeper than this are taken for a subcircuit that calls itself.
constexpr int kMaxNesting = 50;
// Far more than a Datafile of 100 nodes can use.
constexpr std::size_t kMaxExpandedStatements = 100000;

// Commands that select analyses or outputs; they say nothing about the circuit.
const std::set<std::string> kIgnoredCommands = {
    ".ac",      ".dc",     ".tran", ".op",   ".noise",   ".print", ".plot",    ".probe", ".save",
    ".options", ".option", ".opt",  ".temp", ".width",   ".meas",  ".measure", ".four",  ".sens",
    ".tf",      ".disto",  ".pz",   ".ic",   ".nodeset", ".title", ".end"};

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// Drops an inline comment: ";" anywhere, "$" at the start of a word.
std::string WithoutInlineComment(const std::string& line) {
    std::size_t end = line.find(';');
    for (std::size_t i = 0; i < line.size() && i < end; ++i) {
        if (line[i] == '$' && (i == 0 || std::isspace(static_cast<unsigned char>(line[i - 1])))) {
            end = i;
        }
    }
    return line.substr(0, end);
}

// Words split at spaces, tabs, commas and parentheses; "name = value" becomes "name=value", and
// a braced expression stays one word.
std::vector<std::string> Tokens(const std::string& line) {
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

bool IsPlainNumber(const std::string& text) {
    static const std::regex number(R"([+-]?(\d+\.?\d*|\.\d+)(e[+-]?\d+)?[a-z]*)");
    return std::regex_match(text, number);
}

bool IsName(const std::string& text) {
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
    void ExpandOne(const Statement& statement, const std::string& path,
                   const std::map<std::string, std::string>& ports, const Parameters& parameters,
                   int depth) {
        const std::vector<std::string>& tokens = statement.tokens;
        const std::string& name = tokens[0];
        // Subcircuits that call others more than once grow exponentially with their nesting.
        if (++expanded_ > kMaxExpandedStatements) {
            if (expanded_ == kMaxExpandedStatements + 1) {
                // First in the list: it explains the flood of faults around it.
                deck_.problems.insert(deck_.problems.begin(),
                                      Where(statement.line, path + name) +
                                          "the expanded netlist grows beyond " +
                                          std::to_string(kMaxExpandedStatements) + " lines");
            }
            return;
        }
        const auto node = [&](const std::string& local) {
            if (local == "0" || local == "gnd") {
                return std::string("0");
            }
            const auto port = ports.find(local);
            return port != ports.end() ? port->second : path + local;
        };
        const auto problem = [&](const std::string& why) {
            deck_.problems.push_back(Where(statement.line, path + name) + why);
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
        element.line = statement.line;
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
            problem("no subcircuit " + tokens[last - 1] + " is defined");
            return;
        }
        const Subcircuit& subcircuit = found->second;
        if (last - 2 != subcircuit.ports.size()) {
            problem("subcircuit " + tokens[last - 1] + " has " +
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
        for (int step = 0; !text.empty() && text.front() == '{'; ++step) {
            const std::string inner = text.back() == '}' ? text.substr(1, text.size() - 2) : "";
            if (IsPlainNumber(inner)) {
                text = inner;
                break;
            }
            if (!IsName(inner)) {
                problem("the expression " + text +
                        " is not supported: only numbers and parameter names are expanded");
                return false;
            }
            const auto parameter = parameters.find(inner);
            if (parameter == parameters.end() || step > kMaxNesting) {
                problem("parameter " + inner + " is not defined");
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
};

} // namespace

SpiceDeck ReadSpiceDeck(std::string_view text) {
    SpiceDeck deck;
    std::vector<Statement> statements;
    std::istringstream input{std::string(text)};
    int lineNumber = 0;
    for (std::string line; std::getline(input, line);) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (lineNumber == 1) {
            deck.title = line;
            continue;
        }
        const std::string content = Lower(WithoutInlineComment(line));
        const std::size_t first = content.find_first_not_of(" \t");
        if (first == std::string::npos || content[first] == '*') {
            continue;
        }
        if (content[first] == '+') {
            if (!statements.empty()) {
                const std::vector<std::string> more = Tokens(content.substr(first + 1));
                statements.back().tokens.insert(statements.back().tokens.end(), more.begin(),
                                                more.end());
            }
            continue;
        }
        std::vector<std::string> tokens = Tokens(content);
        if (!tokens.empty()) { // a line of control characters only
            statements.push_back({std::move(tokens), lineNumber});
        }
    }

    std::map<std::string, Subcircuit> subcircuits;
    Parameters globals;
    std::vector<Statement> main;
    Subcircuit* open = nullptr;
    std::string openName;
    bool inControl = false;
    for (const Statement& statement : statements) {
        const std::string& head = statement.tokens[0];
        if (inControl) {
            inControl = head != ".endc";
            continue;
        }
        if (head == ".control") {
            inControl = true;
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
            open = &subcircuits[openName];
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
        } else if (head[0] == '.') {
            if (!kIgnoredCommands.count(head)) {
                deck.problems.push_back(Where(statement.line, head) +
                                        "this command cannot be expressed in a Datafile");
            }
        } else if (open != nullptr) {
            open->body.push_back(statement);
        } else {
            main.push_back(statement);
        }
    }
    if (open != nullptr) {
        deck.problems.push_back("subcircuit " + openName + ": no .ends");
    }
    Expander(subcircuits, deck).Expand(main, "", {}, globals, 0);
    return deck;
}

} // namespace kelvor
