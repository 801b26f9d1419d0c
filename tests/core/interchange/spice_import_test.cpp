// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/spice_import.h"

#include "circuit/datafile_reader.h"
#include "circuit/datafile_text.h"
#include "examples/example_catalogue.h"
#include "files/file_io.h"
#include "interchange/decimal_value.h"
#include "interchange/spice_export.h"
#include "interchange/spice_fidelity.h"
#include "kelvor_error.h"
#include "text/eng_value.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace kelvor {
namespace {

TEST(SpiceNumbers, DatafileTextKeepsEveryDigit) {
    const std::pair<const char*, const char*> cases[] = {
        {"4.7k", "4.7k"},
        {"4K7", "4k"},
        {"1e-15", "0.001p"},
        {"2.2e10", "22G"},
        {"10uF", "10u"},
        {"100\xC2\xB5"
         "F",
         "100u"}, // the micro sign in UTF-8
        {"100\xCE\xBC"
         "F",
         "100u"},            // the Greek mu
        {"4.7\xB5", "4.7u"}, // Latin-1
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

// "100µF" in a Datafile was 100 F: the number's reading stopped at the sign.
TEST(SpiceNumbers, TheDatafileReaderTakesTheMicroSign) {
    // The sign reads exactly as the letter u does; a unit alone is no scale.
    const std::pair<const char*, const char*> cases[] = {
        {"C 1 2 100\xC2\xB5"
         "F",
         "100u"},
        {"C 1 2 100\xCE\xBC"
         "F",
         "100u"},
        {"C 1 2 2.2\xB5", "2.2u"},
        {"C 1 2 100F", "100"},
    };
    for (const auto& [line, same] : cases) {
        bool ok = true;
        const ComponentRecord record = ParseComponentText(line, ok);
        EXPECT_TRUE(ok) << line;
        EXPECT_EQ(record.values[0], ParseEngValue(same, ok)) << line;
    }
}

SpiceImportOptions Options(const std::string& in = "in", const std::string& out = "out",
                           const std::string& common = "0") {
    SpiceImportOptions options;
    options.inputNode = in;
    options.outputNode = out;
    options.commonNode = common;
    options.deckName = "deck.cir";
    options.today = "7 Dec 2026";
    return options;
}

SpiceImport Import(const std::string& deck, const std::string& in = "in",
                   const std::string& out = "out", const std::string& common = "0") {
    return ImportSpiceDeck(ReadSpiceDeck(deck), Options(in, out, common));
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

TEST(SpiceImport, NodesAreNumberedAndNamed) {
    const std::string datafile = Import("title\r* words\n"
                                        "VIN in 0 AC 1\n"
                                        "R1 in mid 1k\n"
                                        "+ ; a continued line\n"
                                        "\t\r; control characters and a comment\n"
                                        "C1 mid 0 1n $ comment\n"
                                        "r2 MID out 2.2K\n"
                                        "R3 out 0 1meg\n"
                                        "R9 mid mid 5\n") // both ends on one node: left out
                                     .datafile;
    // A lone CR ends a line as LF does: "* words" is a comment line of its own.
    const std::string expected =
        "                      title                        Rev. 1         7 Dec 2026\r\n"
        "\r\n"
        "                 NodeIn = 1        NodeOut = 2        NodeCom = 3\r\n"
        "\r\n"
        "*        Imported from deck.cir\r\n"
        "*        Node   1 = in\r\n"
        "*        Node   2 = out\r\n"
        "*        Node   3 = 0\r\n"
        "*        Node   4 = mid\r\n"
        "\r\n"
        "         R  1 4       1k  R1\r\n"
        "         C  4 3       1n  C1\r\n"
        "         R  4 2       2.2k  r2\r\n"
        "         R  2 3       1M  R3\r\n";
    EXPECT_EQ(datafile, expected);
    CircuitState state;
    EXPECT_TRUE(ParseDatafileText(datafile, state, "").ok);
}

// One small deck per rule: the Datafile's component lines it gives, and a note it must carry.
TEST(SpiceImport, DecksAsPeopleWriteThem) {
    struct Case {
        const char* what;
        std::string deck;
        const char* lines; // the component lines, "|" between them
        const char* note;  // nullptr: no note expected
    };
    const std::string head = "t\nV1 in 0 AC 1\n";
    const Case cases[] = {
        {"harmless commands are skipped",
         head + "R1 in out 1k\nR2 out 0 1k\n.tran 1u 1m\n.op\n.options reltol=1e-4\n"
                ".control\nrun\nplot v(out)\n.endc\n.meas ac x max v(out)\n.end\nR9 x y 1\n",
         "R  1 2       1k  R1|R  2 3       1k  R2", "line 5: .tran: skipped"},
        {"a .control block is one note", head + "R1 in out 1k\nR2 out 0 1k\n.control\nrun\n.endc\n",
         "R  1 2       1k  R1|R  2 3       1k  R2", "line 5: .control: skipped to .endc (line 7)"},
        {"an unused .model is skipped", head + ".model dd d is=1e-14\nR1 in out 1k\nR2 out 0 1k\n",
         "R  1 2       1k  R1|R  2 3       1k  R2",
         "line 3: .model dd: skipped: no element uses it"},
        {"IC= is skipped", head + "R1 in out 1k\nC1 out 0 1u IC=2.5\n",
         "R  1 2       1k  R1|C  2 3       1u  C1", "line 4: C1: ic=2.5 skipped"},
        {"Rser on an inductor is its resistance", head + "R1 in out 1k\nL1 out 0 10m Rser=0.5\n",
         "R  1 2       1k  R1|L  2 3       10m  500m  L1", nullptr},
        {"Rser on a capacitor needs a node", head + "R1 in out 1k\nC1 out 0 1u Rser=2\n",
         "R  1 2       1k  R1|C  2 4       1u  C1|R  4 3       2  C1.rser", nullptr},
        {"Rpar and Cpar stand across", head + "R1 in out 1k\nL1 out 0 1m Rpar=10k Cpar=5p\n",
         "R  1 2       1k  R1|L  2 3       1m  L1|R  2 3       10k  L1.rpar|C  2 3       5p  "
         "L1.cpar",
         "every coil 1 uohm of series resistance: L1"},
        {"a 0 V source joins its nodes, named as the deck spells them",
         head + "R1 IN Amp 1k\nVAMP amp OUT 0\nR2 Out Gnd 1k\n",
         "R  1 2       1k  R1|R  2 3       1k  R2",
         "line 4: VAMP: a 0 V source joins nodes Amp and OUT"},
        {"a 0 ohm resistor joins its nodes", head + "R1 in a 1k\nRLINK a out 0\nR2 out 0 1k\n",
         "R  1 2       1k  R1|R  2 3       1k  R2", "line 4: RLINK: a 0 ohm resistor joins"},
        {"DC 0 is a 0 V source too", head + "R1 in a 1k\nVS out a DC 0\nR2 out 0 1k\n",
         "R  1 2       1k  R1|R  2 3       1k  R2", "VS: a 0 V source joins"},
        {"E against ground is an op-amp", head + "R1 in m 1k\nR2 m out 10k\nE1 out 0 0 m 100k\n",
         "R  1 4       1k  R1|R  4 2       10k  R2|A  3 4 2     100  1000G  1000G  E1",
         "line 5: E1: an op-amp of gain 100k (100 dB)"},
        {"a value below the floor is noted", head + "R1 in out 1e-30\nR2 out 0 1k\n",
         "R  1 2       1u  R1|R  2 3       1k  R2",
         "line 3: R1: the value 1e-30 is below the Datafile's least resistance"},
        {"the ground may be called gnd", "t\nV1 in GND AC 1\nR1 in out 1k\nR2 out gnd 1k\n",
         "R  1 2       1k  R1|R  2 3       1k  R2", nullptr},
        {"a deck without a title", "R1 in out 1k\nR2 out 0 1k\nV1 in 0 AC 1\n",
         "R  1 2       1k  R1|R  2 3       1k  R2", nullptr},
        {"a micro sign in a deck",
         head + "R1 in out 1k\nC1 out 0 100\xC2\xB5"
                "F\n",
         "R  1 2       1k  R1|C  2 3       100u  C1", nullptr},
        {"control characters stay out of the Datafile", head + "R1\x01x in out 1k\nR2 out 0 1k\n",
         "R  1 2       1k  R1?x|R  2 3       1k  R2", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SpiceImport imported;
        try {
            imported = Import(c.deck);
        } catch (const KelvorError& error) {
            ADD_FAILURE() << error.what();
            continue;
        }
        std::string lines;
        for (const std::string& line : SplitDatafileLines(imported.datafile)) {
            if (line.starts_with("         ") && line.size() > 9 && line[9] != ' ') {
                lines += (lines.empty() ? "" : "|") + line.substr(9);
            }
        }
        EXPECT_EQ(lines, c.lines);
        if (c.note != nullptr) {
            EXPECT_NE(Joined(imported.notes).find(c.note), std::string::npos)
                << Joined(imported.notes);
        }
        CircuitState state;
        EXPECT_TRUE(ParseDatafileText(imported.datafile, state, "").ok);
    }
    EXPECT_NE(Import("R1 in out 1k\nR2 out 0 1k\n").datafile.find("  deck  "), std::string::npos)
        << "a deck without a title is titled by its file name";
}

TEST(SpiceImport, EveryInexpressibleConstructIsListedWithItsLine) {
    const std::string longDigits(100000, '7');
    const std::string deck = "faults\n"                                    // 1
                             ".model qn npn\n"                             // 2
                             ".param twice={2*r}\n"                        // 3
                             "Q1 out in 0 qn\n"                            // 4
                             "R1 in out {twice}\n"                         // 5
                             "R2 in 0 {Missing}\n"                         // 6
                             "X1 in out NoSub\n"                           // 7
                             "L1 in 0 1m\n"                                // 8
                             "L2 out 0 1m\n"                               // 9
                             "L3 mid 0 1m\n"                               // 10
                             "K1 L1 L2 0.5\n"                              // 11
                             "K2 L1 L3 0.5\n"                              // 12
                             "G1 out 0 in mid 1m\n"                        // 13
                             "V2 mid 0 5\n"                                // 14
                             "C1 in out -5p\n"                             // 15
                             "R3 in out 1k tc1=0.1\n"                      // 16
                             ".subckt loop a\nX9 a loop\n.ends\n"          // 17-19
                             "X2 in loop\n"                                // 20
                             "R4 in out 1234567890123456789012345678901\n" // 21
                             ".param a={b} b={a}\n"                        // 22
                             "R5 in out {a}\n"                             // 23
                             ".subckt loop b\n.ends\n"                     // 24-25
                             "R6 in out 1e400\n"                           // 26
                             "R7 in out R\n"                               // 27
                             "R8 in out {" +
                             longDigits +
                             "}\n"                  // 28
                             "E1 out mid in 0 2\n"; // 29
    try {
        Import(deck);
        FAIL() << "imported";
    } catch (const SpiceImportRefused& error) {
        const std::string message = error.what();
        std::size_t last = 0;
        for (const char* expected :
             {"line 4: Q1: element type 'q'", "line 5: R1: the expression {2*r}",
              "line 6: R2: parameter Missing is not defined", "line 7: X1: no subcircuit NoSub",
              "line 12: K2: L1 is coupled twice", "line 13: G1: a controlled source",
              "line 14: V2: only the source that drives", "line 15: C1: the negative value -5p",
              "line 16: R3: 'tc1=0.1' cannot be expressed", "line 18: x2.x9.x9",
              "line 21: R4: the value 1234567890123456789012345678901 needs more characters",
              "line 23: R5: the parameters a -> b -> a are defined by one another",
              "line 24: .subckt loop: defined a second time (first on line 17)",
              "line 26: R6: the value 1e400 is too large",
              "line 27: R7: cannot read the value R: "
              "write {R} for a parameter",
              "line 28: R8: the value 7777",
              "line 29: E1: a "
              "voltage-controlled voltage source is expressed as an op-amp"}) {
            const std::size_t at = message.find(expected);
            EXPECT_NE(at, std::string::npos) << expected << "\n" << message.substr(0, 4000);
            if (at != std::string::npos) {
                EXPECT_GE(at, last) << expected << " out of line order";
                last = at;
            }
        }
        EXPECT_FALSE(error.RolesOnly());
    }
    try {
        Import("t\nR1 in out 1k\nR2 out 0 1k\n.subckt twice a\nX1 a twice\nX2 a twice\n.ends\n"
               "X3 in twice\n");
        ADD_FAILURE() << "a subcircuit that calls itself twice";
    } catch (const KelvorError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("grows beyond 100000 lines"), std::string::npos);
        EXPECT_NE(message.find(" more"), std::string::npos);
        EXPECT_LT(message.size(), 40000u);
    }
    for (const auto& [in, out, fault] : {std::tuple{"in", "nowhere", "--out nowhere"},
                                         std::tuple{"in", "in", "three different"}}) {
        try {
            Import("t\nR1 in out 1k\nR2 out 0 1k\n", in, out);
            ADD_FAILURE() << fault;
        } catch (const SpiceImportRefused& error) {
            EXPECT_NE(std::string(error.what()).find(fault), std::string::npos) << error.what();
            EXPECT_TRUE(error.RolesOnly());
        }
    }
}

// Long instance names in nested calls grew the expanded deck to a gigabyte; it stops at a few.
TEST(SpiceImport, ExpansionIsBoundedInBytes) {
    const std::string name(3000, 'n');
    std::string deck = "t\n.subckt s0 a\nR1 a 0 1\n.ends\n";
    for (int level = 1; level <= 6; ++level) {
        deck += ".subckt s" + std::to_string(level) + " a\n";
        for (int call = 0; call < 8; ++call) {
            deck += "X" + name + std::to_string(call) + " a s" + std::to_string(level - 1) + "\n";
        }
        deck += ".ends\n";
    }
    deck += "X1 in s6\n";
    const SpiceDeck read = ReadSpiceDeck(deck);
    ASSERT_FALSE(read.problems.empty());
    EXPECT_NE(read.problems.front().find("MB"), std::string::npos) << read.problems.front();
    std::size_t bytes = 0;
    for (const SpiceElement& element : read.elements) {
        bytes += element.name.size() + element.spelled.size() + element.nodes[0].size();
    }
    EXPECT_LT(bytes, 20'000'000u);
}

// Every example but the transformers (whose coupling the export fixes at one frequency) comes
// back from its own export as the very same components: kind, nodes, values to the last bit.
TEST(SpiceImport, OwnExportsComeBackAsTheSameLines) {
    const std::filesystem::path folder = KELVOR_EXAMPLES_DIR;
    int compared = 0;
    for (const ExampleEntry& example : ReadExampleCatalogue(folder)) {
        SCOPED_TRACE(example.fileName);
        const std::string original = ReadWholeFile(folder / example.fileName);
        CircuitState state;
        const ParseOutcome parsed = ParseDatafileText(original, state, "");
        if (std::any_of(parsed.records.begin(), parsed.records.end(),
                        [](const ComponentRecord& r) { return r.kind == 'T'; })) {
            continue;
        }
        const std::string deck = WriteSpiceNetlist(example.fileName, original, {});
        const std::string in = std::to_string(state.NodeIn);
        const std::string out = std::to_string(state.NodeOut);
        SpiceImport imported;
        try {
            imported = Import(deck, in, out);
        } catch (const KelvorError& error) {
            ADD_FAILURE() << error.what();
            continue;
        }
        CircuitState back;
        const ParseOutcome reread = ParseDatafileText(imported.datafile, back, "");
        ASSERT_TRUE(reread.ok) << imported.datafile;
        EXPECT_EQ(back.CircuitTitle, state.CircuitTitle);
        // The import numbers the nodes anew and names each by the number it had.
        std::map<int, int> originalNode;
        for (const std::string& line : SplitDatafileLines(imported.datafile)) {
            if (line.starts_with("*        Node ")) {
                const std::string name = line.substr(line.find(" = ") + 3);
                originalNode[std::stoi(line.substr(14, 3))] =
                    name == "0" ? state.NodeCom : std::stoi(name);
            }
        }
        ASSERT_EQ(reread.records.size(), parsed.records.size()) << imported.datafile;
        for (std::size_t i = 1; i < parsed.records.size(); ++i) {
            const ComponentRecord& a = parsed.records[i];
            const ComponentRecord& b = reread.records[i];
            EXPECT_EQ(a.kind, b.kind) << i;
            for (std::size_t n = 0; n < a.nodes.size(); ++n) {
                EXPECT_EQ(a.nodes[n], b.nodes[n] == 0 ? 0 : originalNode[b.nodes[n]]) << i;
            }
            for (std::size_t v = 0; v < a.values.size(); ++v) {
                EXPECT_EQ(a.values[v], b.values[v]) << i << " value " << v;
            }
        }
        const SpiceFidelity fidelity = MeasureFidelity(imported, {10, 100e3L});
        EXPECT_TRUE(fidelity.failure.empty()) << fidelity.failure;
        EXPECT_LT(fidelity.gainDb, 1e-9L);
        EXPECT_LT(fidelity.phaseDegrees, 1e-8L);
        ++compared;
    }
    EXPECT_GE(compared, 6);

    // An edited group is read element by element: the changed resistor is an R of its own
    // value, the untouched op-amp its line again.
    std::string edited = WriteSpiceNetlist("INVAMP.DAT", ReadWholeFile(folder / "INVAMP.DAT"), {});
    const std::size_t r1 = edited.find("R1 1 2 1000 $");
    ASSERT_NE(r1, std::string::npos) << edited;
    edited.replace(r1, 11, "R1 1 2 2200");
    const std::string datafile = Import(edited, "1", "3").datafile;
    EXPECT_NE(datafile.find("         R  1 4       2.200k  R1\r\n"), std::string::npos) << datafile;
    EXPECT_NE(datafile.find("         A  3 4 2     80  10M  10M\r\n"), std::string::npos)
        << datafile;
}

// R1 of 1e-12 ohm becomes the Datafile's 1 uohm: with 1 mF after it the Datafile has a pole at
// 1 / (2 pi 1e-9 s) = 159 kHz where the deck's lies a million times higher. At 100 kHz,
// w = 2 pi 1e5, the gain differs by 10 log10(1 + (w 1e-9)^2) - 10 log10(1 + (w 1e-15)^2) and
// the phase by atan(w 1e-9) - atan(w 1e-15), computed here in closed form.
TEST(SpiceFidelity, MatchesTheClosedFormOfAnRcWithATinyResistor) {
    const SpiceImport imported =
        Import("rc\nV1 in 0 AC 1\nR1 in out 1e-12\nC1 out 0 1m\n.ac dec 10 10 100k\n");
    const SpiceFidelity fidelity = MeasureFidelity(
        imported,
        FidelityRange(
            ReadSpiceDeck("rc\nV1 in 0 AC 1\nR1 in out 1e-12\nC1 out 0 1m\n.ac dec 10 10 100k\n"),
            {}));
    const long double w = 2 * std::numbers::pi_v<long double> * 1e5L;
    const long double gainDb =
        10 * std::log10(1 + w * w * 1e-18L) - 10 * std::log10(1 + w * w * 1e-30L);
    const long double phase =
        (std::atan(w * 1e-9L) - std::atan(w * 1e-15L)) * 180 / std::numbers::pi_v<long double>;
    // Both solve in extended precision; 1e-9 relative is far above their rounding.
    EXPECT_NEAR(fidelity.gainDb, gainDb, gainDb * 1e-9L);
    EXPECT_NEAR(fidelity.phaseDegrees, phase, phase * 1e-9L);
    EXPECT_EQ(fidelity.atFrequency, 1e5L);
    EXPECT_TRUE(FidelityWarns(fidelity)); // 0.036 degrees
    EXPECT_EQ(FidelityLine(fidelity), "Fidelity: largest difference 1.7e-06 dB, 3.6e-02 degrees "
                                      "(at 100 kHz) between 10 Hz and 100 kHz; raised to a "
                                      "Datafile floor: R1");
}

} // namespace
} // namespace kelvor
