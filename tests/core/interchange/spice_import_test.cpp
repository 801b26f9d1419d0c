// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/spice_import.h"

#include "circuit/datafile_reader.h"
#include "interchange/decimal_value.h"
#include "kelvor_error.h"
#include "text/eng_value.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

TEST(SpiceNumbers, DatafileTextKeepsEveryDigit) {
    const std::pair<const char*, const char*> cases[] = {
        {"4.7k", "4.7k"},
        {"4K7", "4k"},
        {"1e-15", "0.001p"},
        {"2.2e10", "22G"},
        {"10uF", "10u"},
        {"1meg", "1M"},
        {"1MEGohm", "1M"},
        {"1m", "1m"},
        {"0.5", "500m"},
        {"1.50k", "1.50k"},
        {"0", "0"},
        {"-0", "0"},
        {"1mil", "25.4u"},
        {"1e", "1"},
        {"123456789", "123.456789M"},
        {"1e30", "1000000000000000000000G"},
        {".25p", "0.25p"},
        {"+3.3", "3.3"},
        {"-5", nullptr},
    };
    for (const auto& [spice, datafile] : cases) {
        SCOPED_TRACE(spice);
        const std::optional<DecimalValue> value = ParseSpiceNumber(spice);
        ASSERT_TRUE(value.has_value());
        const std::optional<std::string> text = DatafileValueText(*value);
        if (datafile == nullptr) {
            EXPECT_FALSE(text.has_value());
            continue;
        }
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(*text, datafile);
        bool ok = true;
        ParseEngValue(*text, ok);
        EXPECT_TRUE(ok) << "the Datafile reader refuses " << *text;
    }
    EXPECT_FALSE(ParseSpiceNumber("k1").has_value());
    EXPECT_FALSE(ParseSpiceNumber("{r}").has_value());
}

std::string Import(const std::string& deck, const std::string& in = "in",
                   const std::string& out = "out") {
    SpiceImportOptions options;
    options.inputNode = in;
    options.outputNode = out;
    options.deckName = "deck.cir";
    options.today = "7 Dec 2026";
    return ImportSpiceDeck(ReadSpiceDeck(deck), options);
}

TEST(SpiceImport, NodesAreNumberedAndNamed) {
    const std::string datafile = Import("title\rwords\n"
                                        "VIN in 0 AC 1\n"
                                        "R1 in mid 1k\n"
                                        "+ ; a continued line\n"
                                        "\t\r; control characters and a comment\n"
                                        "C1 mid 0 1n $ comment\n"
                                        "r2 MID out 2.2K\n"
                                        "R3 out 0 1meg\n"
                                        "R9 mid mid 5\n"); // both ends on one node: left out
    const std::string expected =
        "                   title_words                     Rev. 1         7 Dec 2026\r\n"
        "\r\n"
        "                 NodeIn = 1        NodeOut = 2        NodeCom = 3\r\n"
        "\r\n"
        "*        Imported from deck.cir\r\n"
        "*        Node   1 = in\r\n"
        "*        Node   2 = out\r\n"
        "*        Node   3 = 0\r\n"
        "*        Node   4 = mid\r\n"
        "\r\n"
        "         R  1 4       1k  r1\r\n"
        "         C  4 3       1n  c1\r\n"
        "         R  4 2       2.2k  r2\r\n"
        "         R  2 3       1M  r3\r\n";
    EXPECT_EQ(datafile, expected);
    CircuitState state;
    EXPECT_TRUE(ParseDatafileText(datafile, state, "").ok);
}

TEST(SpiceImport, EveryInexpressibleConstructIsListedWithItsLine) {
    const std::string deck = "faults\n"               // 1
                             ".model qn npn\n"        // 2
                             ".param twice={2*r}\n"   // 3
                             "Q1 out in 0 qn\n"       // 4
                             "R1 in out {twice}\n"    // 5
                             "R2 in 0 {missing}\n"    // 6
                             "X1 in out nosub\n"      // 7
                             "L1 in 0 1m\n"           // 8
                             "L2 out 0 1m\n"          // 9
                             "L3 mid 0 1m\n"          // 10
                             "K1 L1 L2 0.5\n"         // 11
                             "K2 L1 L3 0.5\n"         // 12
                             "G1 out 0 in mid 1m\n"   // 13
                             "V2 mid 0 5\n"           // 14
                             "C1 in out -5p\n"        // 15
                             "R3 in out 1k tc1=0.1\n" // 16
                             ".subckt loop a\nX9 a loop\n.ends\n"
                             "X2 in loop\n" // 20
                             "R4 in out 1234567890123456789012345678901\n";
    try {
        Import(deck);
        FAIL() << "imported";
    } catch (const KelvorError& error) {
        const std::string message = error.what();
        for (const char* expected :
             {"line 2: .model: ", "line 4: q1: element type 'q'",
              "line 5: r1: the expression {2*r}", "line 6: r2: parameter missing is not defined",
              "line 7: x1: no subcircuit nosub", "line 12: k2: l1 is coupled twice",
              "line 13: g1: a controlled source", "line 14: v2: only the source that drives",
              "line 15: c1: the negative value -5p", "line 16: r3: 'tc1=0.1' cannot be expressed",
              "line 18: x2.x9.x9", "nested",
              "line 21: r4: the value 1234567890123456789012345678901 needs more characters"}) {
            EXPECT_NE(message.find(expected), std::string::npos) << expected << "\n" << message;
        }
    }
    try {
        Import("t\nR1 in out 1k\nR2 out 0 1k\n.subckt twice a\nX1 a twice\nX2 a twice\n.ends\n"
               "X3 in twice\n");
        ADD_FAILURE() << "a subcircuit that calls itself twice";
    } catch (const KelvorError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("grows beyond 100000 lines"), std::string::npos);
        EXPECT_NE(message.find(" more"), std::string::npos);
        EXPECT_LT(message.size(), 20000u);
    }
    for (const auto& [in, out, fault] : {std::tuple{"in", "nowhere", "--out nowhere"},
                                         std::tuple{"in", "in", "three different"}}) {
        try {
            Import("t\nR1 in out 1k\nR2 out 0 1k\n", in, out);
            ADD_FAILURE() << fault;
        } catch (const KelvorError& error) {
            EXPECT_NE(std::string(error.what()).find(fault), std::string::npos) << error.what();
        }
    }
}

} // namespace
} // namespace kelvor
