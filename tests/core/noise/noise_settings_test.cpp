// SPDX-License-Identifier: GPL-3.0-or-later
// The .noi file beside a Datafile: what is written reads back the same, damaged lines are named
// and keep their defaults, a missing file gives the defaults.

#include "noise/noise_settings.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

TEST(NoiseSettings, FileReadsBackAndNamesDamagedLines) {
    NoiseSettings settings;
    settings.temperatureCelsius = -40.5L;
    settings.opAmps[12] = {3.3e-9L, 0.4e-12L};
    settings.opAmps[7] = {1e-9L, 0};
    testing::TempFolder folder;
    const std::filesystem::path path = NoiseFilePath(folder / "AMP.DAT");
    EXPECT_EQ(path.filename(), "AMP.noi");
    WriteNoiseFile(path, settings, "AMP.DAT");
    const NoiseFileReading reading = ReadNoiseFile(path);
    EXPECT_EQ(reading.problem, "");
    EXPECT_EQ(reading.settings.temperatureCelsius, settings.temperatureCelsius);
    ASSERT_EQ(reading.settings.opAmps.size(), 2u);
    EXPECT_EQ(reading.settings.opAmps.at(12).voltage, 3.3e-9L);
    EXPECT_EQ(reading.settings.opAmps.at(12).current, 0.4e-12L);
    EXPECT_EQ(reading.settings.OpAmpAt(99).voltage, OpAmpNoise{}.voltage);

    const NoiseFileReading damaged = ParseNoiseFileText(
        "[Noise]\nTemperature = -300\n[OpAmps]\n5 = 4n, 1p\nx = 1n, 1p\n6 = 1n\n9 = -1n, 1p\n",
        "AMP.noi");
    EXPECT_EQ(damaged.problem, "AMP.noi: could not read lines 2, 5, 6, 7; their settings keep "
                               "the defaults.");
    EXPECT_EQ(damaged.settings.temperatureCelsius, kDefaultNoiseTemperature);
    EXPECT_EQ(damaged.settings.opAmps.size(), 1u);

    const NoiseFileReading missing = ReadNoiseFile(folder / "NONE.noi");
    EXPECT_EQ(missing.problem, "");
    EXPECT_TRUE(missing.settings.opAmps.empty());
}

} // namespace
} // namespace kelvor
