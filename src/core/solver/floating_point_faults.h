// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kelvor {

// Division by zero, overflow and invalid operations must end a computation with a message
// instead of leaving an infinity or NaN in the results. The extended arithmetic records them in
// the floating-point status flags of the running thread.
void ClearFloatingPointFaults();

// The faults recorded since the last clear (0 when none).
int RaisedFloatingPointFaults();

// Throws ComputationFault naming the fault and what was being done.
[[noreturn]] void ThrowFloatingPointFault(int raised, const std::string& activity);

// The activity text is only built when there is a fault to report.
template <class DescribeActivity> void ThrowIfFloatingPointFault(DescribeActivity describe) {
    if (const int raised = RaisedFloatingPointFaults(); raised != 0) {
        ThrowFloatingPointFault(raised, describe());
    }
}

} // namespace kelvor
