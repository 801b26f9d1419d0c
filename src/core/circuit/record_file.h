#pragma once

#include "circuit/component_record.h"

#include <filesystem>
#include <vector>

namespace kelvor {

inline constexpr const char* kRecordFileName = "RECORDS.TMP";

// Record 0 is the header record, records 1..n the component lines in Datafile order.
using RecordList = std::vector<ComponentRecord>;

// Replaces the file whole. Throws KelvorError when it cannot be written.
void WriteRecordFile(const std::filesystem::path& path, const RecordList& records);

// Throws KelvorError when the file is missing, unreadable, empty or not a whole number of
// 74-byte records.
RecordList ReadRecordFile(const std::filesystem::path& path);

} // namespace kelvor
