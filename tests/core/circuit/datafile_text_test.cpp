// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/datafile_reader.h"
#include "circuit/datafile_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvor {
namespace {

using Lines = std::vector<std::string>;

TEST(DatafileText, SplitsAtEveryKindOfLineEnd) {
    const struct {
        const char* bytes;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"\r\n\r\n", {"", ""}},
        {"a\r\r\n", {"a", ""}}, // CR then CR LF: two line ends
        {"a\n\r", {"a", ""}},   // LF then CR: two line ends, not one
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitDatafileLines(c.bytes), c.lines) << c.bytes;
    }
}

TEST(DatafileText, SplitKeepsLongLinesWhole) {
    const std::string line(300, 'x');
    EXPECT_EQ(SplitDatafileLines(line + "\r\n"), Lines{line});
}

TEST(DatafileText, JoinThenSplitGivesTheSameLines) {
    const Lines lines = {"title", "", "nodes", "", "", "R 1 2 3", ""};
    EXPECT_EQ(JoinDatafileLines(lines), "title\r\n\r\nnodes\r\n\r\n\r\nR 1 2 3\r\n\r\n");
    EXPECT_EQ(SplitDatafileLines(JoinDatafileLines(lines)), lines);
    EXPECT_EQ(JoinDatafileLines({}), "");
}

TEST(DatafileText, StandardHeaderLinesReadBack) {
    // A 35-character title fills 7 + 35 + 8 columns.
    EXPECT_EQ(StandardTitleLine("NEW_FILE_-_type_in_description_here", 12, "6 Dec 2026"),
              std::string(7, ' ') + "NEW_FILE_-_type_in_description_here" + std::string(8, ' ') +
                  " Rev. 12" + std::string(9, ' ') + "6 Dec 2026");
    EXPECT_EQ(StandardNodeLine("3", "15", "x"),
              std::string(17, ' ') + "NodeIn = 3        NodeOut = 15        NodeCom = x");

    CircuitState circuit;
    const std::string file =
        JoinDatafileLines({StandardTitleLine("My_Amp", 7, "1 Jan 2027"), "",
                           StandardNodeLine("1", "3", "2"), "", "R 1 2 1k", "C 2 3 1u"});
    EXPECT_TRUE(ParseDatafileText(file, circuit, "1 Jan 2027").ok);
    EXPECT_EQ(circuit.CircuitTitle, "My_Amp");
    EXPECT_EQ(circuit.RevisionNumber, 7);
    EXPECT_EQ(circuit.DatafileDate, "1 Jan 2027");
    EXPECT_EQ(circuit.NodeIn, 1);
    EXPECT_EQ(circuit.NodeOut, 3);
    EXPECT_EQ(circuit.NodeCom, 2);
}

TEST(DatafileText, FormEditorBodyDropsABlankLineFourOnly) {
    const struct {
        const char* name;
        Lines file;
        Lines body;
    } cases[] = {
        {"empty line 4", {"t", "", "n", "", "* c", "R 1 2 3"}, {"* c", "R 1 2 3"}},
        {"spaces and TAB on line 4", {"t", "", "n", " \t ", "R 1 2 3"}, {"R 1 2 3"}},
        {"component on line 4", {"t", "", "n", "R 1 2 3", "C 2 3 1"}, {"R 1 2 3", "C 2 3 1"}},
        {"comment on line 4", {"t", "", "n", "  * note"}, {"  * note"}},
        {"header only", {"t", "", "n", ""}, {}},
        {"short file", {"t", "", "n"}, {}},
        {"blank lines after line 4 stay",
         {"t", "", "n", "", "", "R 1 2 3", ""},
         {"", "R 1 2 3", ""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormEditorBodyLines(c.file), c.body) << c.name;
    }
}

TEST(DatafileText, FormEditorBodyCutsLinesAt132) {
    const std::string longLine = "* " + std::string(200, 'x');
    const Lines body = FormEditorBodyLines({"t", "", "n", longLine, std::string(132, 'y')});
    ASSERT_EQ(body.size(), 2u);
    EXPECT_EQ(body[0], longLine.substr(0, 132));
    EXPECT_EQ(body[1], std::string(132, 'y'));
}

} // namespace
} // namespace kelvor
