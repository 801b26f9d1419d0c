// SPDX-License-Identifier: GPL-3.0-or-later
// The amplitude graph drawn pixel by pixel: dB ticks and labels, frequency ticks against the
// sweep's own column frequencies, the curve's rows, bold, colour, grid and superimposing.

#include "analysis/frequency_scale.h"
#include "analysis/scale_proposal.h"
#include "kelvor_error.h"
#include "picture_checks.h"
#include "render/amplitude_graph.h"
#include "render/graph_canvas.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace kelvor::render {
namespace {

using testing::ColourAt;
using testing::ColumnsOfColour;
using testing::CountColour;
using testing::FirstDifference;
using testing::IsBlack;
using testing::IsWhite;
using testing::RowsOfColour;
using testing::WhitePicture;

// Clamped to row 32767: the curve is drawn, but far below the picture.
constexpr long double kFarBelow = -10000;

AmplitudeGraphInput FlatInput(long double gain, int32_t span = 25, int32_t top = 0) {
    AmplitudeGraphInput input;
    input.FCode = 8;
    input.SweepGain.fill(gain);
    input.GraphScale = span;
    input.GraphTop = top;
    input.DatafileName = "HPFILTER.DAT";
    input.RevisionNumber = 1;
    input.TodayText = "7 Dec 2026";
    return input;
}

QImage Draw(const AmplitudeGraphInput& input) {
    QImage picture = BlankAmplitudePicture();
    DrawAmplitudeGraph(picture, input);
    return picture;
}

QImage Text(int x, int y, int points, const std::string& text, bool bold = false) {
    QImage picture = BlankAmplitudePicture();
    GraphCanvas canvas(picture);
    canvas.SetFont("Courier New", points);
    canvas.SetFontStyle(bold, false);
    canvas.TextOut(x, y, text);
    return picture;
}

std::set<int> Range(int from, int to, int step = 1) {
    std::set<int> values;
    for (int value = from; value <= to; value += step) {
        values.insert(value);
    }
    return values;
}

class AmplitudeGraphTest : public testing::PictureTest {};

TEST_F(AmplitudeGraphTest, Span25Top0TicksAndLabels) {
    const QImage picture = Draw(FlatInput(kFarBelow));
    // Long ticks (57 to 63 and 677 to 681) at the six labels.
    const std::set<int> labelRows = {59, 139, 219, 299, 379, 459};
    EXPECT_EQ(RowsOfColour(picture, 62, kBlack, 30, 487), labelRows);
    EXPECT_EQ(RowsOfColour(picture, 678, kBlack, 30, 487), labelRows);
    // A tick every 8 rows, the first three above the top label.
    EXPECT_EQ(RowsOfColour(picture, 58, kBlack, 30, 487), Range(35, 483, 8));
    // Majors every 16 rows (one dB), starting on the first even tick.
    EXPECT_EQ(RowsOfColour(picture, 60, kBlack, 30, 487), Range(43, 475, 16));
    EXPECT_TRUE(IsWhite(picture, 59, 35)) << "row 35 is a minor tick";
    EXPECT_TRUE(IsBlack(picture, 681, 35));
    EXPECT_TRUE(IsWhite(picture, 680, 35));

    const std::vector<std::string> labels = {"  0", " -5", "-10", "-15", "-20", "-25"};
    int index = 0;
    for (int row : labelRows) {
        const int top = row - 7;
        const QImage expected = Text(34, top, 8, labels[index]);
        EXPECT_EQ(FirstDifference(picture, expected, QRect(34, top, 21, 12)), "")
            << "label " << labels[index];
        EXPECT_GT(CountColour(picture, QRect(34, top, 21, 12), kBlack), 5);
        ++index;
    }
}

TEST_F(AmplitudeGraphTest, Span15LabelsEveryTwoDbRoundedPerLabel) {
    const QImage picture = Draw(FlatInput(kFarBelow, 15, 0));
    // 53.3 pixels apart, each rounded on its own.
    const std::vector<int> rows = {59, 112, 166, 219, 272, 326, 379, 432};
    EXPECT_EQ(RowsOfColour(picture, 62, kBlack, 30, 487), std::set<int>(rows.begin(), rows.end()));
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const std::string label = k == 0 ? "  0" : (k < 5 ? " -" : "-") + std::to_string(2 * k);
        const QImage expected = Text(34, rows[k] - 7, 8, label);
        EXPECT_EQ(FirstDifference(picture, expected, QRect(34, rows[k] - 7, 21, 12)), "")
            << "label " << label;
    }
}

