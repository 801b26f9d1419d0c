// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/datafile_reader.h"

#include "circuit/component_kind.h"
#include "files/file_io.h"
#include "kelvor_error.h"
#include "messages.h"
#include "text/eng_value.h"
#include "text/int_helpers.h"
#include "text/text_lines.h"
#include "text/words.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kelvor {

namespace {

constexpr std::size_t kNodeFields = 5;
// Body line 0 is the fourth line of the file.
constexpr int kFirstBodyLine = 4;

// The next line of the Datafile as a text reader sees it: cut at 80 characters, the rest
// skipped without copying, however long it runs.
std::string ReadLine(TextLines& lines) {
    return std::string(lines.Next().substr(0, kDatafileLineLength));
}

// Collects the messages of failed checks. Each check step ends with one call, which also arms
// the flag again for the next step.
class ParseReport {
public:
    void Conclude(bool& check, const std::string& message) {
        if (!check) {
            text = CutText(text + "\r\n  " + message, kReportCapacity);
        }
        ok = ok && check;
        check = true;
    }

    bool ok = true;
    std::string text;
};

int16_t ToNodeField(int32_t value) {
    return static_cast<int16_t>(std::clamp<int32_t>(value, std::numeric_limits<int16_t>::min(),
                                                    std::numeric_limits<int16_t>::max()));
}

char UpperCase(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsSpaceOrControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// The words of a component line after its designator, numbered from 1, read into one record.
class ComponentLine {
public:
    ComponentLine(std::string_view line, bool& check) : line_(line), check_(check) {}

    std::string Word(int n) const { return NthWord(line_, n + 1); }

    int16_t Node(int n) {
        bool converted = true;
        const int32_t node = ParseIntField(Word(n), converted);
        if (!converted || !InRange(node, 1, kHighestNodeNumber)) {
            check_ = false;
        }
        // Out-of-range numbers are kept, saturated, so that the listing shows what was typed
        // and NoNodes exposes the fault; the line has failed already.
        return ToNodeField(node);
    }

    long double Value(int n) {
        bool converted = true;
        const long double value = ParseEngValue(NumericPrefix(Word(n)), converted);
        if (!converted) {
            check_ = false;
            return 0.0L;
        }
        return value;
    }

    // An absent word, or one with nothing numeric in front, is simply the default; a number
    // that is present but malformed takes the default too and fails the line.
    long double Optional(int n, long double fallback) {
        const std::string prefix = NumericPrefix(Word(n));
        bool converted = true;
        const long double value = ParseEngValue(prefix, converted);
        if (converted) {
            return value;
        }
        if (!prefix.empty()) {
            check_ = false;
        }
        return fallback;
    }

    void Fail() { check_ = false; }

private:
    std::string_view line_;
    bool& check_;
};

long double AtLeastMinResistance(long double value) {
    return value < Rmin ? Rmin : value;
}

long double MissingValue(const ValueDescription& description, const ComponentRecord& record) {
    switch (description.whenMissing) {
    case ValueDefault::PrimaryLeakage:
        return record.values[0] / kLeakageDivisor;
    case ValueDefault::SecondaryLeakage:
        return ((record.values[1] * record.values[1]) * record.values[0]) / kLeakageDivisor;
    default:
        return description.fallback;
    }
}

// Values are read in slot order: a default derived from other values finds them read.
long double ReadValue(ComponentLine& line, int firstValueWord, const ValueDescription& description,
                      const ComponentRecord& record) {
    const int word = firstValueWord + description.position;
    long double value = description.whenMissing == ValueDefault::Required
                            ? line.Value(word)
                            : line.Optional(word, MissingValue(description, record));
    if (description.typedInDecibels) {
        value = Power10(value / 20.0L);
        // Some 98,700 dB and more has no extended-real gain factor; refuse it rather than
        // hand the solver an infinity.
        if (!std::isfinite(value)) {
            line.Fail();
            return 0;
        }
    }
    switch (description.limit) {
    case ValueLimit::AtLeastRmin:
        return AtLeastMinResistance(value);
    case ValueLimit::AtMostOne:
        if (value > 1.0L) {
            line.Fail();
        }
        return value;
    default:
        return value;
    }
}

ComponentRecord ParseComponentLine(std::string_view text, char letter, bool& check) {
    ComponentRecord record;
    record.kind = letter;
    ComponentLine line(text, check);
    const ComponentKind* kind = FindComponentKind(letter);
    if (kind == nullptr) {
        // The nodes still count towards NoNodes, as for any other failed line.
        record.nodes[0] = line.Node(1);
        record.nodes[1] = line.Node(2);
        line.Fail();
        return record;
    }
    const int nodeCount = kind->NodeCount();
    for (int index = 0; index < nodeCount; ++index) {
        record.nodes[static_cast<std::size_t>(index)] = line.Node(index + 1);
    }
    const auto shorted = record.nodes.begin() + kind->shortedNodes;
    if (std::all_of(record.nodes.begin(), shorted,
                    [&](int16_t node) { return node == record.nodes[0]; })) {
        line.Fail();
    }
    for (const ValueDescription& description : kind->values) {
        record.values[static_cast<std::size_t>(description.slot)] =
            ReadValue(line, nodeCount + 1, description, record);
    }
    return record;
}

} // namespace

ComponentRecord ParseComponentText(std::string_view line, bool& check) {
    return ParseComponentLine(line, line.empty() ? ' ' : UpperCase(line.front()), check);
}

ParseOutcome ParseDatafileText(std::string_view fileBytes, CircuitState& state,
                               const std::string& today) {
    ParseReport report;
    bool check = true;
    RecordList records;
    std::vector<std::string> componentLines;
    TextLines lines(fileBytes);

    if (!lines.AtEnd()) {
        const std::string line = ReadLine(lines);
        state.CircuitTitle = CutText(NthWord(line, 1), kCircuitTitleCapacity);
        state.RevisionNumber = ParseIntField(NthWord(line, 3), check);
        state.DatafileDate =
            CutText(NthWord(line, 4) + " " + NthWord(line, 5) + " " + NthWord(line, 6),
                    kDatafileDateCapacity);
        report.Conclude(check, "Error in Header - top line");
    }
    if (!lines.AtEnd()) {
        lines.Next();
    }
    if (!lines.AtEnd()) {
        std::string line = ReadLine(lines);
        // Only the digit groups count, so the words around the node numbers are free.
        std::replace_if(
            line.begin(), line.end(), [](char c) { return c < '0' || c > '9'; }, ' ');
        state.NodeIn = ParseIntField(NthWord(line, 1), check);
        state.NodeOut = ParseIntField(NthWord(line, 2), check);
        state.NodeCom = ParseIntField(NthWord(line, 3), check);
        report.Conclude(check, "Error in Header - lower line");
    }

    records.emplace_back(); // the header, completed once NoNodes is known
    std::vector<int> sourceLines;

    int lineNumber = -1;
    while (!lines.AtEnd()) {
        std::string line = ReadLine(lines);
        ++lineNumber;
        std::replace(line.begin(), line.end(), '\t', ' ');
        line.erase(line.begin(), std::find_if_not(line.begin(), line.end(), IsSpaceOrControl));
        if (line.empty()) {
            continue;
        }
        const char kind = UpperCase(line.front());
        if (kind == '*') {
            continue;
        }
        if (kind == '#') {
            break;
        }
        records.push_back(ParseComponentLine(line, kind, check));
        componentLines.push_back(line);
        sourceLines.push_back(lineNumber + kFirstBodyLine);
        report.Conclude(check, "Error in Line " + std::to_string(lineNumber));
    }

    int32_t noNodes = 0;
    for (std::size_t i = 1; i < records.size(); ++i) {
        for (std::size_t field = 0; field < kNodeFields; ++field) {
            noNodes = std::max<int32_t>(noNodes, records[i].nodes[field]);
        }
    }
    state.NoNodes = noNodes;

    ComponentRecord& header = records.front();
    header.kind = 'H';
    header.nodes = {ToNodeField(state.NoNodes), ToNodeField(state.NodeIn),
                    ToNodeField(state.NodeOut), ToNodeField(state.NodeCom), 0};
    header.headerDate = CutText(today, kHeaderDateCapacity);

    if (state.NoNodes < 3) {
        check = false;
    }
    report.Conclude(check, "Error : Less than 3 Nodes");

    const bool rolesInCircuit = InRange(state.NodeIn, 1, state.NoNodes) &&
                                InRange(state.NodeOut, 1, state.NoNodes) &&
                                InRange(state.NodeCom, 1, state.NoNodes);
    const bool rolesDistinct = state.NodeIn != state.NodeOut && state.NodeIn != state.NodeCom &&
                               state.NodeOut != state.NodeCom;
    if (!rolesInCircuit || !rolesDistinct) {
        check = false;
    }
    report.Conclude(check, "Error in In/Out/Com Nodes");

    return ParseOutcome{report.ok, std::move(report.text), std::move(records),
                        std::move(componentLines), std::move(sourceLines)};
}

std::string ReadDatafileBytes(const std::filesystem::path& path) {
    std::string bytes = ReadWholeFile(path, kDatafileSizeLimit);
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        throw KelvorError("Cannot read Datafile " + path.string() +
                          " : it is saved as UTF-16 (Unicode) text; save it as 8-bit text "
                          "(ANSI or UTF-8)");
    }
    return bytes;
}

ParseOutcome ParseDatafile(const std::filesystem::path& folder, const std::string& datafileName,
                           ParseMode mode, CircuitState& state, MessageSink& messages,
                           const std::string& today) {
    const std::string bytes = ReadDatafileBytes(folder / datafileName);
    ParseOutcome outcome = ParseDatafileText(bytes, state, today);
    // The node roles now belong to this parse: the previous record file no longer matches them.
    state.ownRecordFile.reset();
    state.ownRecordFile = WriteRecordFile(folder / kRecordFileName, outcome.records);
    if (mode == ParseMode::ShowReport && !outcome.report.empty()) {
        messages.ShowWarning(outcome.report);
    }
    return outcome;
}

} // namespace kelvor
