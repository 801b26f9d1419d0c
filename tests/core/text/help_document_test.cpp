// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/circuit_state.h"
#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "files/file_io.h"
#include "text/rtf_reader.h"
#include "text/utf16_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kelvor {
namespace {

const std::filesystem::path kHelpDocument = KELVOR_HELP_DOCUMENT;

class HelpDocument : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        document_ = new RtfDocument(ReadRtf(ReadWholeFile(kHelpDocument)));
    }
    static void TearDownTestSuite() { delete document_; }

    static std::vector<std::u16string> Lines() {
        std::vector<std::u16string> lines;
        for (const RtfParagraph& paragraph : document_->paragraphs) {
            lines.push_back(paragraph.Text());
        }
        return lines;
    }

    static RtfDocument* document_;
};

RtfDocument* HelpDocument::document_ = nullptr;

// Lines wider than the help window would wrap and spoil the tables.
TEST_F(HelpDocument, NoLineIsWiderThanTheWindow) {
    for (const std::u16string& line : Lines()) {
        EXPECT_LE(line.size(), 88u) << Utf8FromUtf16(line);
    }
}

// The example Datafiles are real, and all shown in the help: each one parses without an error,
// and the help shows it line for line.
TEST_F(HelpDocument, SampleDatafilesParseAndAppearInFull) {
    const std::filesystem::path examples =
        kHelpDocument.parent_path().parent_path().parent_path() / "examples";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(examples)) {
        if (entry.path().extension() == ".DAT") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 5u);

    std::vector<std::string> texts;
    for (const auto& file : files) {
        texts.push_back(ReadWholeFile(file));
    }
    // The first-run sample as the program writes it, dated as in the help.
    texts.push_back(SampleDatafileText("7 Dec 2026"));

    const std::vector<std::u16string> lines = Lines();
    for (const std::string& bytes : texts) {
        CircuitState state;
        const ParseOutcome outcome = ParseDatafileText(bytes, state, "7 Dec 2026");
        EXPECT_TRUE(outcome.ok) << bytes << outcome.report;

        std::vector<std::u16string> fileLines;
        std::size_t start = 0;
        while (start < bytes.size()) {
            const std::size_t end = bytes.find("\r\n", start);
            ASSERT_NE(end, std::string::npos) << "a sample line without CR LF";
            fileLines.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                                   bytes.begin() + static_cast<std::ptrdiff_t>(end));
            start = end + 2;
        }
        const auto found =
            std::search(lines.begin(), lines.end(), fileLines.begin(), fileLines.end());
        EXPECT_NE(found, lines.end()) << "not shown in the help:\n" << bytes;
    }
}

} // namespace
} // namespace kelvor
