// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "solver/response.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kelvor {
namespace {

// The sample high-pass filter at 1000 Hz and 100 Hz, as published to four significant digits,
// through the whole road: Datafile, parse, record file on disk, solve.
TEST(SampleDatafile, ResponseThroughTheRecordFile) {
    testing::TempFolder folder;
    folder.Write("HPFILTER.DAT", SampleDatafileText("7 Dec 2026"));
    testing::RecordingMessages messages;
    CircuitState state;
    const ParseOutcome outcome = ParseDatafile(folder.path(), "HPFILTER.DAT", ParseMode::Silent,
                                               state, messages, "7 Dec 2026");
    ASSERT_TRUE(outcome.ok);
    const LoadedCircuit circuit = LoadCircuit(folder.path(), state);

    struct Case {
        long double frequency;
        double gain, phase, zin, zout;
    };
    const Case cases[] = {{1000, -0.6045, 42.03, 9.000, 5.337},
                          {100, -37.47, -112.9, 30.19, 7.719}};
    ResponseSolver solver;
    for (const Case& c : cases) {
        ResponsePoint point;
        solver.ComputeResponse(circuit, c.frequency, ResponseForm::Display, point, messages);
        const double tolerance = 5e-4; // half a unit in the fourth significant digit
        EXPECT_NEAR(static_cast<double>(point.Gain), c.gain, std::fabs(c.gain) * tolerance);
        EXPECT_NEAR(static_cast<double>(point.Phase), c.phase, std::fabs(c.phase) * tolerance);
        EXPECT_NEAR(static_cast<double>(point.Zin), c.zin, c.zin * tolerance);
        EXPECT_NEAR(static_cast<double>(point.Zout), c.zout, c.zout * tolerance);
    }
    EXPECT_TRUE(messages.entries.empty());
}

} // namespace
} // namespace kelvor
