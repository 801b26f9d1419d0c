// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/datafile_reader.h"

#include "circuit/sample_datafile.h"
#include "kelvor_error.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace kelvor {
namespace {

using testing::RecordingMessages;
using testing::TempFolder;

const std::string kToday = "6 Dec 2026";
constexpr long double kRmin = 1e-6L;

// Title, blank line and node line, then the body lines, all with CR LF.
std::string Datafile(std::initializer_list<std::string> body,
                     const std::string& nodeLine = "NodeIn = 1  NodeOut = 2  NodeCom = 3") {
    std::string text = "Test_circuit Rev. 4 1 Jan 2027\r\n\r\n" + nodeLine + "\r\n";
    for (const std::string& line : body) {
        text += line + "\r\n";
    }
    return text;
}

ParseOutcome Parse(const std::string& text) {
    CircuitState state;
    return ParseDatafileText(text, state, kToday);
}

// One component line in a circuit whose header is sound; the line is body line 0.
struct LineResult {
    bool lineOk;
    ComponentRecord record;
};

LineResult ParseLine(const std::string& line) {
    const ParseOutcome outcome = Parse(Datafile({line}));
    EXPECT_EQ(outcome.records.size(), 2u) << line;
    const bool lineOk = outcome.report.find("Error in Line 0") == std::string::npos;
    return {lineOk, outcome.records.size() > 1 ? outcome.records[1] : ComponentRecord{}};
}

// Scale letters multiply once, so a scaled value may sit one rounding away from the literal.
void ExpectClose(long double actual, long double expected, const std::string& context) {
    const long double tolerance =
        std::fabs(expected) * 4 * std::numeric_limits<long double>::epsilon();
    EXPECT_LE(std::fabs(actual - expected), tolerance)
        << context << ": " << static_cast<double>(actual) << " vs "
        << static_cast<double>(expected);
}

TEST(DatafileReader, SampleDatafileParsesCleanly) {
    CircuitState state;
    const ParseOutcome outcome = ParseDatafileText(SampleDatafileText(kToday), state, kToday);
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.report, "");
    EXPECT_EQ(state.CircuitTitle, "Simple_3_Element_High_Pass_Filter");
    EXPECT_EQ(state.RevisionNumber, 1);
    EXPECT_EQ(state.DatafileDate, kToday);
    EXPECT_EQ(state.NoNodes, 5);
    EXPECT_EQ(state.NodeIn, 3);
    EXPECT_EQ(state.NodeOut, 5);
    EXPECT_EQ(state.NodeCom, 2);

    struct Expected {
        char kind;
        std::array<int16_t, 5> nodes;
        long double value1;
        long double value2;
    };
    const Expected expected[] = {
        {'R', {1, 2, 0, 0, 0}, 0.2L, 0},   {'L', {1, 4, 0, 0, 0}, 2.5e-3L, kRmin},
        {'R', {2, 5, 0, 0, 0}, 8.0L, 0},   {'C', {3, 4, 0, 0, 0}, 50e-6L, 0},
        {'C', {4, 5, 0, 0, 0}, 50e-6L, 0},
    };
    ASSERT_EQ(outcome.records.size(), 6u);
    const ComponentRecord& header = outcome.records[0];
    EXPECT_EQ(header.kind, 'H');
    EXPECT_EQ(header.nodes, (std::array<int16_t, 5>{5, 3, 5, 2, 0}));
    EXPECT_EQ(header.headerDate, kToday);
    for (std::size_t i = 0; i < 5; ++i) {
        const ComponentRecord& record = outcome.records[i + 1];
        EXPECT_EQ(record.kind, expected[i].kind) << i;
        EXPECT_EQ(record.nodes, expected[i].nodes) << i;
        ExpectClose(record.values[0], expected[i].value1, "record " + std::to_string(i + 1));
        ExpectClose(record.values[1], expected[i].value2, "record " + std::to_string(i + 1));
    }
}

