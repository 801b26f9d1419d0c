#include "circuit/record_file.h"

#include "kelvor_error.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>

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
    }
}

} // namespace
} // namespace kelvor
