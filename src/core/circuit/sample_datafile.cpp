#include "circuit/sample_datafile.h"

#include "text/words.h"

#include <initializer_list>
#include <string_view>

namespace kelvor {

namespace {

constexpr int kTitleWidth = 50;
const std::string kBeforeDate(9, ' ');
const std::string kBeforeNodeLine(17, ' ');

std::string TitleLine(std::string_view title, int revision, const std::string& today) {
    return CentreText(title, kTitleWidth) + " Rev. " + std::to_string(revision) + kBeforeDate +
           today;
}

std::string JoinLines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

} // namespace

std::string SampleDatafileText(const std::string& today) {
    const std::string componentIndent(9, ' ');
    return JoinLines({
        TitleLine("Simple_3_Element_High_Pass_Filter", 1, today),
        "",
        kBeforeNodeLine + "NodeIn = 3        NodeOut = 5        NodeCom = 2",
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
    return JoinLines({
        TitleLine("NEW_FILE_-_type_in_description_here", 0, today),
        "",
        kBeforeNodeLine + "NodeIn = 0        NodeOut = 0        NodeCom = 0",
        "",
    });
}

} // namespace kelvor
