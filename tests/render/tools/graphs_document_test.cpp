// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/tools/graphs_document.h"

#include "kelvor_error.h"
#include "render/picture_checks.h"
#include "render/time_response_graph.h"
#include "support/temp_folder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace kelvor::render {
namespace {

std::filesystem::path SamplesFolder() {
    return KELVOR_EXAMPLES_DIR;
}

class GraphsDocumentTest : public testing::PictureTest {};

TEST_F(GraphsDocumentTest, ThreeGraphsForEveryExampleCircuit) {
    const std::vector<ExamplePage> pages = BuildExamplePages(SamplesFolder());
    ASSERT_EQ(pages.size(), 12u);
    EXPECT_EQ(pages[0].title, "HPFILTER.DAT  -  Amplitude response");
    EXPECT_EQ(pages[1].title, "HPFILTER.DAT  -  Square-wave response");
    EXPECT_EQ(pages[2].title, "HPFILTER.DAT  -  Pulse response");
    EXPECT_EQ(pages[0].picture.size(), QSize(703, 531));
    EXPECT_EQ(pages[1].picture.size(), QSize(643, 485));
    for (const ExamplePage& page : pages) {
        EXPECT_FALSE(page.caption.empty()) << page.title;
        // Every picture carries a trace: far more black than the frame and texts alone.
        EXPECT_GT(testing::CountColour(page.picture, QRect(60, 60, 540, 360), kBlack), 300)
            << page.title;
    }
    // The first-order low-pass passes a square wave with rounded edges and no overshoot: its
    // trace rises steadily through the whole first half-period.
    const QImage& lowPassSquare = pages[4].picture;
    EXPECT_EQ(pages[4].title, "RCLOWPAS.DAT  -  Square-wave response");
    int previousTop = 437;
    for (int x = 80; x < 329; ++x) {
        const std::set<int> rows = testing::RowsOfColour(lowPassSquare, x, kBlack, 47, 437);
        ASSERT_FALSE(rows.empty()) << x;
        EXPECT_LE(*rows.begin(), previousTop) << x;
        previousTop = *rows.begin();
    }
    EXPECT_LT(previousTop, 103); // scaled to the default gain, 1 dB above the input
}

TEST_F(GraphsDocumentTest, OnePdfPagePerGraph) {
    kelvor::testing::TempFolder folder;
    const std::filesystem::path path = folder / "GRAPHS.PDF";
    WriteGraphsDocument(BuildExamplePages(SamplesFolder()), path);
    QFile file(QString::fromStdString(path.string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                  bytes.count("/Type /Page "),
              12);
}

TEST_F(GraphsDocumentTest, MissingExampleWritesNothing) {
    kelvor::testing::TempFolder folder;
    EXPECT_THROW(BuildExamplePages(folder.path()), KelvorError);
    EXPECT_THROW(WriteGraphsDocument({}, folder / "no" / "such" / "GRAPHS.PDF"), KelvorError);
}

} // namespace
} // namespace kelvor::render
