// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/spice_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

namespace kelvor {
namespace {

std::size_t LineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// A file name, a title or a component line holding line breaks or other control characters
// must not add a line to the deck: ngspice would run it (".control", "shell ...").
TEST(SpiceExport, TextFromOutsideStaysOnItsCommentLine) {
    const std::string datafile = "Hostile\x0b\x0c\x1b.endc Rev. 1\r\n\r\n1 2 3\r\n\r\n"
                                 "R 1 2 1k \x0b\x0c.endc\r\nR 2 3 1k\r\n";
    const SpiceExportOptions options;
    const std::string plain = WriteSpiceNetlist("A.DAT", datafile, options);
    const std::string netlist =
        WriteSpiceNetlist("A.DAT\n.control\nshell touch owned\n.endc\r\x7f", datafile, options);

    EXPECT_EQ(LineCount(netlist), LineCount(plain));
    std::istringstream lines(netlist);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_TRUE(std::none_of(line.begin(), line.end(), [](char c) {
            return static_cast<unsigned char>(c) < 32 || c == 127;
        })) << line;
        EXPECT_FALSE(line.starts_with(".control") || line.starts_with("shell") ||
                     line.starts_with(".endc"))
            << line;
    }
}

} // namespace
} // namespace kelvor