TEST(DatafileReader, ValueWords) {
    struct Case {
        std::string word;
        bool ok;
        long double value;
    };
    const Case cases[] = {
        {"4k7", true, 4000.0L},   {"1e3", true, 1.0L},    {"-5", false, 0},
        {"+5", false, 0},         {"10Meg", true, 1e7L},  {"10m", true, 0.01L},
        {"2.5mH", true, 2.5e-3L}, {"50uF", true, 50e-6L}, {"8.0", true, 8.0L},
        {"4K7", true, 4.0L},      {"1G", true, 1e9L},     {"3n3", true, 3e-9L},
        {"22p", true, 22e-12L},   {".", true, 0.0L},      {"1.2.3", false, 0},
        {"abc", false, 0},        {"", false, 0},         {"5#", true, 5.0L},
    };
    for (const Case& c : cases) {
        // A capacitor keeps its value unfloored.
        const LineResult result = ParseLine("C 1 2 " + c.word);
        EXPECT_EQ(result.lineOk, c.ok) << c.word;
        if (c.ok) {
            ExpectClose(result.record.values[0], c.value, c.word);
        }
    }
}

TEST(DatafileReader, TitleLine) {
    struct Case {
        std::string line;
        bool ok;
        std::string title;
        int32_t revision;
        std::string date;
    };
    const Case cases[] = {
        {"Filter Rev. 7 1 Jan 2027", true, "Filter", 7, "1 Jan 2027"},
        {"  Filter  Issue  7  ", true, "Filter", 7, "  "},
        {"My filter Rev. 1 6 Dec 2026", false, "My", 0, "1 6 Dec"},
        {"Filter Rev. 1.5", false, "Filter", 0, "  "},
        {"Filter Rev.", false, "Filter", 0, "  "},
        {std::string(40, 'T') + " Rev. 3", true, std::string(35, 'T'), 3, "  "},
        {"F Rev. 2 12345678 December 2026", true, "F", 2, "12345678 Dec"},
        // TAB separates words only on body lines.
        {"Filter\tRev.\t3", false, "Filter\tRev.\t3", 0, "  "},
    };
    for (const Case& c : cases) {
        CircuitState state;
        const ParseOutcome outcome =
            ParseDatafileText(c.line + "\r\n\r\n1 2 3\r\nR 1 2 1\r\nR 2 3 1\r\n", state, kToday);
        EXPECT_EQ(outcome.ok, c.ok) << c.line;
        EXPECT_EQ(outcome.report.find("Error in Header - top line") == std::string::npos, c.ok)
            << c.line;
        EXPECT_EQ(state.CircuitTitle, c.title) << c.line;
        EXPECT_EQ(state.RevisionNumber, c.revision) << c.line;
        EXPECT_EQ(state.DatafileDate, c.date) << c.line;
    }
}

TEST(DatafileReader, NodeLineTakesTheFirstThreeDigitGroups) {
    struct Case {
        std::string line;
        bool ok;
        int32_t in, out, com;
    };
    const Case cases[] = {
        {"NodeIn = 3        NodeOut = 5        NodeCom = 2", true, 3, 5, 2},
        {"3,4,1,99", true, 3, 4, 1},
        {"In -3 Out -4 Com +1", true, 3, 4, 1},
        {"a1b2c3", true, 1, 2, 3},
        {"\t1\t2\t3", true, 1, 2, 3},
        {"NodeIn = 3  NodeOut = 5", false, 3, 5, 0},
        {"", false, 0, 0, 0},
        {"1 2 99999999999", false, 1, 2, 0},
    };
    for (const Case& c : cases) {
        CircuitState state;
        const ParseOutcome outcome =
            ParseDatafileText("T Rev. 1\r\n\r\n" + c.line + "\r\n", state, kToday);
        EXPECT_EQ(outcome.report.find("Error in Header - lower line") == std::string::npos, c.ok)
            << c.line;
        EXPECT_EQ(state.NodeIn, c.in) << c.line;
        EXPECT_EQ(state.NodeOut, c.out) << c.line;
        EXPECT_EQ(state.NodeCom, c.com) << c.line;
    }
}

