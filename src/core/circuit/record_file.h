// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "circuit/circuit_state.h"
#include "circuit/component_record.h"
#include "files/folder_presence.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kelvor {

class MessageSink;

inline constexpr const char* kRecordFileName = "RECORDS.TMP";

// Record 0 is the header record, records 1..n the component lines in Datafile order.
using RecordList = std::vector<ComponentRecord>;

// Replaces the file whole (a symbolic link there is refused) and returns the bytes it wrote.
// Throws KelvorError when it cannot be written.
std::shared_ptr<const std::string> WriteRecordFile(const std::filesystem::path& path,
                                                   const RecordList& records);

// Throws KelvorError when the file is missing, unreadable, empty or not a whole number of
// 74-byte records.
RecordList ReadRecordFile(const std::filesystem::path& path);

// As ReadRecordFile, for the parse that wrote `own`: when another copy of the program has
// replaced the file since, the records are those this copy wrote, never the other's. Without
// `own` (no parse yet) a file is never taken for this circuit's: KelvorError.
RecordList ReadOwnRecordFile(const std::filesystem::path& path,
                             const std::shared_ptr<const std::string>& own);

// Deletes RECORDS.TMP from the folder if it is still the one the state's parse wrote and no
// other copy of the program works in the folder (which may have parsed the same circuit),
// reporting a failure as DeleteFileReported does.
void DeleteOwnRecordFile(const std::filesystem::path& folder, CircuitState& state,
                         const FolderPresence& presence, const std::string& unitLabel,
                         MessageSink& messages);

} // namespace kelvor
