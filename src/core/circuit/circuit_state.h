#pragma once

#include <cstdint>
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
};

} // namespace kelvor