TEST(DatafileReader, LineTwoIsSkippedWhateverItHolds) {
    CircuitState state;
    // The node line written as line 2 is skipped; the comment on line 3 has no digits.
    ParseOutcome outcome =
        ParseDatafileText("T Rev. 1\r\n1 2 3\r\n* comment\r\nR 1 2 5\r\n", state, kToday);
    EXPECT_NE(outcome.report.find("Error in Header - lower line"), std::string::npos);

    // A component on line 3 gives its digits as the node roles and is no component.
    outcome = ParseDatafileText("T Rev. 1\r\n1 2 3\r\nR 4 5 6\r\n", state, kToday);
    EXPECT_EQ(state.NodeIn, 4);
    EXPECT_EQ(state.NodeOut, 5);
    EXPECT_EQ(state.NodeCom, 6);
    EXPECT_EQ(outcome.records.size(), 1u);
}

TEST(DatafileReader, DesignatorAndNodeWords) {
    struct Case {
        std::string line;
        bool ok;
        std::array<int16_t, 5> nodes;
    };
    const Case cases[] = {
        {"R1 1 2 100", true, {1, 2, 0, 0, 0}},
        {"R 1 2 100", true, {1, 2, 0, 0, 0}},
        {"R1 2 100", false, {2, 100, 0, 0, 0}},
        {"r 1 2 100", true, {1, 2, 0, 0, 0}},
        {"Rload\t1\t2\t100", true, {1, 2, 0, 0, 0}},
        {"R 1 1 100", false, {1, 1, 0, 0, 0}},
        {"C 3 3 1u", false, {3, 3, 0, 0, 0}},
        {"L 4 4 1m", false, {4, 4, 0, 0, 0}},
        {"R 0 2 100", false, {0, 2, 0, 0, 0}},
        {"R 1 101 100", false, {1, 101, 0, 0, 0}},
        {"R 1 100 100", true, {1, 100, 0, 0, 0}},
        {"R -1 2 100", false, {-1, 2, 0, 0, 0}},
        {"R 1 x 100", false, {1, 0, 0, 0, 0}},
        {"R 1 99999 100", false, {1, 32767, 0, 0, 0}},
        {"R 1 -99999 100", false, {1, -32768, 0, 0, 0}},
        {"R 1 $A 100", true, {1, 10, 0, 0, 0}},
        {"B 1 1 1 100 1m", false, {1, 1, 1, 0, 0}},
        {"B 1 1 2 100 1m", true, {1, 1, 2, 0, 0}},
        {"B 1 2 101 100 1m", false, {1, 2, 101, 0, 0}},
        {"A 5 5 5", false, {5, 5, 5, 0, 0}},
        {"F 1 2 3 1m", true, {1, 2, 3, 0, 0}},
        {"V 2 2 2 1m 10k", false, {2, 2, 2, 0, 0}},
        {"M 1 1 1 1 1m 1m 0.5", false, {1, 1, 1, 1, 0}},
        {"M 1 1 1 2 1m 1m 0.5", true, {1, 1, 1, 2, 0}},
        {"M 1 2 3 0 1m 1m 0.5", false, {1, 2, 3, 0, 0}},
        {"T 1 1 1 1 1 2 1m", false, {1, 1, 1, 1, 1}},
        {"T 1 1 1 1 2 2 1m", false, {1, 1, 1, 1, 2}},
        {"T 1 1 1 2 2 2 1m", true, {1, 1, 1, 2, 2}},
        {"T 1 2 3 4 0 2 1m", false, {1, 2, 3, 4, 0}},
    };
    for (const Case& c : cases) {
        const LineResult result = ParseLine(c.line);
        EXPECT_EQ(result.lineOk, c.ok) << c.line;
        EXPECT_EQ(result.record.nodes, c.nodes) << c.line;
        EXPECT_EQ(result.record.kind, std::toupper(static_cast<unsigned char>(c.line[0])))
            << c.line;
    }
}

