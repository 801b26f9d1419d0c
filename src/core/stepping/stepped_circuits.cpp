// SPDX-License-Identifier: GPL-3.0-or-later
#include "stepping/stepped_circuits.h"

#include "circuit/circuit_state.h"
#include "circuit/component_kind.h"
#include "circuit/datafile_reader.h"
#include "circuit/datafile_text.h"
#include "kelvor_error.h"
#include "solver/component_models.h"
#include "stepping/step_list.h"
#include "text/eng_value.h"
#include "text/short_eng_text.h"
#include "text/words.h"

#include <algorithm>
#include <charconv>

namespace kelvor {
namespace {

struct WordSpan {
    std::size_t start = 0;
    std::size_t length = 0;
};

std::vector<WordSpan> Words(std::string_view line) {
    std::vector<WordSpan> words;
    for (std::size_t at = 0; at < line.size();) {
        if (line[at] == ' ' || line[at] == '\t') {
            ++at;
            continue;
        }
        const std::size_t end = line.find_first_of(" \t", at);
        const std::size_t stop = end == std::string_view::npos ? line.size() : end;
        words.push_back({at, stop - at});
        at = stop;
    }
    return words;
}

int WholeNumber(std::string_view text, const char* what) {
    int number = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size() ||
        number < 1) {
        throw KelvorError(std::string("step: ") + what + " must be a whole number from 1, not \"" +
                          std::string(text) + "\"");
    }
    return number;
}

// The Datafile as read, with the component of each line.
struct ReadDatafile {
    ParseOutcome outcome;
    std::vector<std::string> lines;
};

ReadDatafile Read(std::string_view text, const std::string& today) {
    ReadDatafile read;
    CircuitState state;
    read.outcome = ParseDatafileText(text, state, today);
    if (!read.outcome.ok) {
        throw KelvorError("step: the Datafile has errors; correct them first");
    }
    read.lines = SplitDatafileLines(text);
    return read;
}

// The value words the reader reads on a line of each kind, after the nodes.
std::size_t ValueWordCount(char kind) {
    const ComponentKind* described = FindComponentKind(kind);
    return described != nullptr ? described->values.size() : 0;
}

// The value words written on the line of component `index`: those after its kind letter and
// nodes, up to the first word that is no number (a comment follows the values).
std::vector<WordSpan> ValueWords(const ReadDatafile& read, std::size_t index) {
    const std::string& line =
        read.lines.at(static_cast<std::size_t>(read.outcome.sourceLines[index] - 1));
    const char kind = read.outcome.records[index + 1].kind;
    const std::vector<WordSpan> words = Words(line);
    std::vector<WordSpan> values;
    for (auto at = static_cast<std::size_t>(1 + UsedNodeCount(kind));
         at < words.size() && values.size() < ValueWordCount(kind); ++at) {
        if (NumericPrefix(std::string_view(line).substr(words[at].start, words[at].length))
                .empty()) {
            break;
        }
        values.push_back(words[at]);
    }
    return values;
}

std::string ComponentText(const ReadDatafile& read, std::size_t index) {
    const std::string& line =
        read.lines.at(static_cast<std::size_t>(read.outcome.sourceLines[index] - 1));
    const int nodes = UsedNodeCount(read.outcome.records[index + 1].kind);
    std::string text;
    for (int word = 1; word <= 1 + nodes; ++word) {
        if (!text.empty()) {
            text += ' ';
        }
        text += NthWord(line, word);
    }
    return text;
}

} // namespace

StepRequest ParseStepRequest(std::string_view text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        throw KelvorError("step: write LINE=LIST or LINE.K=LIST, for example 7=1k,2.2k,4.7k");
    }
    const std::string_view where = text.substr(0, equals);
    const std::size_t dot = where.find('.');
    StepRequest request;
    request.target.line = WholeNumber(where.substr(0, dot), "the Datafile line");
    if (dot != std::string_view::npos) {
        request.target.value = WholeNumber(where.substr(dot + 1), "the value number K");
    }
    request.values = ParseStepList(text.substr(equals + 1));
    return request;
}

std::vector<SteppableLine> SteppableLines(std::string_view datafileText, const std::string& today) {
    const ReadDatafile read = Read(datafileText, today);
    std::vector<SteppableLine> lines;
    for (std::size_t index = 0; index < read.outcome.sourceLines.size(); ++index) {
        SteppableLine steppable{read.outcome.sourceLines[index], ComponentText(read, index), {}};
        const std::string& line = read.lines.at(static_cast<std::size_t>(steppable.line - 1));
        for (const WordSpan& word : ValueWords(read, index)) {
            steppable.values.push_back(line.substr(word.start, word.length));
        }
        if (!steppable.values.empty()) {
            lines.push_back(std::move(steppable));
        }
    }
    return lines;
}

std::vector<SteppedCircuit> SteppedCircuits(std::string_view datafileText, const StepTarget& target,
                                            const std::vector<long double>& values,
                                            const std::string& today) {
    const ReadDatafile read = Read(datafileText, today);
    const auto& sourceLines = read.outcome.sourceLines;
    const auto found = std::find(sourceLines.begin(), sourceLines.end(), target.line);
    if (found == sourceLines.end()) {
        throw KelvorError("step: Datafile line " + std::to_string(target.line) +
                          " is not a component line");
    }
    const auto index = static_cast<std::size_t>(found - sourceLines.begin());
    const std::vector<WordSpan> words = ValueWords(read, index);
    if (target.value > static_cast<int>(words.size())) {
        throw KelvorError("step: Datafile line " + std::to_string(target.line) + " has " +
                          std::to_string(words.size()) + " value(s) written, not a value " +
                          std::to_string(target.value));
    }
    const WordSpan word = words[static_cast<std::size_t>(target.value - 1)];
    const std::string component = ComponentText(read, index);
    const std::string which =
        target.value > 1 ? " #" + std::to_string(target.value) : std::string();

    std::vector<SteppedCircuit> circuits;
    for (long double value : values) {
        const std::string written = ShortEngText(value);
        std::vector<std::string> lines = read.lines;
        lines[static_cast<std::size_t>(target.line - 1)].replace(word.start, word.length, written);
        CircuitState state;
        ParseOutcome outcome = ParseDatafileText(JoinDatafileLines(lines), state, today);
        if (!outcome.ok) {
            std::string report = outcome.report;
            std::replace_if(
                report.begin(), report.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
            throw KelvorError("step: with " + written + " on line " + std::to_string(target.line) +
                              " the Datafile fails its checks: " + TrimSpaces(report));
        }
        circuits.push_back({component + which + " = " + written,
                            MakeLoadedCircuit(std::move(outcome.records), state)});
    }
    return circuits;
}

} // namespace kelvor
