// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "circuit/component_record.h"

#include <string>
#include <string_view>

namespace kelvor {

struct SpiceExportOptions {
    // The .ac sweep: points per decade from acFrom to acTo, in hertz.
    long double acFrom = 10;
    long double acTo = 100e3L;
    int pointsPerDecade = 10;
    // Where a transformer's coupling, which depends on frequency here, is taken; 0 means the
    // geometric middle of the .ac range.
    long double couplingFrequency = 0;
};

// A SPICE netlist of the Datafile's circuit: every component as the linear elements its model
// stands for, the common node as node 0, a 1 V AC source at the input node, the output node
// printed and an .ac sweep. Each element line names the Datafile line it came from. Throws
// KelvorError for a Datafile with errors, or a value the solver would refuse (a zero Beta, Ft,
// Ra, Zin, f-3dB, Lp or ratio), naming its line.
std::string WriteSpiceNetlist(std::string_view datafileName, std::string_view datafileBytes,
                              const SpiceExportOptions& options);

// The element lines (and comments) the netlist has for one record, the record numbered as in
// its Datafile and read from the given Datafile line.
std::string WriteSpiceElements(const ComponentRecord& record, int nodeCom, int recordNumber,
                               int sourceLine, long double couplingHz);

// The frequency at which transformers are exported with these options.
long double CouplingFrequency(const SpiceExportOptions& options);

} // namespace kelvor