TEST(DatafileReader, ValuesDefaultsAndFloors) {
    struct Case {
        std::string line;
        bool ok;
        std::array<long double, 6> values;
    };
    const long double pF = 1e-12L;
    const Case cases[] = {
        {"R 1 2 0", true, {kRmin}},
        {"R 1 2 0.0000001", true, {kRmin}},
        {"R 1 2 1u", true, {kRmin}},
        {"R 1 2 2u", true, {2e-6L}},
        {"C 1 2 0", true, {0}},
        {"C 1 2 0p", true, {0}},
        {"L 1 2 1m", true, {1e-3L, kRmin}},
        {"L 1 2 1m 5", true, {1e-3L, 5}},
        {"L 1 2 1m 0", true, {1e-3L, kRmin}},
        {"L 1 2 1m winding", true, {1e-3L, kRmin}},
        {"L 1 2 1m 1.2.3", false, {1e-3L, kRmin}},
        {"L 1 2 1m -3", true, {1e-3L, kRmin}},
        {"M 1 2 3 4 1m 2m 1.2", false, {1e-3L, 2e-3L, 1.2L, kRmin, kRmin}},
        {"M 1 2 3 4 1m 2m 1", true, {1e-3L, 2e-3L, 1, kRmin, kRmin}},
        {"M 1 2 3 4 1m 2m 0.99 3 0", true, {1e-3L, 2e-3L, 0.99L, 3, kRmin}},
        {"M 1 2 3 4 1m 2m", false, {1e-3L, 2e-3L, 0, kRmin, kRmin}},
        // Llp and Lls default from the Lp and ratio of the same line.
        {"T 1 2 3 4 5 3 10m", true, {10e-3L, 3, 10e-3L / 200, 9 * 10e-3L / 200, kRmin, kRmin}},
        {"T 1 2 3 4 5 2 1 5m 6m 0 7", true, {1, 2, 5e-3L, 6e-3L, kRmin, 7}},
        {"T 1 2 3 4 5 2", false, {0, 2, 0, 0, kRmin, kRmin}},
        {"B 1 2 3 100 1m", true, {100, 1e-3L, 3e8L, pF, pF, pF}},
        {"B 1 2 3 100 1m 1G 2p 3p 4p", true, {100, 1e-3L, 1e9L, 2 * pF, 3 * pF, 4 * pF}},
        {"B 1 2 3 100", false, {100, 0, 3e8L, pF, pF, pF}},
        {"F 1 2 3 5m", true, {5e-3L, pF, pF, pF}},
        {"F 1 2 3 5m 1p 2p 1.2.3", false, {5e-3L, pF, 2 * pF, pF}},
        {"V 1 2 3 2m 10k", true, {2e-3L, 1e4L, pF, pF, pF}},
        {"V 1 2 3 2m", false, {2e-3L, 0, pF, pF, pF}},
        {"A 1 2 3", true, {1e4L, 1e7L, 1e7L}},
        {"A 1 2 3 20 1M 1k", true, {10, 1e6L, 1e3L}},
        {"A 1 2 3 0", true, {1, 1e7L, 1e7L}},
        // No extended real holds the gain factor of 100,000 dB.
        {"A 1 2 3 100000", false, {0, 1e7L, 1e7L}},
        {"X 1 2 3 4", false, {}},
    };
    for (const Case& c : cases) {
        const LineResult result = ParseLine(c.line);
        EXPECT_EQ(result.lineOk, c.ok) << c.line;
        for (std::size_t i = 0; i < 6; ++i) {
            ExpectClose(result.record.values[i], c.values[i],
                        c.line + " value " + std::to_string(i + 1));
        }
    }
}

TEST(DatafileReader, LongLinesAreReadAsTheirFirst80Characters) {
    // "123456" starts in column 77, so only "1234" lies within the line.
    const std::string line = "C 1 2" + std::string(71, ' ') + "123456" + std::string(18, ' ');
    ASSERT_EQ(line.size(), 100u);
    const LineResult result = ParseLine(line);
    EXPECT_TRUE(result.lineOk);
    EXPECT_EQ(result.record.values[0], 1234.0L);

    // A 10 MB line costs no more than its first 80 characters, and the next line still counts.
    const ParseOutcome outcome =
        Parse(Datafile({"C 1 2 7" + std::string(10 * 1024 * 1024, 'x'), "R 2 3 9"}));
    EXPECT_TRUE(outcome.ok) << outcome.report;
    ASSERT_EQ(outcome.records.size(), 3u);
    EXPECT_EQ(outcome.records[1].values[0], 7.0L);
    EXPECT_EQ(outcome.records[2].values[0], 9.0L);
}

