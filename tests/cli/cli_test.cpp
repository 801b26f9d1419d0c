// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"

#include "circuit/sample_datafile.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvor::cli {
namespace {

struct CliRun {
    int status;
    std::string out, err;
};

class CliTest : public ::testing::Test {
protected:
    CliTest() {
        folder.Write("HPFILTER.DAT", SampleDatafileText("7 Dec 2026"));
        folder.Write("BAD.DAT", "My filter Rev. 1\r\n\r\nNodeIn = 1 NodeOut = 1 NodeCom = 3\r\n"
                                "R 1 3 1k\r\nX 1 2\r\n");
    }
    CliRun Cli(std::vector<std::string> arguments) {
        for (std::string& argument : arguments) {
            if (argument.ends_with(".DAT")) {
                argument = (folder / argument).string();
            }
        }
        std::ostringstream out, err;
        const int status = RunCli(arguments, out, err);
        return {status, out.str(), err.str()};
    }
    testing::TempFolder folder;
};

TEST_F(CliTest, CheckReportsAsTheWarningBoxWould) {
    const CliRun good = Cli({"check", "HPFILTER.DAT"});
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.out, "ok\n");

    const CliRun bad = Cli({"check", "BAD.DAT"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "\n  Error in Header - top line\n  Error in Line 1\n"
                       "  Error in In/Out/Com Nodes\n");

    const CliRun listed = Cli({"check", "HPFILTER.DAT", "--list"});
    EXPECT_NE(listed.out.find("NoNodes = 5"), std::string::npos);
    EXPECT_NE(listed.out.find("HPFILTER.DAT    Rev.1"), std::string::npos);
    EXPECT_EQ(listed.out.find('\r'), std::string::npos);

    // No file is written: the folder still holds just the two Datafiles.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        ++files;
    }
    EXPECT_EQ(files, 2);
}

TEST_F(CliTest, ResponseRowsMatchTheTable) {
    const CliRun run = Cli({"response", "HPFILTER.DAT", "1k", "100"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::string heading, first, second;
    std::getline(lines, heading);
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(heading.substr(0, 16), "  Frequency (Hz)");
    EXPECT_EQ(first.substr(0, 12), "          1k");
    EXPECT_NE(first.find("42.0"), std::string::npos);
    EXPECT_NE(first.find("9.00"), std::string::npos);
    EXPECT_NE(first.find("5.34"), std::string::npos);
    EXPECT_NE(second.find("-37.469"), std::string::npos);

    const CliRun extended = Cli({"response", "HPFILTER.DAT", "1k", "--extended"});
    EXPECT_NE(extended.out.find("E+0001"), std::string::npos);
}

TEST_F(CliTest, SweepPrintsEveryColumnAndTheProposal) {
    const CliRun run = Cli({"sweep", "HPFILTER.DAT", "--fcode", "8", "--csv"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    int rows = 0;
    std::string last;
    while (std::getline(lines, line)) {
        if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0]))) {
            ++rows;
        }
        last = line;
    }
    EXPECT_EQ(rows, 620);
    EXPECT_EQ(last.substr(0, 18), "# proposed_top_db ");
    EXPECT_NE(run.out.find("\n23,92.99"), std::string::npos);

    const CliRun all = Cli({"sweep", "HPFILTER.DAT", "--from", "250", "--to", "360", "--all"});
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_NE(all.out.find("zout_ohms"), std::string::npos);
}

TEST_F(CliTest, BadArgumentsAndFilesGiveStatusTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"check"},
        {"check", "MISSING.DAT"},
        {"check", "HPFILTER.DAT", "--bogus"},
        {"response", "HPFILTER.DAT"},
        {"response", "HPFILTER.DAT", "-1"},
        {"response", "HPFILTER.DAT", "5K"},
        {"sweep", "HPFILTER.DAT"},
        {"sweep", "HPFILTER.DAT", "--fcode", "53"},
        {"sweep", "HPFILTER.DAT", "--from", "1k", "--to", "1k"},
        {"sweep", "HPFILTER.DAT", "--fcode"},
    };
    for (const auto& arguments : cases) {
        const CliRun run = Cli(arguments);
        EXPECT_EQ(run.status, 2) << ::testing::PrintToString(arguments);
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_NE(Cli({"check", "MISSING.DAT"}).err.find("MISSING.DAT"), std::string::npos);
    EXPECT_NE(Cli({"sweep", "HPFILTER.DAT", "--from", "1k", "--to", "1k"})
                  .err.find("Invalid Frequencies"),
              std::string::npos);
}

