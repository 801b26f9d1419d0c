// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell/setup_labels.h"

#include "circuit/datafile_reader.h"

namespace kelvor::app {
namespace {

const char* const kUnknown = "Unknown";

std::string OrUnknown(const std::string& fact) {
    return fact.empty() ? kUnknown : fact;
}

std::string PrinterText(const std::optional<PrinterResolution>& printer) {
    if (!printer) {
        return "Printer Resolution  :  no printer installed";
    }
    return "Printer Resolution  :  X = " + std::to_string(printer->horizontalDpi) +
           " dpi   Y = " + std::to_string(printer->verticalDpi) + " dpi";
}

std::string FreeSpaceText(const std::optional<uint64_t>& megabytes) {
    return "Free Disk Space  :  " + (megabytes ? std::to_string(*megabytes) + " MB" : kUnknown);
}

} // namespace

std::string NodesLimitText() {
    return " Max. Number of Circuit Nodes  :  " + std::to_string(kHighestNodeNumber);
}

std::string OperatingSystemName(const SystemFacts& facts) {
    return OrUnknown(facts.OperatingSystem());
}

std::string UserNameOrUnknown(const SystemFacts& facts) {
    return OrUnknown(facts.UserName());
}

std::vector<InformationLabel> InformationLabels(const SystemFacts& facts,
                                                const std::filesystem::path& workingFolder) {
    const ScreenFacts screen = facts.Screen();
    return {
        {"LabelVersion", 38, 23, true, "KELVOR2007   :   Version 3.08"},
        {"LabelNoNodesLimit", 89, 16, true, NodesLimitText()},
        {"LabelUserName", 128, 16, true, "User Name  :  " + UserNameOrUnknown(facts)},
        {"LabelWinVer", 166, 13, false, "Operating System   :   " + OperatingSystemName(facts)},
        {"LabelResolution", 201, 13, false,
         "Screen Area   :   " + std::to_string(screen.width) + " x " +
             std::to_string(screen.height)},
        {"LabelCPU", 236, 13, false, FreeSpaceText(facts.FreeMegabytes(workingFolder))},
        {"LabelPrinterDPI", 271, 13, false, PrinterText(facts.DefaultPrinter())},
        {"LabelDPI", 306, 13, false,
         "Screen Font Size  :  " + std::to_string(screen.dotsPerInch) + " dpi"},
    };
}

int CentredLeft(int windowWidth, int labelWidth) {
    return (windowWidth - labelWidth) / 2;
}

} // namespace kelvor::app
