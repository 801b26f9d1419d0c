// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/datafile_text.h"

#include "text/text_lines.h"
#include "text/words.h"

namespace kelvor {

namespace {

constexpr int kTitleWidth = 50;
constexpr std::size_t kBlankBeforeDate = 9;
constexpr std::size_t kBlankBeforeNodeLine = 17;
constexpr std::size_t kBlankBetweenNodes = 8;

} // namespace

std::vector<std::string> SplitDatafileLines(std::string_view bytes) {
    std::vector<std::string> lines;
    for (TextLines reader(bytes); !reader.AtEnd();) {
        lines.emplace_back(reader.Next());
    }
    return lines;
}

std::string JoinDatafileLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string StandardTitleLine(std::string_view title, int revision, std::string_view date) {
    return CentreText(title, kTitleWidth) + " Rev. " + std::to_string(revision) +
           std::string(kBlankBeforeDate, ' ') + std::string(date);
}

std::string StandardNodeLine(std::string_view nodeIn, std::string_view nodeOut,
                             std::string_view nodeCom) {
    const std::string between(kBlankBetweenNodes, ' ');
    return std::string(kBlankBeforeNodeLine, ' ') + "NodeIn = " + std::string(nodeIn) + between +
           "NodeOut = " + std::string(nodeOut) + between + "NodeCom = " + std::string(nodeCom);
}

std::vector<std::string> FormEditorBodyLines(const std::vector<std::string>& fileLines) {
    std::vector<std::string> body;
    const std::size_t lastHeaderLine = kHeaderLineCount - 1;
    for (std::size_t i = lastHeaderLine; i < fileLines.size(); ++i) {
        if (i == lastHeaderLine && TrimSpacesAndControls(fileLines[i]).empty()) {
            continue;
        }
        body.push_back(CutText(fileLines[i], kFormEditorLineCapacity));
    }
    return body;
}

} // namespace kelvor