// The 21-character numbers of the extended form once ran together; every form now keeps its
// five columns apart, whatever the length of the frequency typed.
TEST_F(CliTest, ResponseColumnsStayApartInEveryForm) {
    const struct {
        std::vector<std::string> options;
        std::regex separator;
    } forms[] = {
        {{}, std::regex("  +")},
        {{"--extended"}, std::regex("  +")},
        {{"--csv"}, std::regex(",")},
        {{"--csv", "--extended"}, std::regex(",")},
    };
    for (const auto& form : forms) {
        std::vector<std::string> arguments = {"response", "HPFILTER.DAT", "1k",
                                              "1000.00000000000000"};
        arguments.insert(arguments.end(), form.options.begin(), form.options.end());
        const CliRun run = Cli(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        std::istringstream lines(run.out);
        std::string line;
        std::getline(lines, line); // the heading
        int rows = 0;
        while (std::getline(lines, line)) {
            ++rows;
            line.erase(0, line.find_first_not_of(' '));
            const std::vector<std::string> fields(
                std::sregex_token_iterator(line.begin(), line.end(), form.separator, -1),
                std::sregex_token_iterator());
            ASSERT_EQ(fields.size(), 5u) << line;
            for (const std::string& field : fields) {
                EXPECT_EQ(field.find(' '), std::string::npos) << line;
            }
            EXPECT_EQ(fields[1].front(), '-') << line;
            EXPECT_EQ(fields[4].substr(0, 3), "5.3") << line;
        }
        EXPECT_EQ(rows, 2) << ::testing::PrintToString(form.options);
    }
}

// Hostile files, folders and numbers end the command with a message that says why, never with
// an abort, a hang, or a NaN or infinity in the text.
TEST_F(CliTest, HostileInputEndsWithAClearMessage) {
    ASSERT_EQ(::mkfifo((folder / "PIPE.DAT").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("LOOP.DAT", (folder / "LOOP.DAT").c_str()), 0);
    folder.Write("HUGE.DAT", "");
    ASSERT_EQ(::truncate((folder / "HUGE.DAT").c_str(), (16 << 20) + 1), 0);
    folder.Write("UTF16.DAT", std::string("\xFF\xFEM\0y\0", 6));
    folder.Write("KEPT.BMP", "old");
    ASSERT_EQ(::chmod((folder / "KEPT.BMP").c_str(), 0444), 0);
    const std::string bmp = (folder / "G.BMP").string();
    const std::string inMissingFolder = (folder / "NOSUCH" / "G.BMP").string();
    const std::string readOnly = (folder / "KEPT.BMP").string();
    const struct {
        std::vector<std::string> arguments;
        const char* says;
    } cases[] = {
        {{"check", "/dev/zero"}, "/dev/zero : it is not a regular file"},
        {{"check", "PIPE.DAT"}, "PIPE.DAT : it is not a regular file"},
        {{"check", "HUGE.DAT"}, "HUGE.DAT : it is larger than 16 MB"},
        {{"check", "LOOP.DAT"}, "LOOP.DAT : Too many levels of symbolic links"},
        {{"check", "UTF16.DAT"}, "save it as 8-bit text"},
        {{"spice", "UTF16.DAT"}, "save it as 8-bit text"},
        {{"schematic", "UTF16.DAT", "--out", "s.svg"}, "save it as 8-bit text"},
        {{"tolerance", "UTF16.DAT", "--from", "10", "--to", "10k"}, "save it as 8-bit text"},
        {{"noise", "UTF16.DAT", "--from", "100", "--to", "10k"}, "save it as 8-bit text"},
        {{"sweep", "HPFILTER.DAT", "--from", "1e-4900", "--to", "1e4900"}, "Invalid Frequencies"},
        {{"pulse", "HPFILTER.DAT", "--width", "1e-4940", "--expansion", "1", "--out", bmp},
         "--width must be"},
        {{"square", "HPFILTER.DAT", "--freq", "1e4930", "--resolution", "high", "--out", bmp},
         "--freq must be"},
        {{"graph", "HPFILTER.DAT", "--fcode", "8", "--out", inMissingFolder},
         "G.BMP : No such file or directory"},
        {{"graph", "HPFILTER.DAT", "--fcode", "8", "--out", readOnly},
         "KEPT.BMP : the file is read-only"},
    };
    const std::regex notANumber("\\b(nan|inf)\\b", std::regex::icase);
    for (const auto& c : cases) {
        const CliRun run = Cli(c.arguments);
        const std::string shown = ::testing::PrintToString(c.arguments);
        EXPECT_EQ(run.status, 2) << shown;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << shown << "\n" << run.err;
        EXPECT_FALSE(std::regex_search(run.out + run.err, notANumber)) << shown;
    }
    EXPECT_EQ(folder.Read("KEPT.BMP"), "old");
    EXPECT_FALSE(std::filesystem::exists(folder / "G.BMP"));
}

// A circuit that reads well but cannot be computed (an op-amp with a corner frequency of 0
// divides by zero) is not a usage or file error.
TEST_F(CliTest, ComputationFaultExitsWithThree) {
    folder.Write("AMP.DAT", "Amp Rev. 1\r\n\r\nNodeIn = 1 NodeOut = 3 NodeCom = 4\r\n"
                            "R 1 2 1k\r\nA 4 2 3 80 10M 0\r\nR 2 3 10k\r\nR 3 4 1k\r\n");
    const CliRun run = Cli({"response", "AMP.DAT", "1k"});
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("division by zero"), std::string::npos) << run.err;
}

TEST_F(CliTest, BadDatafileIsRefusedByComputingCommands) {
    const CliRun run = Cli({"response", "BAD.DAT", "1k"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.substr(0, 32), "Cannot Run  -  Error in Datafile");
}

// Options may be joined to their values, "--" ends them, and whatever the line holds besides
// the command's own options is refused rather than taken as a file.
TEST_F(CliTest, CommandLineSyntax) {
    const CliRun spaced = Cli({"sweep", "HPFILTER.DAT", "--from", "250", "--to", "360"});
    const CliRun joined = Cli({"sweep", "--from=250", "HPFILTER.DAT", "--to=360"});
    ASSERT_EQ(spaced.status, 0) << spaced.err;
    EXPECT_EQ(joined.status, 0) << joined.err;
    EXPECT_EQ(joined.out, spaced.out);

    const struct {
        std::vector<std::string> arguments;
        int status;
        const char* says; // in the output, or in the errors when the status is not 0
    } cases[] = {
        {{"check", "HPFILTER.DAT", "--bogus"}, 2, "unknown option --bogus"},
        {{"check", "HPFILTER.DAT", "-x"}, 2, "unknown option -x"},
        {{"check", "HPFILTER.DAT", "--list", "--list"}, 2, "--list"},
        {{"sweep", "HPFILTER.DAT", "--fcode", "8", "--fcode", "9"}, 2, "--fcode"},
        {{"sweep", "HPFILTER.DAT", "--fcode"}, 2, "--fcode"},
        // After "--" an option's name is a file name.
        {{"check", "--", "--list"}, 2, "--list : No such file"},
        {{"check", "--", "--help"}, 2, "--help : No such file"},
        {{"check", "HPFILTER.DAT", "--version"}, 0, "kelvor-cli (KELVOR2007) "},
        {{"check", "-h"}, 0, "usage: kelvor-cli check"},
    };
    for (const auto& c : cases) {
        const CliRun run = Cli(c.arguments);
        const std::string shown = ::testing::PrintToString(c.arguments);
        EXPECT_EQ(run.status, c.status) << shown << "\n" << run.err;
        EXPECT_NE((c.status == 0 ? run.out : run.err).find(c.says), std::string::npos)
            << shown << "\n"
            << run.out << run.err;
    }
}

TEST_F(CliTest, HelpForTheToolAndEveryCommand) {
    for (const char* command : {"check", "response", "sweep", "setup"}) {
        const CliRun run = Cli({command, "--help"});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.substr(0, 17), std::string("usage: kelvor-cli"));
    }
    EXPECT_EQ(Cli({"--help"}).status, 0);
}

} // namespace
} // namespace kelvor::cli
