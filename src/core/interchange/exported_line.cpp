// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/exported_line.h"

#include "circuit/component_kind.h"
#include "circuit/datafile_reader.h"
#include "interchange/spice_export.h"
#include "kelvor_error.h"
#include "text/words.h"

#include <algorithm>
#include <charconv>

namespace kelvor {

namespace {

bool Printable(const std::string& text) {
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 32 || c == 127; });
}

bool SameElement(const SpiceElement& a, const SpiceElement* b) {
    return a.type == b->type && a.name == b->name && a.nodes == b->nodes && a.fields == b->fields;
}

} // namespace

ExportedLines::ExportedLines(const SpiceDeck& deck) : deck_(deck) {
    if (deck.exportedCommonNode == 0) {
        return;
    }
    for (const SpiceElement& element : deck.elements) {
        if (element.exportedFrom > 0) {
            groups_[element.exportedFrom].push_back(&element);
        }
    }
}

const std::optional<ExportedLine>& ExportedLines::Rebuilt(int line) {
    const auto known = rebuilt_.find(line);
    if (known != rebuilt_.end()) {
        return known->second;
    }
    return rebuilt_[line] = Rebuild(line);
}

std::optional<ExportedLine> ExportedLines::Rebuild(int line) const {
    const auto group = groups_.find(line);
    const auto quoted = deck_.exportedLines.find(line);
    if (group == groups_.end() || quoted == deck_.exportedLines.end()) {
        return std::nullopt;
    }
    std::string words = quoted->second;
    std::replace(words.begin(), words.end(), '\t', ' ');
    if (!Printable(words)) {
        return std::nullopt;
    }
    bool ok = true;
    const ComponentRecord record = ParseComponentText(words, ok);
    // Element names carry the record's number after their letter.
    const std::string& first = group->second.front()->name;
    const std::size_t idEnd = std::min(first.find_first_not_of("0123456789", 1), first.size());
    int id = 0;
    std::from_chars(first.data() + 1, first.data() + idEnd, id);
    if (!ok || record.kind == 'T' || id <= 0) {
        return std::nullopt;
    }
    std::string again;
    try {
        again = WriteSpiceElements(record, deck_.exportedCommonNode, id, line, 1);
    } catch (const KelvorError&) {
        return std::nullopt;
    }
    const std::vector<SpiceElement> expected = ReadSpiceDeck("*\n" + again).elements;
    if (expected.size() != group->second.size() ||
        !std::equal(expected.begin(), expected.end(), group->second.begin(), SameElement)) {
        return std::nullopt;
    }
    ExportedLine rebuilt;
    rebuilt.kind = record.kind;
    const ComponentKind& kind = *FindComponentKind(record.kind); // the line was read well
    const std::size_t nodeCount = static_cast<std::size_t>(kind.NodeCount());
    for (std::size_t i = 0; i < nodeCount; ++i) {
        const int node = record.nodes[i];
        rebuilt.nodes.push_back(node == deck_.exportedCommonNode ? "0" : std::to_string(node));
    }
    const int firstValue = static_cast<int>(nodeCount) + 2;
    // Words after the kind's values are comments.
    const int firstComment = firstValue + static_cast<int>(kind.values.size());
    for (int word = firstValue;; ++word) {
        std::string text = NthWord(words, word);
        if (text.empty()) {
            break;
        }
        if (word < firstComment) {
            rebuilt.values.push_back(std::move(text));
        } else {
            rebuilt.comment += (rebuilt.comment.empty() ? "" : " ") + text;
        }
    }
    return rebuilt;
}

} // namespace kelvor
