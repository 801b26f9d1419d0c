// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kelvor {
struct LoadedDatafile;
} // namespace kelvor

namespace kelvor::schematic {

// One Datafile component as the drawing needs it.
struct Part {
    int line = 0; // Datafile line, counting from 1
    char kind = ' ';
    std::string name;       // kind letter and its count in line order: R1, R2, C1 ...
    std::vector<int> nodes; // in the record's node order
    std::string valueText;  // UTF-8, with units: "47 Ω", "10 mH 3.3 Ω"
};

struct Circuit {
    std::vector<Part> parts;
    int nodeIn = 0;
    int nodeOut = 0;
    int nodeCom = 0;
};

// The circuit of a Datafile that parsed without errors.
Circuit CircuitFromParse(const LoadedDatafile& datafile);

// A value with three significant digits, an SI prefix and its unit: "4.7 kΩ", "159 nF".
std::string ValueWithUnit(long double value, const std::string& unit);

} // namespace kelvor::schematic
