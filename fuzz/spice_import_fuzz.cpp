// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/datafile_reader.h"
#include "interchange/spice_export.h"
#include "interchange/spice_fidelity.h"
#include "interchange/spice_import.h"
#include "kelvor_error.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any bytes, up to a megabyte of long words, must read as a netlist without a crash or a hang.
// Imported with its first three nodes, it is either refused with a message or becomes a
// Datafile that parses without an error, exports again and can be compared with the deck.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kelvor::SpiceDeck deck = kelvor::ReadSpiceDeck(bytes);
    const std::vector<std::string> nodes = kelvor::CircuitNodeNames(deck);
    if (nodes.size() < 3) {
        return 0;
    }
    kelvor::SpiceImport imported;
    try {
        imported =
            kelvor::ImportSpiceDeck(deck, {nodes[0], nodes[1], nodes[2], "FUZZ.CIR", "7 Dec 2026"});
    } catch (const kelvor::KelvorError&) {
        return 0;
    }
    kelvor::CircuitState state;
    if (!kelvor::ParseDatafileText(imported.datafile, state, "7 Dec 2026").ok) {
        std::abort();
    }
    try {
        kelvor::WriteSpiceNetlist("FUZZ.DAT", imported.datafile, {});
    } catch (const kelvor::KelvorError&) {
        // a zero value the solver would refuse
    }
    // A narrow range keeps each input quick; the comparison itself must not fail.
    kelvor::MeasureFidelity(imported, {1e3L, 1e3L});
    return 0;
}
