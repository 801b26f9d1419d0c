// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/loaded_datafile.h"

#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "kelvor_error.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvor {
namespace {

constexpr const char* kToday = "7 Dec 2026";

ResponsePoint At(const LoadedCircuit& circuit, long double frequency) {
    ResponseSolver solver;
    testing::RecordingMessages messages;
    ResponsePoint point;
    solver.ComputeResponse(circuit, frequency, ResponseForm::Display, point, messages);
    return point;
}

// Bit for bit: both sides solve the same records in the same order.
void ExpectSamePoints(const LoadedCircuit& a, const LoadedCircuit& b) {
    for (const long double frequency : {10.0L, 1e3L, 123456.0L}) {
        const ResponsePoint x = At(a, frequency);
        const ResponsePoint y = At(b, frequency);
        EXPECT_EQ(x.Gain, y.Gain) << static_cast<double>(frequency);
        EXPECT_EQ(x.Phase, y.Phase) << static_cast<double>(frequency);
        EXPECT_EQ(x.Zin, y.Zin) << static_cast<double>(frequency);
        EXPECT_EQ(x.Zout, y.Zout) << static_cast<double>(frequency);
    }
}

// Every refusal of the Datafile reader holds on this road: a file that is not a Datafile's
// 8-bit text ends the load with the reason, never with a report of errors in its lines.
TEST(LoadDatafile, RefusesWhatTheReaderRefuses) {
    testing::TempFolder folder;
    folder.Write("LE.DAT", std::string("\xFF\xFEM\0y\0", 6));
    folder.Write("BE.DAT", std::string("\xFE\xFF\0M\0y", 6));
    ASSERT_EQ(::mkfifo((folder / "PIPE.DAT").c_str(), 0644), 0);
    std::filesystem::create_directory(folder / "FOLDER.DAT");
    folder.Write("HUGE.DAT", "");
    ASSERT_EQ(::truncate((folder / "HUGE.DAT").c_str(), (16 << 20) + 1), 0);
    const struct {
        const char* name;
        const char* says;
    } cases[] = {
        {"LE.DAT", "saved as UTF-16"},      {"BE.DAT", "saved as UTF-16"},
        {"PIPE.DAT", "not a regular file"}, {"FOLDER.DAT", "it is a folder"},
        {"HUGE.DAT", "larger than 16 MB"},  {"MISSING.DAT", "No such file"},
    };
    for (const auto& c : cases) {
        try {
            LoadDatafile(folder / c.name, kToday);
            ADD_FAILURE() << c.name << " loaded";
        } catch (const KelvorError& error) {
            EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos)
                << c.name << ": " << error.what();
        }
    }
}

// A Datafile loaded on its own solves as the working folder's road computes it (parse, the
// record file written and read back), and one with errors loads with the parser's report.
TEST(LoadDatafile, SolvesAsTheRecordFileRoad) {
    testing::TempFolder folder;
    const std::string sample = SampleDatafileText(kToday);
    folder.Write("HPFILTER.DAT", sample);
    const LoadedDatafile loaded = LoadDatafile(folder / "HPFILTER.DAT", kToday);
    ASSERT_TRUE(loaded.ok) << loaded.report;
    EXPECT_EQ(loaded.bytes, sample);
    ASSERT_NE(loaded.circuit.plan, nullptr);

    CircuitState state;
    testing::RecordingMessages messages;
    const ParseOutcome parsed =
        ParseDatafile(folder.path(), "HPFILTER.DAT", ParseMode::Silent, state, messages, kToday);
    EXPECT_EQ(loaded.componentLines, parsed.componentLines);
    EXPECT_EQ(loaded.sourceLines, parsed.sourceLines);
    EXPECT_EQ(loaded.state.CircuitTitle, state.CircuitTitle);
    ExpectSamePoints(loaded.circuit, LoadCircuit(folder.path(), state));

    const std::string broken = "Broken Rev. 1\r\n\r\nNodeIn = 1 NodeOut = 2 NodeCom = 3\r\n"
                               "R 1 2 1k\r\nQ 2 3 1\r\n";
    CircuitState brokenState;
    const ParseOutcome brokenParse = ParseDatafileText(broken, brokenState, kToday);
    ASSERT_FALSE(brokenParse.ok);
    const LoadedDatafile brokenLoad = LoadDatafileText(broken, kToday);
    EXPECT_FALSE(brokenLoad.ok);
    EXPECT_EQ(brokenLoad.report, brokenParse.report);
}

// A varied circuit solves as the Datafile with the varied values written in, and the circuit
// it was made from keeps its own values and plan.
TEST(LoadedCircuit, WithValuesSolvesAsTheEditedDatafile) {
    const auto datafile = [](const char* resistor, const char* capacitor) {
        return std::string("RC Rev. 1\r\n\r\nNodeIn = 1 NodeOut = 2 NodeCom = 3\r\nR 1 2 ") +
               resistor + "\r\nC 2 3 " + capacitor + "\r\nR 2 3 1000000\r\n";
    };
    const LoadedDatafile nominal = LoadDatafileText(datafile("1000", "1e-7"), kToday);
    const LoadedDatafile edited = LoadDatafileText(datafile("2200", "1e-7"), kToday);
    const LoadedDatafile editedTwice = LoadDatafileText(datafile("2200", "4.7e-9"), kToday);
    ASSERT_TRUE(nominal.ok && edited.ok && editedTwice.ok);
    const LoadedCircuit varied = nominal.circuit.WithValues({{1, 0, 2200}});
    ExpectSamePoints(varied, edited.circuit);
    ExpectSamePoints(nominal.circuit.WithValues(
                         {{1, 0, 2200}, {2, 0, editedTwice.circuit.records[2].values[0]}}),
                     editedTwice.circuit);
    ExpectSamePoints(nominal.circuit, LoadDatafileText(datafile("1000", "1e-7"), kToday).circuit);
    EXPECT_NE(varied.plan, nominal.circuit.plan);
    EXPECT_NE(At(varied, 1e3L).Gain, At(nominal.circuit, 1e3L).Gain);

    // A resistance varied to zero faults in its admittance: no plan, so every point reports it.
    // Varied back, the circuit has a plan again.
    const LoadedCircuit shorted = nominal.circuit.WithValues({{1, 0, 0}});
    EXPECT_EQ(shorted.plan, nullptr);
    const LoadedCircuit restored = shorted.WithValues({{1, 0, 2200}});
    EXPECT_NE(restored.plan, nullptr);
    ExpectSamePoints(restored, edited.circuit);
}

} // namespace
} // namespace kelvor
