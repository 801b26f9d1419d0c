// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_file.h"

#include "circuit/sample_datafile.h"
#include "files/file_io.h"
#include "kelvor_error.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace kelvor {
namespace {

namespace fs = std::filesystem;
using testing::RecordingMessages;
using testing::TempFolder;

const std::string kToday = "5 Mar 2027";

const char* const kDefaultText = "[Parameters]\r\n"
                                 "Datafilename=HPFILTER.DAT\r\n"
                                 "GraphOriginX=0.5\r\n"
                                 "GraphOriginY=0.5\r\n"
                                 "GraphScaleXY=200\r\n"
                                 "BoldFont=0\r\n"
                                 "GraphBoxColour=12632256\r\n"
                                 "FCode=8\r\n"
                                 "FSStr=250\r\n"
                                 "FFStr=360\r\n"
                                 "SqFStr=3k\r\n"
                                 "WidthStr=200u\r\n"
                                 "GraphScale=25\r\n"
                                 "GraphTop=0\r\n"
                                 "Updated=5 Mar 2027\r\n";

void ExpectSameSettings(const Settings& actual, const Settings& expected) {
    EXPECT_EQ(actual.Datafilename, expected.Datafilename);
    EXPECT_EQ(actual.GraphOriginX, expected.GraphOriginX);
    EXPECT_EQ(actual.GraphOriginY, expected.GraphOriginY);
    EXPECT_EQ(actual.GraphScaleXY, expected.GraphScaleXY);
    EXPECT_EQ(actual.BoldFont, expected.BoldFont);
    EXPECT_EQ(actual.GraphBoxColour, expected.GraphBoxColour);
    EXPECT_EQ(actual.FCode, expected.FCode);
    EXPECT_EQ(actual.FSStr, expected.FSStr);
    EXPECT_EQ(actual.FFStr, expected.FFStr);
    EXPECT_EQ(actual.SqFStr, expected.SqFStr);
    EXPECT_EQ(actual.WidthStr, expected.WidthStr);
    EXPECT_EQ(actual.GraphScale, expected.GraphScale);
    EXPECT_EQ(actual.GraphTop, expected.GraphTop);
    EXPECT_EQ(actual.RecentDatafiles, expected.RecentDatafiles);
}

Settings ChangedSettings() {
    Settings settings;
    settings.Datafilename = "AMP.DAT";
    settings.GraphOriginX = "1.25";
    settings.GraphOriginY = "0.75";
    settings.GraphScaleXY = "150";
    settings.BoldFont = true;
    settings.GraphBoxColour = 16777215;
    settings.FCode = 53;
    settings.FSStr = "10";
    settings.FFStr = "100k";
    settings.SqFStr = "1k";
    settings.WidthStr = "5u";
    settings.GraphScale = 10;
    settings.GraphTop = -20;
    return settings;
}

TEST(SettingsText, KeysInOrderWithCrLfAndUpdatedLast) {
    EXPECT_EQ(SettingsText(Settings{}, kToday), kDefaultText);
    const Settings changed = ChangedSettings();
    ExpectSameSettings(ParseSettingsText(SettingsText(changed, kToday)), changed);
}

TEST(SettingsText, ValuesCannotBreakTheirLine) {
    Settings settings;
    settings.FSStr = "1\r\nFCode=3";
    settings.FFStr = std::string(40, '9');
    const std::string text = SettingsText(settings, kToday);
    const Settings back = ParseSettingsText(text);
    EXPECT_EQ(back.FCode, 8);
    EXPECT_EQ(back.FSStr, "1  FCode=3");
    EXPECT_EQ(back.FFStr, std::string(30, '9'));
}

std::vector<std::string> InUse(const Settings& settings) {
    std::vector<std::string> names;
    for (const std::string& name : settings.RecentDatafiles) {
        if (!name.empty()) {
            names.push_back(name);
        }
    }
    return names;
}

// Each step opens or forgets one name; the list after it, most recent first.
TEST(RecentDatafiles, LatestFirstOnceAndAtMostEight) {
    const struct {
        char action; // 'o' opened, 'f' forgotten
        std::string name;
        std::vector<std::string> after;
    } steps[] = {
        {'o', "A.DAT", {"A.DAT"}},
        {'o', "B.DAT", {"B.DAT", "A.DAT"}},
        {'o', "A.DAT", {"A.DAT", "B.DAT"}},
        {'o', "", {"A.DAT", "B.DAT"}},
        {'o', "a.dat", {"a.dat", "A.DAT", "B.DAT"}}, // names are as case-sensitive as the disk
        {'f', "A.DAT", {"a.dat", "B.DAT"}},
        {'f', "GONE.DAT", {"a.dat", "B.DAT"}},
        {'o', "3", {"3", "a.dat", "B.DAT"}},
        {'o', "4", {"4", "3", "a.dat", "B.DAT"}},
        {'o', "5", {"5", "4", "3", "a.dat", "B.DAT"}},
        {'o', "6", {"6", "5", "4", "3", "a.dat", "B.DAT"}},
        {'o', "7", {"7", "6", "5", "4", "3", "a.dat", "B.DAT"}},
        {'o', "8", {"8", "7", "6", "5", "4", "3", "a.dat", "B.DAT"}},
        {'o', "9", {"9", "8", "7", "6", "5", "4", "3", "a.dat"}}, // the oldest goes
        {'o', "a.dat", {"a.dat", "9", "8", "7", "6", "5", "4", "3"}},
    };
    Settings settings;
    for (const auto& step : steps) {
        if (step.action == 'o') {
            RememberRecentDatafile(settings, step.name);
        } else {
            ForgetRecentDatafile(settings, step.name);
        }
        EXPECT_EQ(InUse(settings), step.after) << step.action << ' ' << step.name;
        ExpectSameSettings(ParseSettingsText(SettingsText(settings, kToday)), settings);
    }
}

// After the other keys and before "Updated", only the places in use; a hand-edited list with
// gaps, repeats and names with folders reads as the names alone, in order.
TEST(RecentDatafiles, KeptAfterTheOtherKeysAndReadWithoutGaps) {
    Settings settings;
    RememberRecentDatafile(settings, "OLD.DAT");
    RememberRecentDatafile(settings, "NEW.DAT");
    const std::string text = SettingsText(settings, kToday);
    EXPECT_NE(text.find("GraphTop=0\r\nRecent1=NEW.DAT\r\nRecent2=OLD.DAT\r\nUpdated="),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("Recent3"), std::string::npos);

    const Settings read = ParseSettingsText("[Parameters]\r\nRecent2=B.DAT\r\nRecent5=A.DAT\r\n"
                                            "Recent6=B.DAT\r\nRecent7=../X.DAT\r\n"
                                            "Recent8=/tmp/Y.DAT\r\nRecent9=C.DAT\r\n");
    EXPECT_EQ(InUse(read), (std::vector<std::string>{"B.DAT", "A.DAT"}));
}

TEST(ParseSettings, ToleratesOtherLineEndsCaseSpacesAndOtherSections) {
    const std::string text = "junk before any section\n"
                             "FCode=1\n"
                             "[Other]\r"
                             "FCode=2\r"
                             "  [ parameters ]  \n"
                             "fcode = 44 \r\n"
                             "FCODE=45\r\n"
                             "no equals sign here\n"
                             "=\n"
                             "; GraphTop=7\n"
                             "  GRAPHTOP\t=\t-12\t\n"
                             "SqFStr=  1.5k  \n"
                             "GraphBoxColour=$FF\n"
                             "[Later]\n"
                             "GraphScale=99\n";
    const Settings settings = ParseSettingsText(text);
    EXPECT_EQ(settings.FCode, 44);
    EXPECT_EQ(settings.GraphTop, -12);
    EXPECT_EQ(settings.SqFStr, "1.5k");
    EXPECT_EQ(settings.GraphBoxColour, 255);
    EXPECT_EQ(settings.GraphScale, 25);
    // An editor that saves UTF-8 may put a byte-order mark before the section line.
    EXPECT_EQ(ParseSettingsText("\xEF\xBB\xBF[Parameters]\r\nFCode=3\r\n").FCode, 3);
}

TEST(ParseSettings, JunkValuesGiveDefaults) {
    const struct {
        const char* text;
        bool bold;
        int32_t fcode;
    } cases[] = {
        {"[Parameters]\r\nBoldFont=2\r\nFCode=abc\r\n", true, 8},
        {"[Parameters]\r\nBoldFont=-1\r\nFCode=4.2\r\n", true, 8},
        {"[Parameters]\r\nBoldFont=0\r\nFCode=2147483648\r\n", false, 8},
        {"[Parameters]\r\nBoldFont=yes\r\nFCode=\r\n", false, 8},
        {"[Parameters]\r\nBoldFont=1\r\nFCode=0x10\r\n", true, 16},
    };
    for (const auto& c : cases) {
        const Settings settings = ParseSettingsText(c.text);
        EXPECT_EQ(settings.BoldFont, c.bold) << c.text;
        EXPECT_EQ(settings.FCode, c.fcode) << c.text;
    }
    EXPECT_NE(SettingsText(ParseSettingsText(cases[0].text), kToday).find("BoldFont=1\r\n"),
              std::string::npos);
}

TEST(ParseSettings, LongValuesAreCutAndHugeLinesAndNulBytesAreHarmless) {
    const std::string forty(40, 'D');
    std::string text = "[Parameters]\r\nDatafilename=" + forty + "\r\n";
    text += "GraphOriginX=" + std::string(5'000'000, '7') + "\r\n";
    text += std::string("FSStr=12\0junk\r\n", 15);
    text += std::string("Fc\0ode=3\r\n", 10);
    text += std::string(1'000'000, '\0') + "\r\nWidthStr=50u\r\n";
    text += "SqFStr=3k" + std::string(40, ' ') + "tail\r\n"; // the cut ends among blanks
    const Settings settings = ParseSettingsText(text);
    EXPECT_EQ(settings.SqFStr, "3k");
    EXPECT_EQ(settings.Datafilename, std::string(30, 'D'));
    EXPECT_EQ(settings.GraphOriginX, std::string(30, '7'));
    EXPECT_EQ(settings.FSStr, "12");
    EXPECT_EQ(settings.FCode, 8);
    EXPECT_EQ(settings.WidthStr, "50u");
}

TEST(ParseSettings, RandomBytesNeverBreakTheReader) {
    std::mt19937 random(20070101);
    const std::string alphabet = "[]=\r\n \t\0ParmetsFCodBlnx$-0123456789";
    for (int round = 0; round < 300; ++round) {
        std::string text = round % 2 ? "[Parameters]\r\n" : "";
        const int length = static_cast<int>(random() % 2000);
        for (int i = 0; i < length; ++i) {
            text += round % 3 == 0 ? static_cast<char>(random() & 0xff)
                                   : alphabet[random() % alphabet.size()];
        }
        const Settings settings = ParseSettingsText(text);
        EXPECT_LE(settings.Datafilename.size(), kSettingsTextCapacity);
        EXPECT_LE(settings.FSStr.size(), kSettingsTextCapacity);
        // What was read is written so that it reads back the same.
        ExpectSameSettings(ParseSettingsText(SettingsText(settings, kToday)), settings);
    }
}

TEST(ReadSettings, FirstRunWritesTheSampleAndTheSettings) {
    TempFolder folder;
    RecordingMessages messages;
    const Settings settings = ReadSettings(folder.path(), messages, kToday);
    EXPECT_EQ(settings.Datafilename, "HPFILTER.DAT");
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].kind, RecordingMessages::Entry::Warning);
    EXPECT_EQ(messages.entries[0].text, "  Making new file HPFILTER.DAT  ");
    EXPECT_EQ(folder.Read("HPFILTER.DAT"), SampleDatafileText(kToday));
    EXPECT_EQ(folder.Read("KELVOR.INI"), kDefaultText);
}

