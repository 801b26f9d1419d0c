// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/floating_point_faults.h"

#include "kelvor_error.h"

#include <cfenv>
#include <cstdint>

namespace kelvor {

static_assert(FE_INVALID == 0x01 && FE_DIVBYZERO == 0x04 && FE_OVERFLOW == 0x08,
              "the exception bits of the x87 status word and the SSE status register");

void ClearFloatingPointFaults() {
    // Testing is cheap and clearing the x87 flags is not; after a clean computation there is
    // nothing to clear.
    if (RaisedFloatingPointFaults() != 0) {
        std::feclearexcept(FE_ALL_EXCEPT);
    }
}

int RaisedFloatingPointFaults() {
    // The flags themselves, read without the library's call: the x87 status word holds the
    // extended arithmetic's, the SSE control and status register those of any double code.
    // Both keep the exception bits in the positions FE_* name. Out of line, as the library's
    // call was, so that the arithmetic before a call has been done when it reads them.
    std::uint16_t x87Status;
    std::uint32_t sseStatus;
    asm volatile("fnstsw %0" : "=a"(x87Status));
    asm volatile("stmxcsr %0" : "=m"(sseStatus));
    return static_cast<int>((x87Status | sseStatus) & (FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID));
}

void ThrowFloatingPointFault(int raised, const std::string& activity) {
    const char* fault = (raised & FE_DIVBYZERO)  ? "division by zero"
                        : (raised & FE_OVERFLOW) ? "overflow"
                                                 : "invalid operation";
    std::feclearexcept(FE_ALL_EXCEPT);
    throw ComputationFault(std::string("Floating-point ") + fault + " " + activity);
}

} // namespace kelvor