TEST_F(AmplitudeGraphTest, EverySpanHasDivisionsThatMultiplyBack) {
    for (int32_t span : kScaleList) {
        const std::optional<DbDivisions> divisions = DbDivisionsFor(span);
        ASSERT_TRUE(divisions) << span;
        EXPECT_DOUBLE_EQ(divisions->V * divisions->D, span);
    }
    EXPECT_FALSE(DbDivisionsFor(33));
    EXPECT_FALSE(DbDivisionsFor(0));
    EXPECT_FALSE(DbDivisionsFor(-25));
}

// For every span, a flat curve at each labelled value lies on that label's long tick: the
// labels and the curve agree about the dB scale.
TEST_F(AmplitudeGraphTest, EveryLabelledValueIsDrawnOnItsTick) {
    for (int32_t span : kScaleList) {
        const DbDivisions divisions = *DbDivisionsFor(span);
        const int32_t top = 20;
        const std::set<int> tickRows =
            RowsOfColour(Draw(FlatInput(kFarBelow, span, top)), 62, kBlack, 30, 487);
        ASSERT_FALSE(tickRows.empty()) << span;
        std::set<int> curveRows;
        for (std::size_t k = 0; k < tickRows.size(); ++k) {
            AmplitudeGraphInput input =
                FlatInput(top - static_cast<long double>(k) * divisions.D, span, top);
            input.PenColour = kRed;
            const std::set<int> red = RowsOfColour(Draw(input), 300, kRed, 0, 530);
            ASSERT_EQ(red.size(), 1u) << "span " << span << " label " << k;
            curveRows.insert(*red.begin());
        }
        EXPECT_EQ(curveRows, tickRows) << "span " << span;
        // The labels reach down to the bottom of the scale, never beyond row 466.
        EXPECT_LE(*tickRows.rbegin(), 466) << span;
        EXPECT_GE(*tickRows.rbegin(), 459 - 400 / divisions.V) << span;
    }
}

TEST_F(AmplitudeGraphTest, FlatGainAtTheTopOnRow59) {
    AmplitudeGraphInput input = FlatInput(0);
    input.PenColour = kRed;
    const QImage atTop = Draw(input);
    // The long ticks of the top label are drawn over both ends of the line.
    EXPECT_EQ(ColumnsOfColour(atTop, 59, kRed, 0, 702), Range(64, 676));
    EXPECT_EQ(CountColour(atTop, atTop.rect(), kRed), 613);

    // One dB lower, on a row without long ticks: every column from x 60 to x 679.
    input.SweepGain.fill(-1);
    const QImage lower = Draw(input);
    EXPECT_EQ(ColumnsOfColour(lower, 75, kRed, 0, 702), Range(60, 679));
    EXPECT_EQ(CountColour(lower, lower.rect(), kRed), 620);
}

TEST_F(AmplitudeGraphTest, GainsAboveTheTopStayOnRow35) {
    AmplitudeGraphInput input = FlatInput(100);
    input.PenColour = kRed;
    const QImage picture = Draw(input);
    EXPECT_EQ(ColumnsOfColour(picture, 35, kRed, 0, 702), Range(60, 679));
    EXPECT_EQ(CountColour(picture, picture.rect(), kRed), 620);
    EXPECT_TRUE(IsBlack(picture, 57, 35)) << "the minor tick is drawn over nothing red";
}

