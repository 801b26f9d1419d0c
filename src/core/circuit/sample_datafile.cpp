// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/sample_datafile.h"

#include "circuit/datafile_text.h"

namespace kelvor {

std::string SampleDatafileText(const std::string& today) {
    const std::string componentIndent(9, ' ');
    return JoinDatafileLines({
        StandardTitleLine("Simple_3_Element_High_Pass_Filter", 1, today),
        "",
        StandardNodeLine("3", "5", "2"),
        "",
        "*        HPFILTER  -  Self Generated Version",
        "",
        componentIndent + "R  1 2       0.2",
        componentIndent + "L  1 4       2.5mH",
        componentIndent + "R  2 5       8.0",
        componentIndent + "C  3 4       50uF",
        componentIndent + "C  4 5       50uF",
    });
}

std::string NewDatafileSkeleton(const std::string& today) {
    return JoinDatafileLines({
        StandardTitleLine("NEW_FILE_-_type_in_description_here", 0, today),
        "",
        StandardNodeLine("0", "0", "0"),
        "",
    });
}

} // namespace kelvor
