#include "cli/cli.h"

#include "circuit/sample_datafile.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <sstream>

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

TEST_F(CliTest, BadDatafileIsRefusedByComputingCommands) {
    const CliRun run = Cli({"response", "BAD.DAT", "1k"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.substr(0, 32), "Cannot Run  -  Error in Datafile");
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