TEST_F(AmplitudeGraphTest, CurveRowsStayWithinTheirLimits) {
    EXPECT_EQ(CurveRow(-25, 25, 0, false), 459);
    EXPECT_EQ(CurveRow(-50000, 5, 500, false), 32767);
    EXPECT_EQ(CurveRow(std::numeric_limits<long double>::quiet_NaN(), 25, 0, false), 32767);
    EXPECT_EQ(CurveRow(-std::numeric_limits<long double>::max(), 25, 0, false), 32767);
    EXPECT_EQ(CurveRow(std::numeric_limits<long double>::max(), 25, 0, false), 35);
}

TEST_F(AmplitudeGraphTest, BoldDoublesOneRowLowerFromOriginRow59) {
    AmplitudeGraphInput input = FlatInput(-1.0L / 32);
    input.PenColour = kRed;
    const QImage regular = Draw(input);
    EXPECT_EQ(ColumnsOfColour(regular, 60, kRed, 0, 702), Range(60, 679));
    EXPECT_TRUE(ColumnsOfColour(regular, 59, kRed, 0, 702).empty());
    EXPECT_TRUE(ColumnsOfColour(regular, 61, kRed, 0, 702).empty());

    input.Bold = true;
    const QImage bold = Draw(input);
    EXPECT_EQ(ColumnsOfColour(bold, 59, kRed, 0, 702), Range(64, 676));
    EXPECT_EQ(ColumnsOfColour(bold, 60, kRed, 0, 702), Range(60, 679));
    EXPECT_TRUE(ColumnsOfColour(bold, 61, kRed, 0, 702).empty());
    EXPECT_TRUE(ColumnsOfColour(bold, 58, kRed, 0, 702).empty());
}

TEST_F(AmplitudeGraphTest, BoldWidensRisingToTheRightAndFallingToTheLeft) {
    // -10 dB, up to 0 dB at column 300, down again at column 400.
    AmplitudeGraphInput input = FlatInput(-10);
    for (int n = 300; n < 400; ++n) {
        input.SweepGain[n - kFirstSweepColumn] = 0;
    }
    input.PenColour = kRed;
    const QImage regular = Draw(input);
    input.Bold = true;
    const QImage bold = Draw(input);

    // The rise is the segment from x 336 to x 337, rows 219 to 59.
    EXPECT_EQ(RowsOfColour(regular, 338, kRed, 61, 218).size(), 0u);
    EXPECT_GT(RowsOfColour(bold, 338, kRed, 61, 218).size(), 50u);
    EXPECT_TRUE(RowsOfColour(bold, 335, kRed, 61, 218).empty());
    // The fall is the segment from x 436 to x 437, rows 59 to 219.
    EXPECT_EQ(RowsOfColour(regular, 435, kRed, 61, 218).size(), 0u);
    EXPECT_GT(RowsOfColour(bold, 435, kRed, 61, 218).size(), 50u);
    EXPECT_TRUE(RowsOfColour(bold, 438, kRed, 61, 218).empty());
}

TEST_F(AmplitudeGraphTest, TitleCentredByTheWholeNameAndRevisionTopRight) {
    const QImage picture = Draw(FlatInput(kFarBelow));
    // "HPFILTER", 8 cells of 10 pixels from x = 359 - 108 / 2 = 305, underlined across them.
    bool underlineFound = false;
    for (int y = 9; y < 31; ++y) {
        if (ColumnsOfColour(picture, y, kBlack, 250, 450) == Range(305, 384)) {
            underlineFound = true;
        }
    }
    EXPECT_TRUE(underlineFound);
    EXPECT_EQ(CountColour(picture, QRect(250, 0, 55, 31), kBlack), 0);

    AmplitudeGraphInput shortName = FlatInput(kFarBelow);
    shortName.DatafileName = "AB.DAT"; // x = 359 - 54 / 2 = 332, two cells wide
    const QImage shortPicture = Draw(shortName);
    underlineFound = false;
    for (int y = 9; y < 31; ++y) {
        if (ColumnsOfColour(shortPicture, y, kBlack, 250, 450) == Range(332, 351)) {
            underlineFound = true;
        }
    }
    EXPECT_TRUE(underlineFound);

    const QImage revision = Text(596, 13, 9, "Rev.1");
    EXPECT_EQ(FirstDifference(picture, revision, QRect(560, 0, 143, 30)), "");
}

