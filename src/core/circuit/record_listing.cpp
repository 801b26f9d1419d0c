// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/record_listing.h"

#include "files/file_io.h"
#include "text/number_format.h"
#include "text/words.h"

#include <string>

namespace kelvor {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr int kNodeWidth = 4;
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

std::string EntryText(const ComponentRecord& record) {
    const auto& nodes = record.nodes;
    const std::string kind(1, record.kind);
    switch (record.kind) {
    case 'H':
        // Chosen by kind alone: a Datafile line starting with H lists like a header too.
        return "NoNodes = " + std::to_string(nodes[0]) +
               "        NodeIn = " + std::to_string(nodes[1]) +
               "        NodeOut = " + std::to_string(nodes[2]) +
               "        NodeCom = " + std::to_string(nodes[3]) + kLineEnd;
    case 'R':
    case 'C':
        return kind + Nodes(record, 2) + Spaces(16) + Value(record, 0);
    case 'L':
        return kind + Nodes(record, 2) + Spaces(16) + Value(record, 0) + kValueGap +
               Value(record, 1);
    case 'B':
    case 'F':
    case 'V':
    case 'A': {
        std::string text =
            kind + Nodes(record, 3) + Spaces(12) + Value(record, 0) + kValueGap + Value(record, 1);
        if (record.kind == 'A') {
            return text + kLineEnd + kContinuationIndent + Value(record, 2);
        }
        text += kLineEnd + kContinuationIndent + Value(record, 2) + kValueGap + Value(record, 3);
        if (record.kind == 'B') {
            text +=
                kLineEnd + kContinuationIndent + Value(record, 4) + kValueGap + Value(record, 5);
        } else if (record.kind == 'V') {
            text += kLineEnd + kContinuationIndent + Value(record, 4);
        }
        return text;
    }
    case 'M':
        return kind + Nodes(record, 4) + Spaces(8) + Value(record, 0) + kValueGap +
               Value(record, 1) + kLineEnd + kContinuationIndent + Value(record, 2) + kLineEnd +
               kContinuationIndent + Value(record, 3) + kValueGap + Value(record, 4);
    case 'T':
        // Ratio before Lp, in the order of the Datafile line.
        return kind + Nodes(record, 5) + Spaces(4) + Value(record, 1) + kValueGap +
               Value(record, 0) + kLineEnd + kContinuationIndent + Value(record, 2) + kValueGap +
               Value(record, 3) + kLineEnd + kContinuationIndent + Value(record, 4) + kValueGap +
               Value(record, 5);
    default:
        return kIllegalRecord;
    }
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
                        WriteDurability::Scratch);
}

} // namespace kelvor