TEST(DatafileReader, CommentsBlankLinesAndEndMarker) {
    struct Case {
        std::vector<std::string> body;
        std::size_t records; // including the header
        std::string report;
    };
    const Case cases[] = {
        {{"# end", "R 1 2 5", "garbage"},
         1,
         "\r\n  Error : Less than 3 Nodes\r\n  Error in In/Out/Com Nodes"},
        {{"R 1 2 5", "  # end", "X 1 2", "C 2 3 1u"},
         2,
         "\r\n  Error : Less than 3 Nodes\r\n  Error in In/Out/Com Nodes"},
        {{"R 1 2 5 # not the end", "C 2 3 1u#"}, 3, ""},
        {{"* R 1 1 1", "", "   \t ", "R 1 2 5", "C 2 3 1u"}, 3, ""},
        // Blank and comment lines count: the bad line is the fourth after the node line.
        {{"", "* comment", "R 1 2 5", "X 2 3", "C 2 3 1u"}, 4, "\r\n  Error in Line 3"},
        {{"\t\x01\x1f R 1 2 5", "C 2 3 1u"}, 3, ""},
    };
    for (const Case& c : cases) {
        std::string text = Datafile({});
        for (const std::string& line : c.body) {
            text += line + "\r\n";
        }
        const ParseOutcome outcome = Parse(text);
        EXPECT_EQ(outcome.records.size(), c.records) << c.body[0];
        EXPECT_EQ(outcome.report, c.report) << c.body[0];
    }
}

TEST(DatafileReader, IllegalKindIsWrittenAndReported) {
    const ParseOutcome outcome = Parse(Datafile({"R 1 2 5", "* note", "x9 2 3 4", "C 2 3 1u"}));
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.report, "\r\n  Error in Line 2");
    ASSERT_EQ(outcome.records.size(), 4u);
    EXPECT_EQ(outcome.records[2].kind, 'X');
    EXPECT_EQ(outcome.records[2].nodes, (std::array<int16_t, 5>{2, 3, 0, 0, 0}));
}

TEST(DatafileReader, EmptyFileAndSkeletonFailOnTheNodeChecks) {
    const std::string expectedReport =
        "\r\n  Error : Less than 3 Nodes\r\n  Error in In/Out/Com Nodes";
    CircuitState state;
    state.CircuitTitle = "Previous";
    state.RevisionNumber = 9;
    state.NodeIn = 1;
    state.NodeOut = 2;
    state.NodeCom = 3;
    state.NoNodes = 4;
    ParseOutcome outcome = ParseDatafileText("", state, kToday);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.report, expectedReport);
    ASSERT_EQ(outcome.records.size(), 1u);
    EXPECT_EQ(outcome.records[0].kind, 'H');
    EXPECT_EQ(outcome.records[0].nodes, (std::array<int16_t, 5>{0, 1, 2, 3, 0}));
    // Lines that are not there leave the state alone; NoNodes is always recounted.
    EXPECT_EQ(state.CircuitTitle, "Previous");
    EXPECT_EQ(state.RevisionNumber, 9);
    EXPECT_EQ(state.NoNodes, 0);

    outcome = ParseDatafileText(NewDatafileSkeleton(kToday), state, kToday);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.report, expectedReport);
    EXPECT_EQ(outcome.records.size(), 1u);
    EXPECT_EQ(state.CircuitTitle, "NEW_FILE_-_type_in_description_here");
    EXPECT_EQ(state.RevisionNumber, 0);
    EXPECT_EQ(state.NodeIn, 0);
}