struct ScaleTicks {
    int32_t fcode;
    std::vector<double> majors; // Hz
    std::vector<double> minors; // Hz
};

// The graph column where the sweep computed a frequency: ticks must stand there to within the
// pixel they were rounded to.
double ColumnOf(const FrequencyScale& scale, double frequency) {
    return 8 * (std::log10(frequency / static_cast<double>(scale.BaseFrequency)) *
                    static_cast<double>(scale.DecadeWidth) +
                static_cast<double>(scale.ColumnOffset));
}

void ExpectTicksAt(const std::set<int>& columns, const FrequencyScale& scale,
                   const std::vector<double>& frequencies, const std::string& what) {
    for (double frequency : frequencies) {
        const double x = ColumnOf(scale, frequency) + 37;
        const bool found = columns.count(static_cast<int>(std::floor(x))) == 1 ||
                           columns.count(static_cast<int>(std::ceil(x))) == 1;
        EXPECT_TRUE(found) << what << " at " << frequency << " Hz, x " << x;
    }
}

TEST_F(AmplitudeGraphTest, FrequencyTicksStandAtTheirFrequencies) {
    const std::vector<ScaleTicks> cases = {
        {7, {30, 40, 50, 70, 100, 150, 200, 250, 300}, {35, 60, 80, 90, 125, 175}},
        {8, {100, 150, 200, 250, 300, 400, 500, 700, 1000}, {125, 175, 350, 600, 800, 900}},
        {25,
         {30, 50, 70, 100, 200, 300, 500, 700, 1000, 2000, 3000},
         {40, 60, 80, 90, 150, 400, 600, 800, 900, 1500}},
        {35,
         {30, 50, 100, 200, 300, 500, 1000, 2000, 3000, 5000, 10000, 20000, 30000},
         {70, 700, 7000, 150, 1500, 15000}},
        {44,
         {30, 100, 300, 1e3, 3e3, 1e4, 3e4, 1e5, 3e5, 1e6, 3e6},
         {50, 200, 500, 2e3, 5e3, 2e4, 5e4, 2e5, 5e5, 2e6}},
        {50, {100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8}, {200, 300, 500, 700, 2e3, 3e3, 5e3, 7e3,
                                                   2e4, 3e4, 5e4, 7e4, 2e5, 3e5, 5e5, 7e5,
                                                   2e6, 3e6, 5e6, 7e6, 2e7, 3e7, 5e7, 7e7}},
    };
    for (const ScaleTicks& ticks : cases) {
        AmplitudeGraphInput input = FlatInput(kFarBelow);
        input.FCode = ticks.fcode;
        const QImage picture = Draw(input);
        const FrequencyScale scale = SetupFrequencyScale(ticks.fcode, 0, 0);
        const std::string name = "FCode " + std::to_string(ticks.fcode);

        // Majors reach 3 rows down from the top edge and 6 rows up from the axis; minors are
        // one pixel at the top and 3 rows at the axis. The vertical axis is at x 57.
        const std::set<int> topMajors = ColumnsOfColour(picture, 33, kBlack, 0, 702);
        const std::set<int> topAll = ColumnsOfColour(picture, 31, kBlack, 0, 702);
        const std::set<int> bottomMajors = ColumnsOfColour(picture, 484, kBlack, 0, 702);
        const std::set<int> bottomAll = ColumnsOfColour(picture, 487, kBlack, 0, 702);
        EXPECT_EQ(topMajors, bottomMajors) << name;
        EXPECT_EQ(topMajors.size(), ticks.majors.size() + 1) << name;
        EXPECT_EQ(topAll, bottomAll) << name;
        EXPECT_EQ(topAll.size(), ticks.majors.size() + ticks.minors.size() + 1) << name;
        EXPECT_TRUE(topMajors.count(57)) << name;
        ExpectTicksAt(topMajors, scale, ticks.majors, name + " major");
        ExpectTicksAt(topAll, scale, ticks.minors, name + " minor");
        EXPECT_TRUE(ColumnsOfColour(picture, 482, kBlack, 58, 702).empty()) << name;
        EXPECT_TRUE(ColumnsOfColour(picture, 34, kBlack, 58, 702).empty()) << name;
    }
}

