// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/response_table.h"

#include "analysis/engineering_format.h"
#include "text/number_format.h"
#include "text/words.h"

namespace kelvor {

namespace {

constexpr const char* kBoxLead = "  ";

std::string WithoutLeadingSpaces(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

} // namespace

ResponseBoxes FormatResponseBoxes(const ResponsePoint& point, bool extended,
                                  MessageSink& messages) {
    ResponseBoxes boxes;
    if (extended) {
        boxes.gain = kBoxLead + FormatExponent(point.Gain, 14, 4);
        boxes.phase = kBoxLead + FormatExponent(point.Phase, 14, 4);
        boxes.zin = kBoxLead + FormatExponent(point.Zin, 14, 4);
        boxes.zout = kBoxLead + FormatExponent(point.Zout, 14, 4);
    } else {
        boxes.gain = kBoxLead + FormatFixed(point.Gain, 10, 3);
        boxes.phase = kBoxLead + FormatFixed(point.Phase, 7, 1);
        boxes.zin = kBoxLead + WithoutLeadingSpaces(FormatEngineering(point.Zin, messages));
        boxes.zout = kBoxLead + WithoutLeadingSpaces(FormatEngineering(point.Zout, messages));
    }
    // No number would mean anything for an exact zero output.
    if (point.Gain < kNoOutputGain) {
        boxes.gain = extended ? " * * * * *    " : "   * * * ";
    }
    return boxes;
}

std::string FormatResponseRow(const std::string& frequencyText, const ResponseBoxes& boxes,
                              bool extended) {
    const int frequencyWidth = extended ? 13 : 12;
    const int gainWidth = extended ? 24 : 16;
    const int phaseWidth = extended ? 21 : 18;
    const int impedanceWidth = extended ? 21 : 19;
    return RightAlign(TrimSpaces(frequencyText), frequencyWidth) +
           RightAlign(boxes.gain, gainWidth) + RightAlign(boxes.phase, phaseWidth) +
           RightAlign(TrimSpaces(boxes.zin), impedanceWidth) +
           RightAlign(TrimSpaces(boxes.zout), impedanceWidth);
}

} // namespace kelvor