TEST(DatafileReader, NodeRoleChecks) {
    struct Case {
        std::string nodeLine;
        std::vector<std::string> body;
        std::string report;
    };
    const std::string fewNodes = "\r\n  Error : Less than 3 Nodes";
    const std::string roles = "\r\n  Error in In/Out/Com Nodes";
    const Case cases[] = {
        {"1 2 3", {"R 1 2 5", "R 2 3 5"}, ""},
        {"1 2 1", {"R 1 2 5"}, fewNodes + roles},
        {"1 1 3", {"R 1 2 5", "R 2 3 5"}, roles},
        {"1 2 2", {"R 1 2 5", "R 2 3 5"}, roles},
        {"3 2 3", {"R 1 2 5", "R 2 3 5"}, roles},
        {"1 2 4", {"R 1 2 5", "R 2 3 5"}, roles},
        {"0 2 3", {"R 1 2 5", "R 2 3 5"}, roles},
        {"1 2 3", {"R 1 2 5", "R 2 3 5", "R 1 100 5"}, ""},
    };
    for (const Case& c : cases) {
        std::string text = Datafile({}, c.nodeLine);
        for (const std::string& line : c.body) {
            text += line + "\r\n";
        }
        const ParseOutcome outcome = Parse(text);
        EXPECT_EQ(outcome.report, c.report) << c.nodeLine;
        EXPECT_EQ(outcome.ok, c.report.empty()) << c.nodeLine;
    }
}

TEST(DatafileReader, OutOfRangeNodeBecomesNoNodesAndFails) {
    CircuitState state;
    const ParseOutcome outcome =
        ParseDatafileText(Datafile({"R 1 2 5", "R 2 99999 5"}), state, kToday);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.report, "\r\n  Error in Line 1");
    EXPECT_EQ(state.NoNodes, 32767);
    EXPECT_EQ(outcome.records[0].nodes[0], 32767);
}

TEST(DatafileReader, AllFailuresGoIntoOneReport) {
    const std::string text = "Bad title Rev. 1\r\n\r\n1 2 3\r\n"
                             "R 1 2 x\r\n"
                             "R 2 3 5\r\n"
                             "Q 1 2 3\r\n";
    const ParseOutcome outcome = Parse(text);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.report,
              "\r\n  Error in Header - top line\r\n  Error in Line 0\r\n  Error in Line 2");
    EXPECT_EQ(outcome.records.size(), 4u);
}

TEST(DatafileReader, ReportIsCutAt255Characters) {
    std::string text = Datafile({});
    std::string fullReport;
    for (int line = 0; line < 40; ++line) {
        text += "R 1 1 5\r\n";
        fullReport += "\r\n  Error in Line " + std::to_string(line);
    }
    const ParseOutcome outcome = Parse(text);
    ASSERT_GT(fullReport.size(), kReportCapacity);
    EXPECT_EQ(outcome.report, fullReport.substr(0, kReportCapacity));
    EXPECT_EQ(outcome.records.size(), 41u);
}

TEST(DatafileReader, AnyLineEndReadsAlike) {
    const std::string crlf = SampleDatafileText(kToday);
    std::string lfOnly;
    std::string crOnly;
    for (std::size_t i = 0; i < crlf.size(); ++i) {
        if (crlf.compare(i, 2, "\r\n") == 0) {
            lfOnly += '\n';
            crOnly += '\r';
            ++i;
        } else {
            lfOnly += crlf[i];
            crOnly += crlf[i];
        }
    }
    std::string noFinalEnd = crlf.substr(0, crlf.size() - 2);
    const ParseOutcome reference = Parse(crlf);
    for (const std::string& text : {lfOnly, crOnly, noFinalEnd}) {
        CircuitState state;
        const ParseOutcome outcome = ParseDatafileText(text, state, kToday);
        EXPECT_TRUE(outcome.ok) << outcome.report;
        EXPECT_EQ(state.NoNodes, 5);
        EXPECT_EQ(state.NodeIn, 3);
        ASSERT_EQ(outcome.records.size(), reference.records.size());
        for (std::size_t i = 0; i < reference.records.size(); ++i) {
            EXPECT_EQ(EncodeRecord(outcome.records[i]), EncodeRecord(reference.records[i]));
        }
    }
    // Mixed ends in one file: LF, CR LF, CR, CR LF, LF.
    CircuitState state;
    const ParseOutcome mixed =
        ParseDatafileText("T Rev. 1\n\r\n1 2 3\rR 1 2 5\r\nC 2 3 1u\n", state, kToday);
    EXPECT_TRUE(mixed.ok) << mixed.report;
    EXPECT_EQ(mixed.records.size(), 3u);
    // A CR after an LF ends a line of its own: here lines 2 and 3 are both empty.
    ParseDatafileText("T Rev. 1\n\r\r1 2 3\n", state, kToday);
    EXPECT_EQ(state.NodeIn, 0);
}

