// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/bode_csv.h"

#include "files/file_io.h"
#include "support/temp_folder.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>

namespace kelvor {
namespace {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
    return lines;
}

std::vector<std::string> SplitCells(const std::string& line) {
    std::vector<std::string> cells;
    std::string cell;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                cell += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (line[i] == ',' && !quoted) {
            cells.push_back(cell);
            cell.clear();
        } else {
            cell += line[i];
        }
    }
    cells.push_back(cell);
    return cells;
}

BodeCurve Curve(std::vector<long double> frequency) {
    BodeCurve curve;
    for (long double f : frequency) {
        curve.frequency.push_back(f);
        curve.gain.push_back(-20 * std::log10(f) / 3); // not short in decimal
        curve.phase.push_back(-180);
        curve.unwrappedPhase.push_back(-540.125L);
        curve.groupDelay.push_back(1 / (f * 7));
        curve.zin.push_back(-1e300L * 1e300L);            // beyond double's range
        curve.zout.push_back(std::nextafter(5.0L, 6.0L)); // one unit in the last place
        curve.zinComplex.push_back({-1e300L * 1e300L, 0});
        curve.zoutComplex.push_back({3, 4});
    }
    return curve;
}

const BodeCsvContext kContext{"HP FILTER.DAT\r\n", "7 Dec 2026", {10, 100000}, 100, {}};

TEST(BodeCsv, TwoCurvesReadBackExactly) {
    const BodeCurve longer = Curve({1, 10, 100});
    const BodeCurve shorter = Curve({2.5L, 25});
    testing::TempFolder folder;
    const auto path = folder.path() / "bode.csv";
    WriteBodeCsv(path, {{"Filter, rev 2", &longer}, {"Keep \"A\"", &shorter}}, kContext);
    const auto lines = SplitLines(ReadWholeFile(path));
    ASSERT_EQ(lines.size(), 7u);
    // Comments say where the numbers come from, each on one line whatever a name holds.
    EXPECT_EQ(lines[0], "# Datafile: HP FILTER.DAT  ");
    EXPECT_EQ(lines[1], "# Written: 7 Dec 2026");
    EXPECT_EQ(lines[2], "# Range: 10.000 Hz to 100.00 kHz, at least 100 points per decade");

    const auto header = SplitCells(lines[3]);
    constexpr std::size_t kPerCurve = 13;
    ASSERT_EQ(header.size(), 2 * kPerCurve);
    EXPECT_EQ(header[0], "Filter, rev 2: Frequency (Hz)");
    EXPECT_EQ(header[4], "Filter, rev 2: Group delay (s)");
    EXPECT_EQ(header[kPerCurve + 5], "Keep \"A\": Zin real (ohm)");

    const BodeCurve* curves[] = {&longer, &shorter};
    for (std::size_t row = 0; row < 3; ++row) {
        const auto cells = SplitCells(lines[row + 4]);
        ASSERT_EQ(cells.size(), 2 * kPerCurve);
        for (std::size_t c = 0; c < 2; ++c) {
            const BodeCurve& curve = *curves[c];
            if (row >= curve.size()) {
                for (std::size_t q = 0; q < kPerCurve; ++q) {
                    EXPECT_TRUE(cells[c * kPerCurve + q].empty()) << row << " " << q;
                }
                continue;
            }
            // Zin: a negative real part beyond double's range, angle 180 degrees; Zout 3 + 4j,
            // whose magnitude is the window's (one unit above 5) and angle atan(4/3).
            const long double expected[] = {curve.frequency[row],
                                            curve.gain[row],
                                            curve.phase[row],
                                            curve.unwrappedPhase[row],
                                            curve.groupDelay[row],
                                            -1e300L * 1e300L,
                                            0,
                                            1e300L * 1e300L,
                                            180,
                                            3,
                                            4,
                                            std::nextafter(5.0L, 6.0L),
                                            53.130102354155978703L};
            for (std::size_t q = 0; q < kPerCurve; ++q) {
                const std::string& cell = cells[c * kPerCurve + q];
                const long double read = std::strtold(cell.c_str(), nullptr);
                if (q == 12) {
                    EXPECT_NEAR(read, expected[q], 1e-15L) << cell;
                } else {
                    EXPECT_EQ(std::memcmp(&read, &expected[q], 10), 0) << q << ": " << cell;
                }
            }
        }
    }
}

TEST(BodeCsv, OneCurveHasPlainHeadings) {
    const BodeCurve curve = Curve({1});
    const auto header = SplitCells(SplitLines(BodeCsvText({{"Title", &curve}}, kContext))[3]);
    EXPECT_EQ(header.front(), "Frequency (Hz)");
    EXPECT_EQ(header.back(), "Zout angle (deg)");
}

// Another analysis's columns follow the curves' at their own frequencies: the longer of the two
// sets the rows, and the shorter leaves its cells empty.
TEST(BodeCsv, ColumnsBesideFollowTheCurves) {
    const BodeCurve curve = Curve({1, 10});
    BodeCsvContext context = kContext;
    const long double third = 1.0L / 3;
    context.beside.push_back({{"Noise band: 1 Hz to 10 Hz", "Output noise: 1e-9 V rms"},
                              {"Noise: Frequency (Hz)", "Noise: Output noise (V/rtHz)"},
                              {{1, third}, {2, 1e-4000L}, {3}}});
    const auto lines = SplitLines(BodeCsvText({{"Title", &curve}}, context));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[3], "# Noise band: 1 Hz to 10 Hz");
    EXPECT_EQ(lines[4], "# Output noise: 1e-9 V rms");
    const auto header = SplitCells(lines[5]);
    ASSERT_EQ(header.size(), 15u);
    EXPECT_EQ(header[12], "Zout angle (deg)");
    EXPECT_EQ(header[13], "Noise: Frequency (Hz)");
    const struct {
        std::size_t line;
        bool curveCells;
        long double frequency;
        std::optional<long double> density;
    } rows[] = {{6, true, 1, third}, {7, true, 2, 1e-4000L}, {8, false, 3, std::nullopt}};
    for (const auto& row : rows) {
        const auto cells = SplitCells(lines[row.line]);
        ASSERT_EQ(cells.size(), 15u) << row.line;
        EXPECT_EQ(cells[0].empty(), !row.curveCells) << row.line;
        EXPECT_EQ(std::strtold(cells[13].c_str(), nullptr), row.frequency) << row.line;
        if (row.density) {
            const long double read = std::strtold(cells[14].c_str(), nullptr);
            EXPECT_EQ(std::memcmp(&read, &*row.density, 10), 0) << cells[14];
        } else {
            EXPECT_TRUE(cells[14].empty()) << row.line;
        }
    }
}

} // namespace
} // namespace kelvor