TEST(ReadSettings, KeepsAnExistingDatafileAndRewritesTheFile) {
    TempFolder folder;
    folder.Write("AMP.DAT", "x");
    folder.Write("KELVOR.INI", "[Parameters]\nDatafilename=AMP.DAT\nBoldFont=2\nFCode=abc\n"
                               "Updated=1 Jan 2001\n");
    RecordingMessages messages;
    const Settings settings = ReadSettings(folder.path(), messages, kToday);
    EXPECT_EQ(settings.Datafilename, "AMP.DAT");
    EXPECT_TRUE(settings.BoldFont);
    EXPECT_EQ(settings.FCode, 8);
    EXPECT_TRUE(messages.entries.empty());
    EXPECT_FALSE(fs::exists(folder / "HPFILTER.DAT"));
    EXPECT_EQ(folder.Read("KELVOR.INI"), SettingsText(settings, kToday));
    EXPECT_NE(
        folder.Read("KELVOR.INI").find("BoldFont=1\r\nGraphBoxColour=12632256\r\nFCode=8\r\n"),
        std::string::npos);
}

TEST(ReadSettings, MissingOrUnsafeDatafileFallsBackToTheSample) {
    const std::string forty = std::string(26, 'A') + ".DAT" + std::string(10, 'X');
    const struct {
        std::string named;
        bool createNamed;
        std::string expected;
    } cases[] = {
        {"GONE.DAT", false, "HPFILTER.DAT"}, {"../HPFILTER.DAT", false, "HPFILTER.DAT"},
        {"SUB", false, "HPFILTER.DAT"}, // a folder, not a file
        {forty, true, "HPFILTER.DAT"},  // only the full 40-character name exists
        {forty, false, forty.substr(0, 30)},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        folder.Write("HPFILTER.DAT", "mine");
        fs::create_directory(folder / "SUB");
        if (c.createNamed) {
            folder.Write(c.named, "x");
        } else if (c.expected != "HPFILTER.DAT") {
            folder.Write(c.expected, "x");
        }
        folder.Write("KELVOR.INI", "[Parameters]\r\nDatafilename=" + c.named + "\r\n");
        RecordingMessages messages;
        EXPECT_EQ(ReadSettings(folder.path(), messages, kToday).Datafilename, c.expected)
            << c.named;
        EXPECT_TRUE(messages.entries.empty()) << c.named;
        EXPECT_EQ(folder.Read("HPFILTER.DAT"), "mine") << c.named;
    }
}