TEST_F(AmplitudeGraphTest, UserScaleHasSevenMajorsAndItsOwnLabelRow) {
    AmplitudeGraphInput input = FlatInput(kFarBelow);
    input.FCode = 0;
    input.UserFreqLabels = BuildUserFreqLabels(SetupFrequencyScale(0, 250, 360));
    input.GridLinesPending = true;
    const QImage picture = Draw(input);

    const std::set<int> majors = {81, 177, 273, 369, 465, 561, 657};
    std::set<int> withAxis = majors;
    withAxis.insert(57);
    EXPECT_EQ(ColumnsOfColour(picture, 33, kBlack, 0, 702), withAxis);
    std::set<int> all = withAxis;
    for (int minor : {129, 225, 321, 417, 513, 609}) {
        all.insert(minor);
    }
    EXPECT_EQ(ColumnsOfColour(picture, 487, kBlack, 0, 702), all);
    for (int x : majors) {
        EXPECT_EQ(RowsOfColour(picture, x, kSilver, 34, 482), Range(36, 480, 2)) << "grid at " << x;
    }

    ASSERT_EQ(input.UserFreqLabels.substr(0, 4), " 250");
    const QImage expected = Text(40, 488, 8, "   " + input.UserFreqLabels + "  ");
    // Row 488 is the axis, drawn over the labels' cell.
    EXPECT_EQ(FirstDifference(picture, expected, QRect(40, 489, 651, 11)), "");
    EXPECT_GT(CountColour(picture, QRect(60, 489, 40, 11), kBlack), 10) << "250 under x 81";
    EXPECT_GT(CountColour(picture, QRect(637, 489, 40, 11), kBlack), 10) << "360 under x 657";
}

TEST_F(AmplitudeGraphTest, FixedScaleLabelRowAndBottomLine) {
    const QImage picture = Draw(FlatInput(kFarBelow));
    const QImage labels =
        Text(40, 488, 8,
             "   " +
                 std::string(" 100            150       200     250   300        400     500 "
                             "        700         1000 ") +
                 "  ");
    EXPECT_EQ(FirstDifference(picture, labels, QRect(40, 489, 651, 11)), "");
    const QImage bottom = Text(48, 501, 9,
                               "#8" + std::string(35, ' ') + "Frequency (Hz)" +
                                   std::string(24, ' ') + "7 Dec 2026" + std::string(9, ' '));
    EXPECT_EQ(FirstDifference(picture, bottom, QRect(48, 501, 640, 14)), "");
}

TEST_F(AmplitudeGraphTest, TextBlanksWhatLiesBeneath) {
    QImage picture = BlankAmplitudePicture();
    picture.fill(Qt::black);
    DrawAmplitudeGraph(picture, FlatInput(kFarBelow));
    // The band of 600 spaces from x 1 at row 516.
    for (int y : {516, 520, 529}) {
        EXPECT_EQ(ColumnsOfColour(picture, y, kWhite, 0, 702), Range(1, 702)) << "row " << y;
    }
    EXPECT_TRUE(IsBlack(picture, 0, 520));
    // Only drawn pixels change: the graph area itself is left as it was.
    EXPECT_TRUE(IsBlack(picture, 300, 300));
}

