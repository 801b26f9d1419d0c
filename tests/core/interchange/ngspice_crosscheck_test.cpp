// SPDX-License-Identifier: GPL-3.0-or-later
// The exported netlists run in ngspice, the widely used open-source SPICE simulator, and give
// this program's gain and phase; an imported deck gives the deck's own response. Skipped only
// when ngspice is not installed (scripts/build installs it).

#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "examples/example_catalogue.h"
#include "files/file_io.h"
#include "interchange/ideal_deck_circuit.h"
#include "interchange/spice_export.h"
#include "interchange/spice_import.h"
#include "solver/response.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iostream>
#include <sstream>

namespace kelvor {
namespace {

const std::filesystem::path kExamples = KELVOR_EXAMPLES_DIR;

// ngspice works in double precision; these are far above its rounding and far below any
// modelling difference.
constexpr double kGainToleranceDb = 1e-6;
constexpr double kPhaseToleranceDegrees = 1e-5;

struct AcPoint {
    long double frequency;
    double gainDb;
    double phaseDegrees;
};

bool NgspiceInstalled() {
    return std::system("command -v ngspice >/dev/null 2>&1") == 0;
}

long double ReadNumber(const std::string& text) {
    long double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Runs the netlist once in batch mode, with the output written at full precision.
std::vector<AcPoint> RunNgspice(const testing::TempFolder& folder, std::string netlist,
                                const std::string& outputNode) {
    const std::string control = ".options noopac\n.control\nset wr_singlescale\n"
                                "option numdgt=17\nrun\nwrdata ac.txt real(v(" +
                                outputNode + ")) imag(v(" + outputNode + "))\n.endc\n";
    netlist.insert(netlist.rfind(".end"), control);
    folder.Write("deck.cir", netlist);
    // Its exit status says whether the deck had .print lines, not whether it ran: the table it
    // writes is the proof.
    const std::string command = "cd '" + folder.path().string() +
                                "' && rm -f ac.txt && ngspice -b deck.cir >ngspice.log 2>&1";
    [[maybe_unused]] const int status = std::system(command.c_str());
    if (!std::filesystem::exists(folder / "ac.txt")) {
        ADD_FAILURE() << "ngspice wrote no results:\n" << folder.Read("ngspice.log");
        return {};
    }
    std::vector<AcPoint> points;
    std::istringstream table(folder.Read("ac.txt"));
    for (std::string f, re, im; table >> f >> re >> im;) {
        const double real = static_cast<double>(ReadNumber(re));
        const double imaginary = static_cast<double>(ReadNumber(im));
        points.push_back({ReadNumber(f), 20 * std::log10(std::hypot(real, imaginary)),
                          std::atan2(imaginary, real) * 180 / M_PI});
    }
    return points;
}

double PhaseDifference(double a, double b) {
    return std::remainder(a - b, 360.0);
}

struct Comparison {
    double worstGain = 0;
    double worstPhase = 0;
    int points = 0;
};

// This program's response from the Datafile at ngspice's own frequencies.
Comparison CompareWithProgram(const std::string& datafile, const std::vector<AcPoint>& spice) {
    CircuitState state;
    ParseOutcome outcome = ParseDatafileText(datafile, state, "7 Dec 2026");
    EXPECT_TRUE(outcome.ok) << outcome.report;
    const LoadedCircuit circuit = MakeLoadedCircuit(std::move(outcome.records), state);
    ResponseSolver solver;
    testing::RecordingMessages messages;
    Comparison comparison;
    for (const AcPoint& point : spice) {
        ResponsePoint ours;
        solver.ComputeResponse(circuit, point.frequency, ResponseForm::Display, ours, messages);
        comparison.worstGain = std::max(comparison.worstGain,
                                        std::fabs(static_cast<double>(ours.Gain) - point.gainDb));
        comparison.worstPhase = std::max(
            comparison.worstPhase,
            std::fabs(PhaseDifference(static_cast<double>(ours.Phase), point.phaseDegrees)));
        ++comparison.points;
    }
    return comparison;
}

bool HasTransformer(const std::string& datafile) {
    CircuitState state;
    const ParseOutcome outcome = ParseDatafileText(datafile, state, "");
    for (const ComponentRecord& record : outcome.records) {
        if (record.kind == 'T') {
            return true;
        }
    }
    return false;
}

std::string OutputNode(const std::string& datafile) {
    CircuitState state;
    ParseDatafileText(datafile, state, "");
    return std::to_string(state.NodeOut);
}

TEST(NgspiceCrossCheck, EveryExampleAgreesWithTheExportedNetlist) {
    if (!NgspiceInstalled()) {
        GTEST_SKIP() << "ngspice is not installed and could not be installed: no cross-check";
    }
    std::vector<ExampleEntry> examples = ReadExampleCatalogue(kExamples);
    std::vector<std::string> texts;
    for (const ExampleEntry& example : examples) {
        texts.push_back(ReadWholeFile(kExamples / example.fileName));
    }
    examples.push_back({"HPFILTER.DAT", "", "", 300, 3000});
    texts.push_back(SampleDatafileText("7 Dec 2026"));

    double worstGain = 0, worstPhase = 0;
    for (std::size_t i = 0; i < examples.size(); ++i) {
        const ExampleEntry& example = examples[i];
        SCOPED_TRACE(example.fileName);
        SpiceExportOptions options;
        options.acFrom = example.viewFrom;
        options.acTo = example.viewTo;
        // At least 20 points over the example's range.
        options.pointsPerDecade = static_cast<int>(
            std::ceil(19 / std::log10(static_cast<double>(example.viewTo / example.viewFrom))));
        const bool transformer = HasTransformer(texts[i]);
        if (transformer) {
            // Exact only where the coupling was taken: one point there.
            options.couplingFrequency = std::sqrt(example.viewFrom * example.viewTo);
            options.acFrom = options.acTo = options.couplingFrequency;
        }
        testing::TempFolder folder;
        const std::vector<AcPoint> spice = RunNgspice(
            folder, WriteSpiceNetlist(example.fileName, texts[i], options), OutputNode(texts[i]));
        ASSERT_GE(spice.size(), transformer ? 1u : 20u);

        const Comparison comparison = CompareWithProgram(texts[i], spice);
        EXPECT_LE(comparison.worstGain, kGainToleranceDb);
        EXPECT_LE(comparison.worstPhase, kPhaseToleranceDegrees);
        std::cout << "  " << example.fileName << ": " << comparison.points
                  << " points, largest differences " << comparison.worstGain << " dB, "
                  << comparison.worstPhase << " degrees\n";
        worstGain = std::max(worstGain, comparison.worstGain);
        worstPhase = std::max(worstPhase, comparison.worstPhase);
    }
    std::cout << "  all examples: largest differences " << worstGain << " dB, " << worstPhase
              << " degrees\n";
}

// A deck with a parametrised subcircuit, coupled coils and a controlled source, imported: the
// Datafile responds as the deck does, and so does the Datafile's own export. The Datafile adds
// what it always has, 1e-6 ohm in each coil and 1e-10 S across the controlled source's input,
// which moves the response by some 1e-6 dB here.
TEST(NgspiceCrossCheck, ImportedDeckRoundTrip) {
    if (!NgspiceInstalled()) {
        GTEST_SKIP() << "ngspice is not installed and could not be installed: no cross-check";
    }
    const std::string deck = "round trip\n"
                             ".param rload=10k cval=10n\n"
                             ".subckt rcsect a b params: r=1k c=1n\n"
                             "R1 a b {r}\n"
                             "C1 b 0 {c}\n"
                             ".ends\n"
                             "VIN in 0 AC 1\n"
                             "X1 in mid rcsect r=2.2k c={cval}\n"
                             "L1 mid 0 10m\n"
                             "L2 sec 0 40mH\n"
                             "K1 L1 L2 -0.9\n"
                             "R3 sec 0 1k\n"
                             "G1 out 0 sec 0 2m\n"
                             "R2 out 0 {rload}\n"
                             "C2 out 0 100p\n"
                             ".ac dec 5 100 1meg\n"
                             ".end\n";
    constexpr double kRoundTripGainDb = 2e-5;
    constexpr double kRoundTripPhaseDegrees = 2e-4;

    testing::TempFolder folder;
    const std::vector<AcPoint> original = RunNgspice(folder, deck, "out");
    ASSERT_EQ(original.size(), 21u);

    SpiceImportOptions options;
    options.inputNode = "in";
    options.outputNode = "out";
    options.deckName = "round.cir";
    options.today = "7 Dec 2026";
    const std::string datafile = ImportSpiceDeck(ReadSpiceDeck(deck), options).datafile;
    const Comparison imported = CompareWithProgram(datafile, original);
    EXPECT_LE(imported.worstGain, kRoundTripGainDb) << datafile;
    EXPECT_LE(imported.worstPhase, kRoundTripPhaseDegrees) << datafile;

    SpiceExportOptions exportOptions;
    exportOptions.acFrom = 100;
    exportOptions.acTo = 1e6L;
    exportOptions.pointsPerDecade = 5;
    const std::vector<AcPoint> exported =
        RunNgspice(folder, WriteSpiceNetlist("ROUND.DAT", datafile, exportOptions), "2");
    ASSERT_EQ(exported.size(), original.size());
    for (std::size_t i = 0; i < original.size(); ++i) {
        EXPECT_NEAR(exported[i].gainDb, original[i].gainDb, kRoundTripGainDb);
        EXPECT_NEAR(PhaseDifference(exported[i].phaseDegrees, original[i].phaseDegrees), 0,
                    kRoundTripPhaseDegrees);
    }
    const Comparison reexported = CompareWithProgram(datafile, exported);
    EXPECT_LE(reexported.worstGain, kGainToleranceDb);
    EXPECT_LE(reexported.worstPhase, kPhaseToleranceDegrees);
}

// The fidelity check's own solve of a deck's ideal elements (E, H sensing a 0 V source, K, G,
// Rser, Rpar, Cpar) gives what ngspice gives for the same deck.
TEST(NgspiceCrossCheck, IdealDeckSolveAgrees) {
    if (!NgspiceInstalled()) {
        GTEST_SKIP() << "ngspice is not installed and could not be installed: no cross-check";
    }
    const std::string common = "VIN in 0 AC 1\n"
                               "R1 in a 1k\n"
                               "E1 b 0 a 0 3\n"
                               "VS c d 0\n"
                               "H1 e 0 VS 100\n"
                               "R2 d 0 470\n"
                               "L2 e f 4m\n"
                               "L3 f2 0 1m\n"
                               "K1 L2 L3 0.7\n"
                               "R3 f 0 1k\n"
                               "R4 f2 0 330\n"
                               "G1 out 0 f2 0 2m\n"
                               "R5 out 0 2.2k\n"
                               ".ac dec 5 10 1meg\n"
                               ".end\n";
    // ngspice takes no Rser, Rpar or Cpar: its deck spells out what they stand for.
    const std::string deck = "ideal elements\nC1 a 0 10n Rser=50 Cpar=1n\n"
                             "L1 b c 10m Rser=2 Rpar=20k\n" +
                             common;
    const std::string spelledOut = "ideal elements\nC1 a x 10n\nRC1 x 0 50\nCP1 a 0 1n\n"
                                   "L1 b y 10m\nRL1 y c 2\nRP1 b c 20k\n" +
                                   common;
    testing::TempFolder folder;
    const std::vector<AcPoint> spice = RunNgspice(folder, spelledOut, "out");
    ASSERT_EQ(spice.size(), 26u);
    std::vector<SpiceElement> elements = ReadSpiceDeck(deck).elements;
    elements.erase(elements.begin() + 2); // the drive
    const IdealDeckCircuit circuit(elements, "in", "out", "0");
    for (const AcPoint& point : spice) {
        const std::optional<std::complex<long double>> gain = circuit.Gain(point.frequency);
        ASSERT_TRUE(gain.has_value());
        const double db = static_cast<double>(20 * std::log10(std::abs(*gain)));
        const double degrees = static_cast<double>(std::arg(*gain) * 180 / M_PI);
        EXPECT_NEAR(db, point.gainDb, kGainToleranceDb) << point.frequency;
        EXPECT_NEAR(PhaseDifference(degrees, point.phaseDegrees), 0, kPhaseToleranceDegrees)
            << point.frequency;
    }
}

} // namespace
} // namespace kelvor