TEST(ReadSettings, UnusableSettingsFileGivesDefaultsSilently) {
    TempFolder folder;
    folder.Write("HPFILTER.DAT", "mine");
    fs::create_directory(folder / "KELVOR.INI");
    RecordingMessages messages;
    const Settings settings = ReadSettings(folder.path(), messages, kToday);
    ExpectSameSettings(settings, Settings{});
    EXPECT_TRUE(messages.entries.empty());
    EXPECT_TRUE(fs::is_directory(folder / "KELVOR.INI"));
}

TEST(ReadSettings, OversizedSettingsFileGivesDefaultsWithAWarning) {
    TempFolder folder;
    folder.Write("HPFILTER.DAT", "mine");
    folder.Write("KELVOR.INI",
                 "[Parameters]\r\nFCode=3\r\n" + std::string(kSettingsSizeLimit, ' '));
    RecordingMessages messages;
    ExpectSameSettings(ReadSettings(folder.path(), messages, kToday), Settings{});
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_NE(messages.entries[0].text.find("KELVOR.INI : it is larger than 1 MB"),
              std::string::npos)
        << messages.entries[0].text;
    EXPECT_EQ(folder.Read("KELVOR.INI"), kDefaultText);
}

TEST(ReadSettings, SampleThatCannotBeWrittenIsAnError) {
    TempFolder folder;
    RecordingMessages messages;
    EXPECT_THROW(ReadSettings(folder / "NOSUCH", messages, kToday), KelvorError);
    EXPECT_THROW(WriteSettings(folder / "NOSUCH", Settings{}, kToday), KelvorError);
    EXPECT_FALSE(fs::exists(folder / "NOSUCH"));
}

} // namespace
} // namespace kelvor
