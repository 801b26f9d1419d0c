// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "circuit/circuit_limits.h"
#include "circuit/circuit_state.h"
#include "circuit/record_file.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kelvor {

class MessageSink;

enum class ParseMode {
    ShowReport = 2, // the collected error text reaches the user in one warning box
    Silent = 3,     // the caller sees only ok and shows its own message
};

struct ParseOutcome {
    bool ok = true;
    // CR LF, two spaces and the message for every failed check; at most 255 characters.
    std::string report;
    RecordList records; // header record first
    // The text of each component record's line as read (tabs made spaces, leading spaces
    // dropped): componentLines[i] belongs to records[i + 1].
    std::vector<std::string> componentLines;
    // The Datafile line (counting from 1) of each component record, in record order.
    std::vector<int> sourceLines;
};

inline constexpr std::size_t kReportCapacity = 255;
inline constexpr std::size_t kDatafileLineLength = 80;
inline constexpr std::size_t kCircuitTitleCapacity = 35;
inline constexpr std::size_t kDatafileDateCapacity = 12;

// One component line (leading spaces dropped), read as the Datafile reader reads it; clears
// check when the line has an error.
ComponentRecord ParseComponentText(std::string_view line, bool& check);

// Checks every line of a Datafile's bytes and builds its records; updates state as lines are
// read. `today` is the parse date written into the header record.
ParseOutcome ParseDatafileText(std::string_view fileBytes, CircuitState& state,
                               const std::string& today);

// The bytes of a Datafile, read within its size limit. Throws KelvorError as ReadWholeFile
// does, and for a file saved as UTF-16 text, of which no line could be read.
std::string ReadDatafileBytes(const std::filesystem::path& path);

// Reads the Datafile from the working folder, rewrites RECORDS.TMP there (its fingerprint goes
// into the state) and, in ShowReport mode, shows a non-empty report as a warning. Throws
// KelvorError for a missing or unreadable Datafile or an unwritable record file.
ParseOutcome ParseDatafile(const std::filesystem::path& folder, const std::string& datafileName,
                           ParseMode mode, CircuitState& state, MessageSink& messages,
                           const std::string& today);

} // namespace kelvor
