// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kelvor::cli {

// Exit statuses of kelvor-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDatafileErrors = 1;
inline constexpr int kExitUsage = 2; // a bad command line, or a file that cannot be read or written
inline constexpr int kExitComputationFault = 3; // division by zero or overflow in the computation
inline constexpr int kExitOutOfMemory = 4;

// Runs one command line (without the program name). Only setup and graph write files.
int RunCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace kelvor::cli
