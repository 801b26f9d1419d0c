// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "circuit/record_file.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kelvor {

inline constexpr const char* kListingFileName = "CHKFILE.TMP";

// The text of CHKFILE.TMP: every record numbered, nodes and values in absolute units, CR LF
// line ends. The records include the header record at index 0.
std::string BuildRecordListing(const RecordList& records, std::string_view datafileName,
                               int32_t revisionNumber);

// Reads RECORDS.TMP from the folder, refusing it unless it is the one the state's parse wrote,
// and writes CHKFILE.TMP beside it.
void WriteRecordListing(const std::filesystem::path& folder, std::string_view datafileName,
                        const CircuitState& state);

} // namespace kelvor
