// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/record_listing.h"

#include "circuit/component_kind.h"
#include "files/file_io.h"
#include "text/number_format.h"
#include "text/words.h"

#include <string>

namespace kelvor {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr int kNodeWidth = 4;
constexpr int kNodeFields = 5;
// Continuation lines of an entry start their values here.
const std::string kContinuationIndent(35, ' ');
const std::string kValueGap(4, ' ');

std::string Spaces(std::size_t count) {
    return std::string(count, ' ');
}

std::string EntryPrefix(std::size_t number) {
    std::string prefix = "    #" + std::to_string(number) + "  ";
    // Keeps the kind letters in one column for record numbers up to 999.
    if (number < 10) {
        prefix += ' ';
    }
    if (number < 100) {
        prefix += ' ';
    }
    return prefix;
}

std::string Nodes(const ComponentRecord& record, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += RightAlign(std::to_string(record.nodes[i]), kNodeWidth);
    }
    return text;
}

std::string Value(const ComponentRecord& record, std::size_t index) {
    return FormatScientific23(record.values[index]);
}

const char* const kIllegalRecord = "ERROR - Illegal record here !!!!";

// The nodes, then the values in the order of the Datafile line, the listing rows of the kind
// one below the other; the first row starts where five nodes would end.
std::string ComponentEntryText(const ComponentRecord& record, const ComponentKind& kind) {
    const int nodeCount = kind.NodeCount();
    std::string text = std::string(1, record.kind) +
                       Nodes(record, static_cast<std::size_t>(nodeCount)) +
                       Spaces(static_cast<std::size_t>(kNodeWidth * (kNodeFields + 1 - nodeCount)));
    int row = 0;
    bool rowStarted = false;
    for (int position = 0; const ValueDescription* value = kind.ValueAt(position); ++position) {
        if (value->listingRow != row) {
            row = value->listingRow;
            text += kLineEnd + kContinuationIndent;
        } else if (rowStarted) {
            text += kValueGap;
        }
        text += Value(record, static_cast<std::size_t>(value->slot));
        rowStarted = true;
    }
    return text;
}

std::string EntryText(const ComponentRecord& record) {
    const auto& nodes = record.nodes;
    if (record.kind == 'H') {
        // Chosen by kind alone: a Datafile line starting with H lists like a header too.
        return "NoNodes = " + std::to_string(nodes[0]) +
               "        NodeIn = " + std::to_string(nodes[1]) +
               "        NodeOut = " + std::to_string(nodes[2]) +
               "        NodeCom = " + std::to_string(nodes[3]) + kLineEnd;
    }
    const ComponentKind* kind = FindComponentKind(record.kind);
    return kind == nullptr ? kIllegalRecord : ComponentEntryText(record, *kind);
}

} // namespace

std::string BuildRecordListing(const RecordList& records, std::string_view datafileName,
                               int32_t revisionNumber) {
    std::string listing;
    listing += kLineEnd;
    listing += "   ALL VALUES ARE IN ABSOLUTE UNITS - Ohms, Farads, Henries, Amps, Volts, Hertz, "
               "dB, etc.";
    listing += kLineEnd;
    listing += "   " + std::string(86, '-') + kLineEnd;
    listing += kLineEnd;
    for (std::size_t number = 0; number < records.size(); ++number) {
        listing += EntryPrefix(number) + EntryText(records[number]) + kLineEnd;
    }
    listing += kLineEnd;
    listing += Spaces(35);
    listing += datafileName;
    listing += "    Rev." + std::to_string(revisionNumber) + kLineEnd;
    return listing;
}

void WriteRecordListing(const std::filesystem::path& folder, std::string_view datafileName,
                        const CircuitState& state) {
    const RecordList records = ReadOwnRecordFile(folder / kRecordFileName, state.ownRecordFile);
    WriteFileAtomically(folder / kListingFileName,
                        BuildRecordListing(records, datafileName, state.RevisionNumber),
                        WriteDurability::Scratch, LinkPolicy::Refuse);
}

} // namespace kelvor
