// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/rtf_reader.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any bytes must read without a crash, and the document must count its positions as a text box
// does: one per character and one per paragraph break, none for dropped control characters.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kelvor::RtfDocument document = kelvor::ReadRtf(bytes);
    std::size_t positions = 0;
    for (const kelvor::RtfParagraph& paragraph : document.paragraphs) {
        for (const kelvor::RtfRun& run : paragraph.runs) {
            for (const char16_t c : run.text) {
                if ((c < 0x20 && c != u'\t') || c == u'\u2029') {
                    std::abort();
                }
            }
            positions += run.text.size();
        }
        positions += 1;
        paragraph.HasOverlongWord();
    }
    if (document.PlainText().size() != positions) {
        std::abort();
    }
    return 0;
}
