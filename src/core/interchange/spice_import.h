// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "interchange/spice_deck.h"

#include <string>
#include <vector>

namespace kelvor {

struct SpiceImportOptions {
    std::string inputNode;
    std::string outputNode;
    std::string commonNode = "0";
    std::string deckName; // shown in the Datafile's comment
    std::string today;    // the Datafile's date, "d mmm yyyy"
};

// The nodes the circuit's elements use, in the order they first appear; what the user picks the
// input, output and common nodes from.
std::vector<std::string> CircuitNodeNames(const SpiceDeck& deck);

// The deck as a Datafile (CR LF lines): the input node becomes node 1, the output node 2, the
// common node 3, the others 4 on in the order they appear, all listed in comment lines. R, C and
// L become R, C and L lines (an inductor gets the Datafile's least series resistance), two
// inductors coupled by K a mutual inductor, a voltage-controlled current source an F line with
// no capacitances. The voltage source that drives the input is the Datafile's input and is
// dropped. Throws KelvorError listing every element and construct that has no Datafile form,
// one per line ("line N: name: why"); nothing is returned then.
std::string ImportSpiceDeck(const SpiceDeck& deck, const SpiceImportOptions& options);

} // namespace kelvor
