// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/record_file.h"

#include "circuit/datafile_reader.h"
#include "circuit/record_listing.h"
#include "circuit/sample_datafile.h"
#include "kelvor_error.h"
#include "solver/response.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kelvor {
namespace {

using testing::TempFolder;

RecordList SomeRecords() {
    ComponentRecord header;
    header.kind = 'H';
    header.nodes = {4, 1, 2, 3, 0};
    header.headerDate = "1 Jan 2027";
    ComponentRecord resistor;
    resistor.kind = 'R';
    resistor.nodes = {1, 4, 0, 0, 0};
    resistor.values[0] = 4700.0L;
    return {header, resistor};
}

TEST(RecordFile, WritesWholeRecordsAndReadsThemBack) {
    TempFolder folder;
    const RecordList written = SomeRecords();
    WriteRecordFile(folder / kRecordFileName, written);

    EXPECT_EQ(folder.Read(kRecordFileName).size(), 2 * kRecordSize);
    const RecordList read = ReadRecordFile(folder / kRecordFileName);
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(EncodeRecord(read[i]), EncodeRecord(written[i])) << "record " << i;
    }
}

TEST(RecordFile, RewritingReplacesTheOldContent) {
    TempFolder folder;
    WriteRecordFile(folder / kRecordFileName, SomeRecords());
    WriteRecordFile(folder / kRecordFileName, {SomeRecords().front()});
    EXPECT_EQ(ReadRecordFile(folder / kRecordFileName).size(), 1u);
}

TEST(RecordFile, DamagedOrMissingFilesGiveClearErrors) {
    struct Case {
        const char* name;
        std::size_t size; // bytes written; npos for no file at all
        const char* expectedWords;
    };
    const Case cases[] = {
        {"missing", std::string::npos, "does not exist"},
        {"empty", 0, "is empty"},
        {"truncated", 2 * kRecordSize - 1, "not a whole number of 74-byte records"},
        {"one byte extra", kRecordSize + 1, "not a whole number of 74-byte records"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        if (c.size != std::string::npos) {
            folder.Write(kRecordFileName, std::string(c.size, 'H'));
        }
        try {
            ReadRecordFile(folder / kRecordFileName);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const KelvorError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(kRecordFileName), std::string::npos) << message;
            EXPECT_NE(message.find(c.expectedWords), std::string::npos) << message;
        }
    }
}

TEST(RecordFile, UnwritableFileIsAnError) {
    TempFolder folder;
    try {
        WriteRecordFile(folder / "no such folder" / kRecordFileName, SomeRecords());
        ADD_FAILURE() << "no error";
    } catch (const KelvorError& error) {
        EXPECT_NE(std::string(error.what()).find(kRecordFileName), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("No such file or directory"), std::string::npos);
    }
}

// Two copies of the program in one folder share RECORDS.TMP: each computes and lists with the
// records it wrote whatever the other parsed since, and neither deletes the file while the
// other works there, even when both parsed the same Datafile.
TEST(RecordFile, TwoCopiesInOneFolderKeepTheirOwnRecords) {
    TempFolder folder;
    folder.Write("HPFILTER.DAT", SampleDatafileText("7 Dec 2026"));
    folder.Write("OTHER.DAT", "Other Rev. 1\r\n\r\nNodeIn = 1 NodeOut = 2 NodeCom = 3\r\n"
                              "R 1 2 1k\r\nR 2 3 1k\r\n");
    testing::RecordingMessages messages;
    auto firstCopy = std::make_unique<FolderPresence>(folder.path());
    const FolderPresence secondCopy(folder.path());
    CircuitState first, second;
    ParseDatafile(folder.path(), "HPFILTER.DAT", ParseMode::Silent, first, messages, "");
    ParseDatafile(folder.path(), "OTHER.DAT", ParseMode::Silent, second, messages, "");
    EXPECT_EQ(LoadCircuit(folder.path(), first).records.size(), 6u);
    EXPECT_EQ(LoadCircuit(folder.path(), second).records.size(), 3u);
    WriteRecordListing(folder.path(), "HPFILTER.DAT", first);
    EXPECT_NE(folder.Read(kListingFileName).find("    #5  "), std::string::npos); // 5 components
    try {
        LoadCircuit(folder.path(), CircuitState{});
        ADD_FAILURE() << "a file this copy did not write was read as its circuit";
    } catch (const KelvorError& error) {
        EXPECT_NE(std::string(error.what()).find("another program"), std::string::npos);
    }

    ParseDatafile(folder.path(), "OTHER.DAT", ParseMode::Silent, first, messages, "");
    EXPECT_FALSE(firstCopy->OnlyCopyInFolder());
    DeleteOwnRecordFile(folder.path(), first, *firstCopy, "Main #3", messages);
    firstCopy.reset();
    EXPECT_EQ(LoadCircuit(folder.path(), second).records.size(), 3u);
    EXPECT_TRUE(secondCopy.OnlyCopyInFolder());
    DeleteOwnRecordFile(folder.path(), second, secondCopy, "Main #3", messages);
    EXPECT_FALSE(std::filesystem::exists(folder / kRecordFileName));
    EXPECT_TRUE(messages.entries.empty());
}

} // namespace
} // namespace kelvor
