// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "circuit/circuit_state.h"
#include "circuit/component_record.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kelvor {

class MessageSink;

inline constexpr const char* kRecordFileName = "RECORDS.TMP";

// Record 0 is the header record, records 1..n the component lines in Datafile order.
using RecordList = std::vector<ComponentRecord>;

// Replaces the file whole and returns the fingerprint of what it wrote. Throws KelvorError when
// it cannot be written.
RecordFileFingerprint WriteRecordFile(const std::filesystem::path& path, const RecordList& records);

// Throws KelvorError when the file is missing, unreadable, empty or not a whole number of
// 74-byte records.
RecordList ReadRecordFile(const std::filesystem::path& path);

// As ReadRecordFile, and throws KelvorError unless the file is the one whose fingerprint is
// given: records written by another program are never read as this circuit's.
RecordList ReadOwnRecordFile(const std::filesystem::path& path,
                             const std::optional<RecordFileFingerprint>& own);

// Deletes RECORDS.TMP from the folder if it is still the one the state's parse wrote, reporting
// a failure as DeleteFileReported does; another program's record file stays.
void DeleteOwnRecordFile(const std::filesystem::path& folder, CircuitState& state,
                         const std::string& unitLabel, MessageSink& messages);

} // namespace kelvor
