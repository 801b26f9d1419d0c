// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kelvor {

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
    // The bytes of the RECORDS.TMP this program wrote at that parse. Another copy of the
    // program working in the same folder may replace the file with its own circuit's; this copy
    // then goes on with the records it wrote, never with the other's.
    std::shared_ptr<const std::string> ownRecordFile;
};

} // namespace kelvor