TEST(DatafileReader, NulBytesAreOrdinaryCharacters) {
    std::string text = Datafile({});
    text += std::string("\0R 1 2 5\r\n", 10);      // leading control characters are dropped
    text += std::string("C 2 3 1u\0junk\r\n", 15); // the value word is read up to the NUL
    text += std::string("\0\0\0\r\n", 5);
    const ParseOutcome outcome = Parse(text);
    EXPECT_TRUE(outcome.ok) << outcome.report;
    ASSERT_EQ(outcome.records.size(), 3u);
    EXPECT_EQ(outcome.records[1].kind, 'R');
    ExpectClose(outcome.records[2].values[0], 1e-6L, "C");
}

TEST(DatafileReader, RandomBytesNeverBreakTheParse) {
    std::mt19937 random(20261206);
    // Weighted towards the characters the parser cares about.
    const std::string alphabet = std::string("RCLMTBFVAXrc#*0123456789.kmuMG-+$ \t\r\n\r\n") +
                                 std::string("\0\x01\x7f\x80\xe9\xff", 6);
    for (int round = 0; round < 300; ++round) {
        const std::size_t length = random() % 3000;
        std::string text;
        for (std::size_t i = 0; i < length; ++i) {
            text += random() % 4 == 0 ? static_cast<char>(random() % 256)
                                      : alphabet[random() % alphabet.size()];
        }
        CircuitState state;
        const ParseOutcome outcome = ParseDatafileText(text, state, kToday);
        EXPECT_LE(outcome.report.size(), kReportCapacity);
        EXPECT_EQ(outcome.ok, outcome.report.empty());
        ASSERT_FALSE(outcome.records.empty());
        EXPECT_EQ(outcome.records[0].kind, 'H');
        for (std::size_t i = 1; i < outcome.records.size(); ++i) {
            for (long double value : outcome.records[i].values) {
                EXPECT_TRUE(std::isfinite(value));
            }
        }
    }
}

TEST(DatafileReader, ParseDatafileWritesTheRecordFile) {
    TempFolder folder;
    folder.Write("GOOD.DAT", SampleDatafileText(kToday));
    CircuitState state;
    RecordingMessages messages;
    const ParseOutcome outcome =
        ParseDatafile(folder.path(), "GOOD.DAT", ParseMode::ShowReport, state, messages, kToday);
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(messages.entries.empty());
    const RecordList written = ReadRecordFile(folder / kRecordFileName);
    ASSERT_EQ(written.size(), 6u);
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(EncodeRecord(written[i]), EncodeRecord(outcome.records[i]));
    }
}

TEST(DatafileReader, ReportReachesTheUserOnlyWhenAsked) {
    TempFolder folder;
    folder.Write("BAD.DAT", Datafile({"R 1 2 5", "#", "more"}));
    for (ParseMode mode : {ParseMode::ShowReport, ParseMode::Silent}) {
        CircuitState state;
        RecordingMessages messages;
        const ParseOutcome outcome =
            ParseDatafile(folder.path(), "BAD.DAT", mode, state, messages, kToday);
        EXPECT_FALSE(outcome.ok);
        // "#" ends the circuit: only the header and the one resistor are written.
        EXPECT_EQ(folder.Read(kRecordFileName).size(), 2 * kRecordSize);
        if (mode == ParseMode::ShowReport) {
            ASSERT_EQ(messages.entries.size(), 1u);
            EXPECT_EQ(messages.entries[0].kind, RecordingMessages::Entry::Warning);
            EXPECT_EQ(messages.entries[0].text, outcome.report);
        } else {
            EXPECT_TRUE(messages.entries.empty());
        }
    }
}

TEST(DatafileReader, MissingDatafileIsAFileError) {
    TempFolder folder;
    CircuitState state;
    RecordingMessages messages;
    EXPECT_THROW(
        ParseDatafile(folder.path(), "NONE.DAT", ParseMode::ShowReport, state, messages, kToday),
        KelvorError);
    EXPECT_TRUE(messages.entries.empty());
}

} // namespace
} // namespace kelvor
