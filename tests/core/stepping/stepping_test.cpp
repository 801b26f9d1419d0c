// SPDX-License-Identifier: GPL-3.0-or-later
#include "stepping/step_list.h"
#include "stepping/stepped_circuits.h"

#include "bode/bode_curve.h"
#include "bode/bode_grid.h"
#include "circuit/circuit_state.h"
#include "circuit/datafile_reader.h"
#include "kelvor_error.h"
#include "support/recording_messages.h"
#include "text/eng_value.h"
#include "text/short_eng_text.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kelvor {
namespace {

// An RLC circuit with its components on known lines: line 5 the R (a comment after its value),
// line 6 the C, line 7 the L with its series resistance as a second value.
std::string Datafile(const std::string& r, const std::string& c, const std::string& l) {
    return "   LC_Test   Rev. 1   7 Dec 2026\r\n\r\n"
           "   NodeIn = 1   NodeOut = 2   NodeCom = 3\r\n\r\n"
           "   R  1 2   " +
           r + "   source 2nd\r\n   C  2 3   " + c + "\r\n   L  2 3   " + l + "\r\n";
}

TEST(StepList, FormsAndTheirValues) {
    struct Case {
        const char* text;
        std::vector<long double> values;
    } cases[] = {
        {"1k,2.2k,4.7k", {1000, 2200, 4700}},
        {" 10 ", {10}},
        {"1k..10k/4", {1000, 4000, 7000, 10000}},
        {"1..100/log3", {1, 10, 100}},
        {"1k..2.2k/E12", {1000, 1200, 1500, 1800, 2200}},
        {"0.9..1.25/E24", {0.91L, 1, 1.1L, 1.2L}},
    };
    for (const Case& c : cases) {
        const std::vector<long double> values = ParseStepList(c.text);
        ASSERT_EQ(values.size(), c.values.size()) << c.text;
        for (std::size_t index = 0; index < values.size(); ++index) {
            // Spacing and series values are exact to a few units in the last place.
            EXPECT_NEAR(values[index], c.values[index], 1e-15L * c.values[index]) << c.text;
        }
    }
    // One decade of E24 with both ends is the most; log spacing keeps equal ratios.
    EXPECT_EQ(ParseStepList("100..1k/E24").size(), std::size_t{25});
    const std::vector<long double> log = ParseStepList("1k..10k/log5");
    EXPECT_NEAR(log[1] / log[0], std::pow(10.0L, 0.25L), 1e-15L);
}

TEST(StepList, RefusalsSayWhy) {
    const char* cases[] = {"",
                           "1k,,2k",
                           "1k..10k",
                           "10k..1k/5",
                           "1k..10k/1",
                           "1k..10k/E6",
                           "1k..10k/26",
                           "0,1k",
                           "-1k",
                           "1k..10k/logx",
                           "1..1M/E24",
                           "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,"
                           "22,23,24,25,26"};
    for (const char* text : cases) {
        EXPECT_THROW(ParseStepList(text), KelvorError) << text;
    }
}

TEST(StepRequest, LineValueNumberAndList) {
    const StepRequest plain = ParseStepRequest("5=1k,2k");
    EXPECT_EQ(plain.target.line, 5);
    EXPECT_EQ(plain.target.value, 1);
    EXPECT_EQ(plain.values.size(), std::size_t{2});
    const StepRequest second = ParseStepRequest("7.2=1..3/3");
    EXPECT_EQ(second.target.line, 7);
    EXPECT_EQ(second.target.value, 2);
    for (const char* bad : {"5", "x=1k", "5.0=1k", "=1k", "5.=1k", "5=abc"}) {
        EXPECT_THROW(ParseStepRequest(bad), KelvorError) << bad;
    }
}

TEST(ShortEngText, ReadsBackWithinSixDigits) {
    for (long double value :
         {1e-13L, 4.7e-9L, 1.77827941e3L, 999.9999L, 1.0L, 0.5L, 2.2e6L, 3.3e12L}) {
        bool ok = true;
        const std::string text = ShortEngText(value);
        const long double read = ParseEngValue(text, ok);
        EXPECT_TRUE(ok) << text;
        EXPECT_NEAR(read, value, 5e-6L * value) << text;
    }
}

// Each stepped circuit solves exactly as the Datafile written by hand with that value.
TEST(SteppedCircuits, EqualSeparatelyWrittenDatafiles) {
    const std::string today = "7 Dec 2026";
    const std::string base = Datafile("1k", "10nF", "1mH 5");
    const std::vector<long double> grid = LogFrequencyGrid({1e3L, 1e6L}, 20);
    struct Case {
        StepTarget target;
        long double value;
        std::string name;
        std::string byHand;
    } cases[] = {
        {{5, 1}, 2200, "R 1 2 = 2.2k", Datafile("2.2k", "10nF", "1mH 5")},
        {{6, 1}, 4.7e-9L, "C 2 3 = 4.7n", Datafile("1k", "4.7n", "1mH 5")},
        {{7, 2}, 50, "L 2 3 #2 = 50", Datafile("1k", "10nF", "1mH 50")},
    };
    testing::RecordingMessages messages;
    for (const Case& c : cases) {
        const std::vector<SteppedCircuit> stepped =
            SteppedCircuits(base, c.target, {c.value}, today);
        ASSERT_EQ(stepped.size(), std::size_t{1});
        EXPECT_EQ(stepped[0].name, c.name);
        CircuitState state;
        ParseOutcome outcome = ParseDatafileText(c.byHand, state, today);
        ASSERT_TRUE(outcome.ok) << c.name;
        const LoadedCircuit byHand = MakeLoadedCircuit(std::move(outcome.records), state);
        ResponseSolver solver;
        const BodeCurve mine = ComputeBodeCurve(stepped[0].circuit, grid, solver, messages).curve;
        const BodeCurve theirs = ComputeBodeCurve(byHand, grid, solver, messages).curve;
        EXPECT_EQ(mine.gain, theirs.gain) << c.name;
        EXPECT_EQ(mine.phase, theirs.phase) << c.name;
        EXPECT_EQ(mine.zin, theirs.zin) << c.name;
    }
    // A line without a component, a value not written, a value the reader refuses.
    EXPECT_THROW(SteppedCircuits(base, {3, 1}, {1}, today), KelvorError);
    EXPECT_THROW(SteppedCircuits(base, {5, 2}, {1}, today), KelvorError);
    EXPECT_THROW(SteppedCircuits(base, {9, 1}, {1}, today), KelvorError);
}

TEST(SteppableLines, ComponentAndWrittenValues) {
    const std::vector<SteppableLine> lines = SteppableLines(Datafile("1k", "10nF", "1mH 5"), "");
    ASSERT_EQ(lines.size(), std::size_t{3});
    EXPECT_EQ(lines[0].values, std::vector<std::string>{"1k"}); // no comment word
    EXPECT_EQ(lines[2].line, 7);
    EXPECT_EQ(lines[2].component, "L 2 3");
    EXPECT_EQ(lines[2].values, (std::vector<std::string>{"1mH", "5"}));
}

} // namespace
} // namespace kelvor
