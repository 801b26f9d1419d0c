// SPDX-License-Identifier: GPL-3.0-or-later
#include "examples/example_catalogue.h"

#include "circuit/datafile_reader.h"
#include "files/file_io.h"
#include "kelvor_error.h"
#include "solver/response.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>

namespace kelvor {
namespace {

const std::filesystem::path kExamples = KELVOR_EXAMPLES_DIR;

struct Solved {
    LoadedCircuit circuit;
    ResponseSolver solver;
    testing::RecordingMessages messages;

    ResponsePoint At(long double frequency) {
        ResponsePoint point;
        solver.ComputeResponse(circuit, frequency, ResponseForm::Display, point, messages);
        return point;
    }
};

// What each example is built to do, from circuit theory rather than from this program: the gain
// at one frequency (dB, with a tolerance that covers the parts the hand formula leaves out), or,
// for the tuned circuits, where the peak of the response lies.
struct Expectation {
    long double frequency;
    double gain;
    double tolerance;
    const char* reason;
};

const std::map<std::string, Expectation> kExpected = {
    {"RCLOWPAS.DAT", {1000.03L, -3.0103, 0.001, "first order at its corner"}},
    {"SKLOWPAS.DAT", {1000.3L, -3.0103, 0.01, "Butterworth, Q = 0.707, at f0"}},
    {"TWINTNOT.DAT", {1, 0, 0.05, "a twin-T passes low frequencies"}},
    {"SERIESLC.DAT", {1591.55L, -46.07, 0.02, "5 ohm coil against 1k at resonance"}},
    {"CROSSOVR.DAT", {100, -0.3197, 0.02, "woofer branch: 8 ohm behind its 0.3 ohm coil"}},
    {"CEAMP.DAT", {1000, 44.6, 1.0, "gm * 4.7k, less the decoupled emitter"}},
    {"FETBUFF.DAT", {1000, -0.7558, 0.005, "follower gm R / (1 + gm R) = 11/12"}},
    {"VALVEAMP.DAT", {1000, 35.78, 0.3, "Gm * (Ra parallel 100k)"}},
    {"INVAMP.DAT", {1000, 20.0, 0.02, "-R2/R1 = -10"}},
    {"OUTTRANS.DAT", {1000, -15.83, 0.005, "the published transformer case"}},
};
// The IF circuits peak at 455 kHz.
const std::map<std::string, long double> kPeaks = {{"TUNEDIF.DAT", 455e3L},
                                                   {"IFTRANS.DAT", 455e3L}};

TEST(Examples, EveryExampleParsesAndRespondsAsDesigned) {
    const std::vector<ExampleEntry> examples = ReadExampleCatalogue(kExamples);
    ASSERT_EQ(examples.size(), kExpected.size() + kPeaks.size());
    for (const ExampleEntry& example : examples) {
        SCOPED_TRACE(example.fileName);
        EXPECT_FALSE(example.title.empty());
        EXPECT_FALSE(example.description.empty());
        CircuitState state;
        ParseOutcome outcome =
            ParseDatafileText(ReadWholeFile(kExamples / example.fileName), state, "7 Dec 2026");
        ASSERT_TRUE(outcome.ok) << outcome.report;
        Solved solved{MakeLoadedCircuit(std::move(outcome.records), state), {}, {}};

        if (const auto expected = kExpected.find(example.fileName); expected != kExpected.end()) {
            const Expectation& e = expected->second;
            EXPECT_NEAR(static_cast<double>(solved.At(e.frequency).Gain), e.gain, e.tolerance)
                << e.reason;
        } else {
            // Sweep the view range in 1 % steps: the largest gain stands within 3 % of the
            // tuned frequency, and the ends of the range lie 20 dB below it.
            long double peakFrequency = 0, peakGain = -1e9L;
            for (long double f = example.viewFrom; f <= example.viewTo; f *= 1.01L) {
                const long double gain = solved.At(f).Gain;
                if (gain > peakGain) {
                    peakGain = gain;
                    peakFrequency = f;
                }
            }
            const long double tuned = kPeaks.at(example.fileName);
            EXPECT_NEAR(static_cast<double>(peakFrequency / tuned), 1.0, 0.03);
            EXPECT_LT(solved.At(example.viewFrom).Gain, peakGain - 20);
            EXPECT_LT(solved.At(example.viewTo).Gain, peakGain - 20);
        }
        EXPECT_TRUE(solved.messages.entries.empty());
    }
}

TEST(Examples, IndexFaultsAreNamedAndCopiesAreWhole) {
    testing::TempFolder folder;
    folder.Write("A.DAT", "  First_Title  Rev. 1  7 Dec 2026\r\n");
    const std::pair<const char*, const char*> cases[] = {
        {"A.DAT|10|1k|fine\n", nullptr},
        {"# comment\n\nA.DAT|10|1k|fine\nA.DAT|1k|10|backwards\n", "line 4"},
        {"A.DAT|10|1k\n", "line 1"},
        {"../A.DAT|10|1k|outside\n", "line 1"},
        {"B.DAT|10|1k|missing file\n", "B.DAT"},
    };
    for (const auto& [index, fault] : cases) {
        SCOPED_TRACE(index);
        folder.Write(kExampleIndexName, index);
        if (fault == nullptr) {
            const std::vector<ExampleEntry> examples = ReadExampleCatalogue(folder.path());
            ASSERT_EQ(examples.size(), 1u);
            EXPECT_EQ(examples[0].title, "First_Title");
            EXPECT_EQ(examples[0].viewTo, 1000);
            continue;
        }
        try {
            ReadExampleCatalogue(folder.path());
            ADD_FAILURE() << "accepted";
        } catch (const KelvorError& error) {
            EXPECT_NE(std::string(error.what()).find(fault), std::string::npos) << error.what();
        }
    }

    testing::TempFolder target;
    const std::vector<ExampleEntry> shipped = ReadExampleCatalogue(kExamples);
    CopyExample(kExamples, shipped.front(), target.path());
    EXPECT_EQ(target.Read(shipped.front().fileName),
              ReadWholeFile(kExamples / shipped.front().fileName));
}

} // namespace
} // namespace kelvor
