// SPDX-License-Identifier: GPL-3.0-or-later
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

CliRun Cli(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int status = RunCli(arguments, out, err);
    return {status, out.str(), err.str()};
}

TEST(SpiceCommand, NetlistLinesAndRefusals) {
    testing::TempFolder folder;
    folder.Write("HPFILTER.DAT", SampleDatafileText("7 Dec 2026"));
    folder.Write("BAD.DAT", "t Rev. 1\r\n\r\nNodeIn = 1 NodeOut = 2 NodeCom = 3\r\nX 1 2\r\n");
    const std::string good = (folder / "HPFILTER.DAT").string();

    const CliRun run = Cli({"spice", good});
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    int elements = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '*' || line[0] == '.' || line.starts_with("VIN")) {
            continue;
        }
        ++elements;
        EXPECT_NE(line.find(" $ line "), std::string::npos) << line;
    }
    EXPECT_EQ(elements, 7); // R; L, the sensing source and the drop of its 1e-6 ohm; R, C, C
    EXPECT_NE(run.out.find("VIN 3 0 DC 0 AC 1"), std::string::npos);
    EXPECT_NE(run.out.find("R1 1 0 0.2 $ line 7"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(".ac dec 10 10 1e+05\n.print ac vdb(5) vp(5)\n.end\n"),
              std::string::npos);

    const CliRun custom = Cli({"spice", good, "--ac-from", "1k", "--ac-to", "2k", "--ppd", "3"});
    EXPECT_NE(custom.out.find(".ac dec 3 1000 2000\n"), std::string::npos);

    const std::pair<std::vector<std::string>, int> refused[] = {
        {{"spice", good, "--at", "0"}, 2},
        {{"spice", good, "--ac-from", "2k", "--ac-to", "1k"}, 2},
        {{"spice", good, "--ppd", "0"}, 2},
        {{"spice", good, "--ppd", "2147483647"}, 2},
        {{"spice", good, "--ac-from", "1k", "--ac-to", "1e400"}, 2},
        {{"spice", good, "--at", "1e-400"}, 2},
        {{"spice", (folder / "BAD.DAT").string()}, 1},
        {{"spice", (folder / "MISSING.DAT").string()}, 2},
    };
    for (const auto& [arguments, status] : refused) {
        const CliRun failed = Cli(arguments);
        EXPECT_EQ(failed.status, status) << arguments.back();
        EXPECT_EQ(failed.out, "") << arguments.back();
        EXPECT_NE(failed.err, "") << arguments.back();
    }
}

TEST(ImportCommand, WritesNothingOnErrorAndListsNodes) {
    testing::TempFolder folder;
    folder.Write("deck.cir", "deck\nV1 in 0 AC 1\nR1 in out 1k\nD1 out 0 dmod\nR2 out 0 1k\n");
    const std::string deck = (folder / "deck.cir").string();

    const CliRun noNodes = Cli({"import", deck});
    EXPECT_EQ(noNodes.status, 2);
    EXPECT_NE(noNodes.err.find("the netlist's nodes are: in out 0"), std::string::npos)
        << noNodes.err;

    const CliRun failed = Cli({"import", deck, "--in", "IN", "--out", "out"});
    EXPECT_EQ(failed.status, 2);
    EXPECT_EQ(failed.out, "");
    EXPECT_NE(failed.err.find("line 4: D1: element type 'd'"), std::string::npos) << failed.err;
    // The importer names the node by its role, the tool by the option that chose it.
    const CliRun unused = Cli({"import", deck, "--in", "in", "--out", "nowhere"});
    EXPECT_EQ(unused.status, 2);
    EXPECT_NE(unused.err.find("the output node (--out) nowhere: no element"), std::string::npos)
        << unused.err;

    folder.Write("deck.cir", "deck\nV1 in 0 AC 1\nR1 in out 1k\nR2 out 0 1k\n.tran 1u 1m\n");
    const CliRun done = Cli({"import", deck, "--in", "IN", "--out", "out", "--common", "GND"});
    EXPECT_EQ(done.status, 0) << done.err;
    EXPECT_NE(done.out.find("         R  1 2       1k  R1\r\n"), std::string::npos) << done.out;
    EXPECT_NE(done.err.find("note: line 5: .tran: skipped"), std::string::npos) << done.err;
    EXPECT_NE(done.err.find("Fidelity: largest difference "), std::string::npos) << done.err;
    EXPECT_NE(done.err.find(" between 10 Hz and 100 kHz\n"), std::string::npos) << done.err;
    EXPECT_EQ(done.err.find("warning"), std::string::npos) << done.err;
}

// 1e-12 ohm beside 10 uohm: the Datafile's floor of 1 uohm makes a divider of 10/11, which is
// 20 log10(10/11) = -0.828 dB, where the deck gives 1 to 1e-7. Above --max-deviation nothing is
// written.
TEST(ImportCommand, FidelityLineAndMaxDeviation) {
    testing::TempFolder folder;
    folder.Write("tiny.cir", "tiny\nV1 in 0 AC 1\nR1 in out 1e-12\nR2 out 0 10u\n");
    const std::string deck = (folder / "tiny.cir").string();
    const std::vector<std::string> base = {"import", deck, "--in", "in", "--out", "out"};
    std::vector<std::string> ranged = base;
    ranged.insert(ranged.end(), {"--range", "1", "1k"});
    const CliRun warned = Cli(ranged);
    EXPECT_EQ(warned.status, 0) << warned.err;
    EXPECT_NE(warned.err.find("Fidelity: largest difference 8.3e-01 dB, 0.0e+00 degrees (at 1 Hz) "
                              "between 1 Hz and 1 kHz; raised to a Datafile floor: R1\n"),
              std::string::npos)
        << warned.err;
    EXPECT_NE(warned.err.find("warning: "), std::string::npos);
    EXPECT_NE(warned.out, "");

    std::vector<std::string> strict = base;
    strict.insert(strict.end(), {"--max-deviation", "0.5"});
    const CliRun refused = Cli(strict);
    EXPECT_EQ(refused.status, 3);
    EXPECT_EQ(refused.out, "");
    strict.back() = "0.9";
    EXPECT_EQ(Cli(strict).status, 0);
}

// The command works in the current folder, as the program does.
class InFolder {
public:
    explicit InFolder(const std::filesystem::path& folder)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(previous_); }

private:
    std::filesystem::path previous_;
};

// A link under an example's name is a file that is there, even one that points nowhere: the
// copy never goes through it to wherever it points.
TEST(SetupCommand, ExamplesAreCopiedAndOwnFilesKept) {
    testing::TempFolder folder;
    folder.Write("CEAMP.DAT", "mine");
    std::filesystem::create_symlink(folder / "outside" / "IFTRANS.DAT", folder / "IFTRANS.DAT");
    CliRun run;
    {
        InFolder here(folder.path());
        run = Cli({"setup", "--examples"});
    }
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(folder.Read("CEAMP.DAT"), "mine");
    EXPECT_NE(run.err.find("kept CEAMP.DAT"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("kept IFTRANS.DAT"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "outside"));
    EXPECT_NE(run.out.find("SKLOWPAS.DAT  "), std::string::npos) << run.out;
    EXPECT_TRUE(std::filesystem::exists(folder / "SKLOWPAS.DAT"));
    EXPECT_TRUE(std::filesystem::exists(folder / "KELVOR.INI"));
}

} // namespace
} // namespace kelvor::cli
