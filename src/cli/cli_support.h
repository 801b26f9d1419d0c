// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bode/bode_grid.h"
#include "circuit/datafile_reader.h"
#include "cli/command_line.h"
#include "messages.h"
#include "solver/loaded_datafile.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace kelvor::cli {

// Messages go to standard error; questions are answered No, since nobody is there to answer.
class StreamMessages : public MessageSink {
public:
    explicit StreamMessages(std::ostream& err) : err_(err) {}
    void ShowInfo(const std::string& message) override;
    void ShowWarning(const std::string& message) override;
    void ShowError(const std::string& message) override;
    Answer Ask(const std::string& question, QuestionButtons buttons) override;

private:
    std::ostream& err_;
};

// Message texts carry CR LF pairs for the boxes; a terminal wants plain line feeds.
std::string ForTerminal(const std::string& text);

// A Datafile named on the command line: its name without its folder, as the listing shows it,
// and what it loads to (without writing the record file).
struct ParsedDatafile {
    std::string name;
    LoadedDatafile loaded;
};

// Throws KelvorError when the file cannot be read.
ParsedDatafile ParseDatafileAt(const std::string& path);

// An option's integer value (decimal or hexadecimal); a UsageError naming the option otherwise.
int32_t IntegerOption(const std::string& name, const std::string& text);

// The same, from `low` to `high`; a UsageError naming the option and the range otherwise.
int32_t IntegerOptionWithin(const std::string& name, const std::string& text, int32_t low,
                            int32_t high);

// The range of --from F --to F: both given, start above 0, end above start and at most
// kMostDecades above it; a UsageError naming the option and the reason otherwise.
FrequencyRange RangeFromArguments(const std::optional<std::string>& from,
                                  const std::optional<std::string>& to);

// --ppd N: 1 to kMostPointsPerDecade, kDefaultPointsPerDecade when not given.
int32_t PointsPerDecadeFromArgument(const std::optional<std::string>& text);

// A frequency in engineering syntax, 0 Hz or more.
long double ParseFrequencyArgument(const std::string& text);

} // namespace kelvor::cli
