// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/record_listing.h"

#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "kelvor_error.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvor {
namespace {

using testing::TempFolder;

std::string Spaces(std::size_t count) {
    return std::string(count, ' ');
}

// The 23-character form of a small whole number: " 3.00000000000000E+0000".
std::string Whole(int digit) {
    return " " + std::to_string(digit) + "." + std::string(14, '0') + "E+0000";
}

const std::string kOpening = "\r\n"
                             "   ALL VALUES ARE IN ABSOLUTE UNITS - Ohms, Farads, Henries, Amps, "
                             "Volts, Hertz, dB, etc.\r\n"
                             "   " +
                             std::string(86, '-') + "\r\n" + "\r\n";

RecordList ParsedRecords(const std::string& datafile) {
    CircuitState state;
    return ParseDatafileText(datafile, state, "6 Dec 2026").records;
}

TEST(RecordListing, SampleDatafileListing) {
    const std::string expected =
        kOpening +
        "    #0    NoNodes = 5        NodeIn = 3        NodeOut = 5        NodeCom = 2\r\n"
        "\r\n"
        "    #1    R   1   2" +
        Spaces(16) + " 2.00000000000000E-0001\r\n" + "    #2    L   1   4" + Spaces(16) +
        " 2.50000000000000E-0003" + Spaces(4) + " 1.00000000000000E-0006\r\n" +
        "    #3    R   2   5" + Spaces(16) + " 8.00000000000000E+0000\r\n" + "    #4    C   3   4" +
        Spaces(16) + " 5.00000000000000E-0005\r\n" + "    #5    C   4   5" + Spaces(16) +
        " 5.00000000000000E-0005\r\n" + "\r\n" + Spaces(35) + "HPFILTER.DAT    Rev.1\r\n";
    EXPECT_EQ(
        BuildRecordListing(ParsedRecords(SampleDatafileText("6 Dec 2026")), "HPFILTER.DAT", 1),
        expected);
}

TEST(RecordListing, EveryKindsColumns) {
    struct Case {
        char kind;
        std::string entry; // after the prefix of record 1
    };
    const std::string indent = Spaces(35);
    const std::string gap = Spaces(4);
    const Case cases[] = {
        {'R', "R   1   2" + Spaces(16) + Whole(1)},
        {'C', "C   1   2" + Spaces(16) + Whole(1)},
        {'L', "L   1   2" + Spaces(16) + Whole(1) + gap + Whole(2)},
        {'B', "B   1   2   3" + Spaces(12) + Whole(1) + gap + Whole(2) + "\r\n" + indent +
                  Whole(3) + gap + Whole(4) + "\r\n" + indent + Whole(5) + gap + Whole(6)},
        {'F', "F   1   2   3" + Spaces(12) + Whole(1) + gap + Whole(2) + "\r\n" + indent +
                  Whole(3) + gap + Whole(4)},
        {'V', "V   1   2   3" + Spaces(12) + Whole(1) + gap + Whole(2) + "\r\n" + indent +
                  Whole(3) + gap + Whole(4) + "\r\n" + indent + Whole(5)},
        {'A',
         "A   1   2   3" + Spaces(12) + Whole(1) + gap + Whole(2) + "\r\n" + indent + Whole(3)},
        {'M', "M   1   2   3   4" + Spaces(8) + Whole(1) + gap + Whole(2) + "\r\n" + indent +
                  Whole(3) + "\r\n" + indent + Whole(4) + gap + Whole(5)},
        // The ratio (value 2) comes before Lp, as on the Datafile line.
        {'T', "T   1   2   3   4   5" + Spaces(4) + Whole(2) + gap + Whole(1) + "\r\n" + indent +
                  Whole(3) + gap + Whole(4) + "\r\n" + indent + Whole(5) + gap + Whole(6)},
        {'X', "ERROR - Illegal record here !!!!"},
        {'h', "ERROR - Illegal record here !!!!"},
        // The entry follows the kind letter alone, whatever the record's number.
        {'H', "NoNodes = 1        NodeIn = 2        NodeOut = 3        NodeCom = 4\r\n"},
        {'\0', "ERROR - Illegal record here !!!!"},
    };
    for (const Case& c : cases) {
        ComponentRecord record;
        record.kind = c.kind;
        record.nodes = {1, 2, 3, 4, 5};
        record.values = {1, 2, 3, 4, 5, 6};
        const std::string listing = BuildRecordListing({ComponentRecord{}, record}, "A.DAT", 0);
        const std::string expected = "    #1    " + c.entry + "\r\n\r\n";
        EXPECT_NE(listing.find(expected), std::string::npos) << c.kind << "\n"
                                                             << listing << "\nwanted\n"
                                                             << expected;
    }
}

TEST(RecordListing, ParsedValuesAppearAsStored) {
    struct Case {
        std::string line;
        std::string entry;
    };
    const Case cases[] = {
        {"R 1 2 0", "R   1   2" + Spaces(16) + " 1.00000000000000E-0006"},
        {"C 1 2 1.5k", "C   1   2" + Spaces(16) + " 1.50000000000000E+0003"},
        {"T 1 2 3 4 5 3 10m",
         "T   1   2   3   4   5" + Spaces(4) + " 3.00000000000000E+0000" + Spaces(4) +
             " 1.00000000000000E-0002\r\n" + Spaces(35) + " 5.00000000000000E-0005" + Spaces(4) +
             " 4.50000000000000E-0004\r\n" + Spaces(35) + " 1.00000000000000E-0006" + Spaces(4) +
             " 1.00000000000000E-0006"},
        {"A 1 2 3", "A   1   2   3" + Spaces(12) + " 1.00000000000000E+0004" + Spaces(4) +
                        " 1.00000000000000E+0007\r\n" + Spaces(35) + " 1.00000000000000E+0007"},
    };
    for (const Case& c : cases) {
        const RecordList records = ParsedRecords("T Rev. 1\r\n\r\n1 2 3\r\n" + c.line + "\r\n");
        const std::string listing = BuildRecordListing(records, "X.DAT", 1);
        EXPECT_NE(listing.find("    #1    " + c.entry + "\r\n"), std::string::npos)
            << c.line << "\n"
            << listing;
    }
}

TEST(RecordListing, PrefixWidthFollowsTheRecordNumber) {
    RecordList records(1001);
    for (ComponentRecord& record : records) {
        record.kind = 'Q';
    }
    const std::string listing = BuildRecordListing(records, "BIG.DAT", 3);
    // Kind letters line up for numbers below 1000.
    for (const char* prefix : {"    #0    ", "    #9    ", "    #10   ", "    #99   ", "    #100  ",
                               "    #999  ", "    #1000  "}) {
        EXPECT_NE(listing.find(std::string("\r\n") + prefix + "ERROR"), std::string::npos)
            << prefix;
    }
}

TEST(RecordListing, NegativeValuesUseTheSignPosition) {
    ComponentRecord record;
    record.kind = 'C';
    record.nodes = {10, 100, 0, 0, 0};
    record.values[0] = -2.5L;
    const std::string listing = BuildRecordListing({ComponentRecord{}, record}, "N.DAT", -4);
    EXPECT_NE(listing.find("C  10 100" + Spaces(16) + "-2.50000000000000E+0000\r\n"),
              std::string::npos);
    EXPECT_NE(listing.find(Spaces(35) + "N.DAT    Rev.-4\r\n"), std::string::npos);
}

TEST(RecordListing, WritesTheListingFileBesideTheRecords) {
    TempFolder folder;
    const RecordList records = ParsedRecords(SampleDatafileText("6 Dec 2026"));
    CircuitState state;
    state.RevisionNumber = 1;
    state.ownRecordFile = WriteRecordFile(folder / kRecordFileName, records);
    WriteRecordListing(folder.path(), "HPFILTER.DAT", state);
    EXPECT_EQ(folder.Read(kListingFileName), BuildRecordListing(records, "HPFILTER.DAT", 1));
}

TEST(RecordListing, MissingOrDamagedRecordFileIsAFileError) {
    TempFolder folder;
    const CircuitState state;
    EXPECT_THROW(WriteRecordListing(folder.path(), "A.DAT", state), KelvorError);
    folder.Write(kRecordFileName, std::string(kRecordSize + 10, '\0'));
    EXPECT_THROW(WriteRecordListing(folder.path(), "A.DAT", state), KelvorError);
    EXPECT_FALSE(std::filesystem::exists(folder / kListingFileName));
}

} // namespace
} // namespace kelvor
