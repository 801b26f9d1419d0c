// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelvor {

// Size and hash of the record file's bytes.
struct RecordFileFingerprint {
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const RecordFileFingerprint&) const = default;
};

// The circuit left by the last parse. Fields keep their previous values when the Datafile ends
// before the line that sets them.
struct CircuitState {
    std::string CircuitTitle; // at most 35 characters
    int32_t RevisionNumber = 0;
    std::string DatafileDate; // at most 12 characters
    int32_t NodeIn = 0;
    int32_t NodeOut = 0;
    int32_t NodeCom = 0;
    int32_t NoNodes = 0;
    // The RECORDS.TMP this program wrote at that parse. Another copy of the program working in
    // the same folder may replace the file; its records must never be taken for this circuit's.
    std::optional<RecordFileFingerprint> ownRecordFile;
};

} // namespace kelvor
