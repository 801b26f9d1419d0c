// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "interchange/spice_deck.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kelvor {

// A Datafile line whose elements this program's export wrote, as the deck's comment gives it:
// its kind, its nodes as the deck names them ("0" for the common node), its value words as
// they were typed and the words after them.
struct ExportedLine {
    char kind = ' ';
    std::vector<std::string> nodes;
    std::vector<std::string> values;
    std::string comment;
};

// The export's groups of elements, each tagged with the Datafile line it came from.
class ExportedLines {
public:
    explicit ExportedLines(const SpiceDeck& deck);

    // The line of a group, when its elements are exactly what the export writes for that line;
    // nothing for a group someone edited, a line the deck does not quote, a transformer (whose
    // coupling was taken at one frequency) or a deck that is not an export.
    const std::optional<ExportedLine>& Rebuilt(int line);

private:
    std::optional<ExportedLine> Rebuild(int line) const;

    const SpiceDeck& deck_;
    std::map<int, std::vector<const SpiceElement*>> groups_;
    std::map<int, std::optional<ExportedLine>> rebuilt_;
};

} // namespace kelvor
