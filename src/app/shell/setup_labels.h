// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/shell/system_facts.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kelvor::app {

// One information line of the setup window: its control name, its top, its font and its text.
struct InformationLabel {
    const char* name;
    int top;
    int fontPixels;
    bool bold;
    std::string text;
};

// The information lines as they read on this computer, top to bottom. A fact that cannot be
// read shows as "Unknown"; without a printer the printer line says so in words.
std::vector<InformationLabel> InformationLabels(const SystemFacts& facts,
                                                const std::filesystem::path& workingFolder);

// " Max. Number of Circuit Nodes  :  100"
std::string NodesLimitText();

// The name "TEST Win Ver" and the operating-system line show.
std::string OperatingSystemName(const SystemFacts& facts);
// The user name "TEST Win Ver" and the user line show.
std::string UserNameOrUnknown(const SystemFacts& facts);

// The left edge that centres a label of that width in the window (truncated halves).
int CentredLeft(int windowWidth, int labelWidth);

} // namespace kelvor::app
