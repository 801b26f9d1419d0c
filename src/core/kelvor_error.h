// SPDX-License-Identifier: GPL-3.0-or-later
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

// A floating-point fault of a computation (division by zero, overflow, invalid operation): the
// circuit and its numbers were read well, but cannot be computed.
class ComputationFault : public KelvorError {
public:
    using KelvorError::KelvorError;
};

} // namespace kelvor
