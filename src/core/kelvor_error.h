#pragma once

#include <stdexcept>
#include <string>

namespace kelvor {

// File faults, floating-point faults and refused computations. A command catches it at its edge
// and shows the message; nothing below the command catches it and carries on.
class KelvorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace kelvor
