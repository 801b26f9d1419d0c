// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/floating_point_faults.h"

#include "kelvor_error.h"

#include <cfenv>

namespace kelvor {

void ClearFloatingPointFaults() {
    // Testing is cheap and clearing the x87 flags is not; after a clean computation there is
    // nothing to clear.
    if (RaisedFloatingPointFaults() != 0) {
        std::feclearexcept(FE_ALL_EXCEPT);
    }
}

int RaisedFloatingPointFaults() {
    return std::fetestexcept(FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID);
}

void ThrowFloatingPointFault(int raised, const std::string& activity) {
    const char* fault = (raised & FE_DIVBYZERO)  ? "division by zero"
                        : (raised & FE_OVERFLOW) ? "overflow"
                                                 : "invalid operation";
    std::feclearexcept(FE_ALL_EXCEPT);
    throw ComputationFault(std::string("Floating-point ") + fault + " " + activity);
}

} // namespace kelvor