TEST_F(AmplitudeGraphTest, NegativeLabelsBelowMinus99MoveLeft) {
    const QImage picture = Draw(FlatInput(kFarBelow, 25, -100));
    EXPECT_EQ(FirstDifference(picture, Text(28, 52, 8, "-100"), QRect(28, 52, 28, 12)), "");
    EXPECT_EQ(FirstDifference(picture, Text(28, 452, 8, "-125"), QRect(28, 452, 28, 12)), "");
}

int LeftmostInk(const QImage& picture, const QRect& area) {
    for (int x = area.left(); x <= area.right(); ++x) {
        if (!RowsOfColour(picture, x, kBlack, area.top(), area.bottom()).empty()) {
            return x;
        }
    }
    return -1;
}

TEST_F(AmplitudeGraphTest, AxisTitleKeepsClearOfTheWidestUpperLabel) {
    // Span 25 from 0: "-10" and "-15" are 3 characters; span 5 from 5: one character.
    const QImage wide = Draw(FlatInput(kFarBelow, 25, 0));
    const QImage narrow = Draw(FlatInput(kFarBelow, 5, 5));
    const QRect title(0, 150, 33, 170);
    const int wideLeft = LeftmostInk(wide, title);
    const int narrowLeft = LeftmostInk(narrow, title);
    ASSERT_GE(wideLeft, 15);
    EXPECT_EQ(narrowLeft - wideLeft, 6);
    // Turned upward: the title's ink ends at row 307.
    EXPECT_TRUE(ColumnsOfColour(wide, 308, kBlack, 0, 33).empty());
    EXPECT_FALSE(ColumnsOfColour(wide, 300, kBlack, 0, 33).empty());
}

TEST_F(AmplitudeGraphTest, GridOnlyWithTheFirstCurveOfAPicture) {
    AmplitudeGraphInput first = FlatInput(-5);
    first.GridLinesPending = true;
    QImage picture = Draw(first);
    const int silverAfterFirst = CountColour(picture, picture.rect(), kSilver);
    EXPECT_GT(silverAfterFirst, 2000);
    EXPECT_EQ(ColumnsOfColour(picture, 139, kBlack, 64, 676), Range(64, 676)) << "first curve";

    AmplitudeGraphInput second = FlatInput(-20);
    second.PenColour = kRed;
    DrawAmplitudeGraph(picture, second);
    EXPECT_EQ(ColumnsOfColour(picture, 139, kBlack, 64, 676), Range(64, 676)) << "still there";
    EXPECT_EQ(ColumnsOfColour(picture, 379, kRed, 64, 676), Range(64, 676));
    // The grid is the first curve's: the second neither adds dots nor clears them, except
    // where its own line covers a dot.
    const int coveredDots =
        static_cast<int>(ColumnsOfColour(Draw(first), 379, kSilver, 60, 679).size());
    EXPECT_EQ(CountColour(picture, picture.rect(), kSilver), silverAfterFirst - coveredDots);

    EXPECT_EQ(CountColour(Draw(second), QRect(0, 0, 703, 531), kSilver), 0);
}

TEST_F(AmplitudeGraphTest, RefusesASpanItCannotLabelAndDrawsAnUnknownRangeAsTheDefault) {
    QImage picture = BlankAmplitudePicture();
    const QImage before = picture;
    EXPECT_THROW(DrawAmplitudeGraph(picture, FlatInput(0, 33, 0)), KelvorError);
    EXPECT_EQ(picture, before);

    AmplitudeGraphInput unknown = FlatInput(kFarBelow);
    unknown.FCode = 99;
    EXPECT_EQ(Draw(unknown), Draw(FlatInput(kFarBelow)));
}

} // namespace
} // namespace kelvor::render
