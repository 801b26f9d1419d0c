// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/delete_file_reported.h"

#include "support/recording_messages.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

TEST(DeleteFileReported, DeletesSilentlyAndReportsFailures) {
    testing::TempFolder folder;
    testing::RecordingMessages messages;

    folder.Write("RECORDS.TMP", "x");
    DeleteFileReported(folder / "RECORDS.TMP", "Main #1", messages);
    EXPECT_FALSE(std::filesystem::exists(folder / "RECORDS.TMP"));

    DeleteFileReported(folder / "RECORDS.TMP", "Main #1", messages); // missing: nothing shown
    EXPECT_TRUE(messages.entries.empty());

    // A folder of that name cannot be deleted as a file while it holds something.
    std::filesystem::create_directory(folder / "CHKFILE.TMP");
    folder.Write("CHKFILE.TMP/inside", "x");
    DeleteFileReported(folder / "CHKFILE.TMP", "Chk", messages);
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].text.substr(0, 47),
              "Cannot delete file CHKFILE.TMP\r\n\r\n   Unit : Chk");
    EXPECT_NE(messages.entries[0].text.find("      IOResult = "), std::string::npos);
}

} // namespace
} // namespace kelvor
