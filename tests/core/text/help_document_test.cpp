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

// The offsets at which the program opens help, and the heading that must start there.
struct HelpTopic {
    int32_t position;
    std::u16string heading;
};

const std::vector<HelpTopic> kMenuTopics = {
    {1466, u"1.  Introduction"},
    {4480, u"2.  Running KELVOR"},
    {6050, u"2.1  Open a Datafile"},
    {6287, u"2.2  Defining a New Circuit"},
    {7040, u"2.3  Display/Edit Component Values"},
    {13855, u"2.4  Print Component Values"},
    {14280, u"2.5  Calculate Response"},
    {16807, u"2.6  Graphs/Amplitude Response"},
    {20200, u"2.7  Graphs/SquareWave Response"},
    {21760, u"2.8  Graphs/Pulse Response"},
    {22650, u"2.9  Help and Setup"},
    {23771, u"3.  Sample Datafiles"},
    {32450, u"4.  Hardware & Software"},
    {33450, u"5.  TOLVARN Software"},
};

// The editors' Help command, the graph window's F1 for amplitude and square-wave graphs, the
// Bode window's F1, its tolerance panel's F1.
const std::vector<HelpTopic> kInnerTopics = {
    {7466, u"Datafile Format and Component Lines"},
    {18453, u"The Amplitude Graph Window and Printing"},
    {21073, u"The Square-Wave Graph Window"},
    {33844, u"6.  Bode Analyser"},
    {36460, u"7.  Tolerance Analysis"},
};

class HelpDocument : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        document_ = new RtfDocument(ReadRtf(ReadWholeFile(kHelpDocument)));
        text_ = new std::u16string(document_->PlainText());
    }
    static void TearDownTestSuite() {
        delete document_;
        delete text_;
    }

    // The paragraph whose first character is at offset, or null.
    static const RtfParagraph* ParagraphAt(std::size_t offset) {
        std::size_t start = 0;
        for (const RtfParagraph& paragraph : document_->paragraphs) {
            if (start == offset) {
                return &paragraph;
            }
            start += paragraph.Text().size() + 1;
        }
        return nullptr;
    }

    static std::vector<std::u16string> Lines() {
        std::vector<std::u16string> lines;
        for (const RtfParagraph& paragraph : document_->paragraphs) {
            lines.push_back(paragraph.Text());
        }
        return lines;
    }

    static RtfDocument* document_;
    static std::u16string* text_;
};

RtfDocument* HelpDocument::document_ = nullptr;
std::u16string* HelpDocument::text_ = nullptr;

void ExpectHeadingAt(const std::u16string& text, const HelpTopic& topic) {
    const auto position = static_cast<std::size_t>(topic.position);
    ASSERT_LT(position, text.size()) << Utf8FromUtf16(topic.heading);
    EXPECT_TRUE(position == 0 || text[position - 1] == u'\n')
        << "position " << topic.position << " is not the start of a line";
    const std::size_t end = text.find(u'\n', position);
    EXPECT_EQ(text.substr(position, end - position), topic.heading)
        << "at position " << topic.position;
}

TEST_F(HelpDocument, EveryMenuTopicStartsAtItsPosition) {
    for (const HelpTopic& topic : kMenuTopics) {
        ExpectHeadingAt(*text_, topic);
    }
}

TEST_F(HelpDocument, EveryWindowTopicStartsAtItsPosition) {
    for (const HelpTopic& topic : kInnerTopics) {
        ExpectHeadingAt(*text_, topic);
    }
}

TEST_F(HelpDocument, HeadingsStandOutFromTheBody) {
    const RtfParagraph* body = ParagraphAt(static_cast<std::size_t>(kMenuTopics[0].position) +
                                           kMenuTopics[0].heading.size() + 2);
    ASSERT_NE(body, nullptr);
    ASSERT_FALSE(body->runs.empty());
    const double bodySize = body->runs[0].pointSize.value_or(0);
    EXPECT_EQ(body->runs[0].fontName, u"Courier New");
    EXPECT_FALSE(body->runs[0].bold);

    std::vector<HelpTopic> all = kMenuTopics;
    all.insert(all.end(), kInnerTopics.begin(), kInnerTopics.end());
    for (const HelpTopic& topic : all) {
        const RtfParagraph* heading = ParagraphAt(static_cast<std::size_t>(topic.position));
        ASSERT_NE(heading, nullptr) << topic.position;
        ASSERT_EQ(heading->runs.size(), 1u) << topic.position;
        EXPECT_TRUE(heading->runs[0].bold) << topic.position;
        EXPECT_GT(heading->runs[0].pointSize.value_or(0), bodySize) << topic.position;
    }
}

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
