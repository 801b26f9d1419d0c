// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "interchange/spice_deck.h"
#include "kelvor_error.h"

#include <string>
#include <vector>

namespace kelvor {

struct SpiceImportOptions {
    std::string inputNode;
    std::string outputNode;
    std::string commonNode = "0"; // "gnd" is the ground node as well
    std::string deckName;         // shown in the Datafile's comment; its stem titles a deck
                                  // without a title line
    std::string today;            // the Datafile's date, "d mmm yyyy"
};

struct SpiceImport {
    std::string datafile;
    // What the Datafile leaves out or changes, in line order: skipped lines, joined nodes,
    // values raised to a Datafile floor, model elements that stand for ideal ones.
    std::vector<std::string> notes;
    // The elements that a value below a Datafile floor changed, by name as the deck spells it.
    std::vector<std::string> floored;
    // The deck's circuit as it is read, ideal: every element the Datafile stands for, the
    // source that drives the input left out.
    std::vector<SpiceElement> circuit;
    // The node roles as the circuit names them ("gnd" read as "0").
    std::string inputNode;
    std::string outputNode;
    std::string commonNode;
};

// An import refused: every problem, one a line. When they all come from the node roles chosen
// (a source that does not drive the input, a role node no element uses), other roles may do.
class SpiceImportRefused : public KelvorError {
public:
    SpiceImportRefused(const std::string& message, bool rolesOnly)
        : KelvorError(message), rolesOnly_(rolesOnly) {}
    bool RolesOnly() const { return rolesOnly_; }

private:
    bool rolesOnly_;
};

// The nodes the circuit's elements use, in the order they first appear; what the user picks the
// input, output and common nodes from.
std::vector<std::string> CircuitNodeNames(const SpiceDeck& deck);

// The roles a user most likely means: the input where the deck's AC source drives it, the
// output that its .print, .plot or .probe line shows, the ground as common node. Empty where
// the deck gives no hint.
struct ProposedSpiceNodes {
    std::string input;
    std::string output;
    std::string common;
};
ProposedSpiceNodes ProposeSpiceNodes(const SpiceDeck& deck);

// The deck as a Datafile (CR LF lines): the input node becomes node 1, the output node 2, the
// common node 3, the others 4 on in the order they appear, all listed in comment lines. R, C and
// L become R, C and L lines (an inductor gets the Datafile's least series resistance), two
// inductors coupled by K a mutual inductor, a voltage-controlled current source an F line with
// no capacitances, a voltage-controlled voltage source against the common node an op-amp. The
// voltage source that drives the input is the Datafile's input and is dropped; 0 V sources and
// 0 ohm resistors join their nodes. The elements this program's export wrote for one Datafile
// line, unedited, become that line again. Throws SpiceImportRefused listing every element and
// construct that has no Datafile form, one per line ("line N: name: why") in line order;
// nothing is returned then.
SpiceImport ImportSpiceDeck(const SpiceDeck& deck, const SpiceImportOptions& options);

} // namespace kelvor
