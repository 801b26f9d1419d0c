// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kelvor::app {

// The roles of a SPICE netlist's nodes in the Datafile it becomes.
struct SpiceNodeRoles {
    std::string input;
    std::string output;
    std::string common;
};

} // namespace kelvor::app
