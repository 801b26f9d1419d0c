// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/datafile_reader.h"
#include "files/file_io.h"
#include "schematic/schematic_circuit.h"
#include "schematic/schematic_json.h"
#include "schematic/schematic_layout.h"
#include "schematic/schematic_readback.h"
#include "solver/loaded_datafile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

namespace kelvor::schematic {
namespace {

Circuit CircuitOf(const std::string& text) {
    const LoadedDatafile datafile = LoadDatafileText(text, "7 Dec 2026");
    EXPECT_TRUE(datafile.ok) << datafile.report << "\n" << text;
    return CircuitFromParse(datafile);
}

std::string Datafile(int in, int out, int com, const std::vector<std::string>& lines) {
    std::ostringstream text;
    text << "Test Rev. 1 7 Dec 2026\r\n\r\nNodeIn = " << in << " NodeOut = " << out
         << " NodeCom = " << com << "\r\n";
    for (const std::string& line : lines) {
        text << line << "\r\n";
    }
    return text.str();
}

bool Inside(int low, int value, int high) {
    return low < value && value < high;
}

// What the drawing does wrong, judged from its geometry alone.
struct Faults {
    std::vector<std::string> list;
    int crossings = 0;
};

Faults Judge(const Drawing& drawing) {
    Faults faults;
    auto fault = [&](const std::string& what) { faults.list.push_back(what); };
    std::vector<std::pair<std::string, Box>> solids;
    for (const DrawnComponent& c : drawing.components) {
        solids.push_back({c.name, c.box});
    }
    for (const Label& label : drawing.labels) {
        solids.push_back({"label " + label.text, label.box});
    }
    for (const NodePoint& ground : drawing.grounds) {
        solids.push_back({"a ground symbol", GroundSymbolBox(ground.at)});
    }
    for (std::size_t a = 0; a < solids.size(); ++a) {
        for (std::size_t b = a + 1; b < solids.size(); ++b) {
            if (solids[a].second.Overlaps(solids[b].second)) {
                fault(solids[a].first + " overlaps " + solids[b].first);
            }
        }
    }
    const auto& wires = drawing.wires;
    for (const Wire& w : wires) {
        if (w.from.x != w.to.x && w.from.y != w.to.y) {
            fault("a slanted wire");
        }
        const Box span{std::min(w.from.x, w.to.x), std::min(w.from.y, w.to.y),
                       std::max(w.from.x, w.to.x), std::max(w.from.y, w.to.y)};
        for (const DrawnComponent& c : drawing.components) {
            const Box& b = c.box;
            const bool through =
                span.y0 == span.y1
                    ? Inside(b.y0, span.y0, b.y1) && span.x0 < b.x1 && b.x0 < span.x1
                    : Inside(b.x0, span.x0, b.x1) && span.y0 < b.y1 && b.y0 < span.y1;
            if (through) {
                fault("a wire of node " + std::to_string(w.node) + " runs through " + c.name);
            }
        }
    }
    for (std::size_t a = 0; a < wires.size(); ++a) {
        for (std::size_t b = a + 1; b < wires.size(); ++b) {
            const Wire& p = wires[a];
            const Wire& q = wires[b];
            const bool pFlat = p.from.y == p.to.y;
            const bool qFlat = q.from.y == q.to.y;
            if (pFlat == qFlat) {
                const bool sameLine = pFlat ? p.from.y == q.from.y : p.from.x == q.from.x;
                auto low = [&](const Wire& w) {
                    return pFlat ? std::min(w.from.x, w.to.x) : std::min(w.from.y, w.to.y);
                };
                auto high = [&](const Wire& w) {
                    return pFlat ? std::max(w.from.x, w.to.x) : std::max(w.from.y, w.to.y);
                };
                if (sameLine && low(p) < high(q) && low(q) < high(p) && p.node != q.node) {
                    fault("wires of nodes " + std::to_string(p.node) + " and " +
                          std::to_string(q.node) + " run along each other");
                }
                continue;
            }
            const Wire& h = pFlat ? p : q;
            const Wire& v = pFlat ? q : p;
            if (Inside(std::min(h.from.x, h.to.x), v.from.x, std::max(h.from.x, h.to.x)) &&
                Inside(std::min(v.from.y, v.to.y), h.from.y, std::max(v.from.y, v.to.y))) {
                ++faults.crossings;
            }
        }
    }
    for (const Terminal& t : drawing.terminals) {
        for (const DrawnComponent& c : drawing.components) {
            if (t.role == TerminalRole::In ? t.at.x >= c.box.x0 : t.at.x <= c.box.x1) {
                fault(std::string(t.role == TerminalRole::In ? "IN" : "OUT") + " is not beyond " +
                      c.name);
            }
        }
    }
    // The rail's symbol below everything; the others each below the body whose pin they sit on.
    for (std::size_t i = 0; i < drawing.grounds.size(); ++i) {
        const Point at = drawing.grounds[i].at;
        for (const DrawnComponent& c : drawing.components) {
            const bool own = std::any_of(c.pins.begin(), c.pins.end(),
                                         [&](const DrawnPin& pin) { return pin.at == at; });
            if ((i == 0 || own) && at.y <= c.box.y1) {
                fault("a ground symbol is not below " + c.name);
            }
        }
    }
    return faults;
}

std::string Joined(const std::vector<std::string>& list) {
    std::string text;
    for (const std::string& item : list) {
        text += item + "\n";
    }
    return text;
}

TEST(SchematicLayout, ExamplesReadBackWithoutFaultsOrCrossings) {
    // No example forces a crossing: with a ground symbol of its own wherever a part to common
    // would have to cross, the nets apart from common are planar in every one, the twin-T
    // and the tuned IF transformer included.
    const char* const examples[] = {
        "CEAMP.DAT",    "CROSSOVR.DAT", "FETBUFF.DAT",  "IFTRANS.DAT",
        "INVAMP.DAT",   "OUTTRANS.DAT", "RCLOWPAS.DAT", "SERIESLC.DAT",
        "SKLOWPAS.DAT", "TUNEDIF.DAT",  "TWINTNOT.DAT", "VALVEAMP.DAT",
    };
    for (const char* name : examples) {
        SCOPED_TRACE(name);
        const Circuit circuit =
            CircuitOf(ReadDatafileBytes(std::string(KELVOR_EXAMPLES_DIR) + "/" + name));
        for (const bool numbers : {false, true}) {
            const Drawing drawing = LayOut(circuit, {numbers});
            EXPECT_EQ(NetlistDifference(drawing, circuit), "");
            const Faults faults = Judge(drawing);
            EXPECT_EQ(Joined(faults.list), "");
            EXPECT_EQ(faults.crossings, 0);
        }
    }
}

TEST(SchematicLayout, ReadBackCatchesAWrongJoin) {
    const Circuit circuit = CircuitOf(Datafile(1, 3, 4, {"R 1 2 1k", "R 2 3 1k", "C 3 4 1n"}));
    Drawing drawing = LayOut(circuit);
    ASSERT_EQ(NetlistDifference(drawing, circuit), "");
    Drawing moved = drawing;
    // The second resistor's far pin moved onto the first one's near pin: nodes 1 and 3 joined.
    moved.components[1].pins[1].at = moved.components[0].pins[0].at;
    EXPECT_NE(NetlistDifference(moved, circuit), "");
    Drawing cut = drawing;
    cut.wires.clear();
    EXPECT_NE(NetlistDifference(cut, circuit), "");
}

std::vector<std::string> Ladder(int nodes) {
    std::vector<std::string> lines;
    for (int node = 1; node + 1 < nodes; ++node) {
        lines.push_back("R " + std::to_string(node) + " " + std::to_string(node + 1) + " 1k");
        lines.push_back("C " + std::to_string(node + 1) + " " + std::to_string(nodes) + " 1n");
    }
    return lines;
}

// Series-parallel two-terminal networks between `from` and `to`, grown at random.
void SeriesParallel(std::mt19937& random, int from, int to, int depth, int& nextNode,
                    std::vector<std::string>& lines) {
    const int choice = depth <= 0 ? 0 : static_cast<int>(random() % 3);
    if (choice == 0) {
        const char* kinds[] = {"R", "C", "L"};
        lines.push_back(std::string(kinds[random() % 3]) + " " + std::to_string(from) + " " +
                        std::to_string(to) + " 1m");
    } else if (choice == 1) {
        const int middle = nextNode++;
        SeriesParallel(random, from, middle, depth - 1, nextNode, lines);
        SeriesParallel(random, middle, to, depth - 1, nextNode, lines);
    } else {
        SeriesParallel(random, from, to, depth - 1, nextNode, lines);
        SeriesParallel(random, from, to, depth - 1, nextNode, lines);
    }
}

TEST(SchematicLayout, LaddersBridgesAndSeriesParallelNetworksHaveNoCrossings) {
    std::vector<std::pair<std::string, std::string>> cases;
    cases.push_back({"100-node ladder", Datafile(1, 99, 100, Ladder(100))});
    cases.push_back(
        {"bridge",
         Datafile(1, 3, 4, {"R 1 2 1k", "R 1 3 1k", "R 2 4 1k", "R 3 4 1k", "R 2 3 1k"})});
    // Paths side by side between input and output, with parts to common hung on the middle of
    // each: every one closes a loop with the main line, from above or below.
    cases.push_back({"three parallel paths",
                     Datafile(1, 3, 2,
                              {"C 1 4 1m", "R 4 3 1m", "C 1 5 1m", "C 5 3 1m", "R 1 6 1m",
                               "L 6 3 1m", "R 4 2 1m", "L 5 2 1m", "C 6 2 1m"})});
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 random(seed);
        std::vector<std::string> lines;
        // Input (1) to output (3), then the output's load to common (2).
        const int out = 3;
        int nextNode = 4;
        SeriesParallel(random, 1, out, 4, nextNode, lines);
        SeriesParallel(random, out, 2, 3, nextNode, lines);
        if (nextNode > 100) {
            continue;
        }
        cases.push_back(
            {"series-parallel seed " + std::to_string(seed), Datafile(1, out, 2, lines)});
    }
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name + "\n" + text);
        const Circuit circuit = CircuitOf(text);
        const Drawing drawing = LayOut(circuit);
        EXPECT_EQ(NetlistDifference(drawing, circuit), "");
        const Faults faults = Judge(drawing);
        EXPECT_EQ(Joined(faults.list), "");
        EXPECT_EQ(faults.crossings, 0);
    }
}

std::string RandomLine(std::mt19937& random, int nodes) {
    auto node = [&] { return static_cast<int>(random() % static_cast<unsigned>(nodes)) + 1; };
    auto distinct = [&](std::size_t count) {
        std::vector<int> picked;
        do {
            picked.clear();
            for (std::size_t i = 0; i < count; ++i) {
                picked.push_back(node());
            }
            // The reader refuses equal nodes on a two-terminal part, and on a coupled part's
            // first four.
        } while (std::all_of(picked.begin(), picked.begin() + std::min<std::ptrdiff_t>(4, count),
                             [&](int n) { return n == picked[0]; }) ||
                 (count == 2 && picked[0] == picked[1]));
        std::string text;
        for (int n : picked) {
            text += " " + std::to_string(n);
        }
        return text;
    };
    switch (random() % 9) {
    case 0:
        return "R" + distinct(2) + " 1k";
    case 1:
        return "C" + distinct(2) + " 1n";
    case 2:
        return "L" + distinct(2) + " 1m 2";
    case 3:
        return "M" + distinct(4) + " 1m 1m 0.5";
    case 4:
        return "T" + distinct(5) + " 0.5 1";
    case 5:
        return "B" + distinct(3) + " 100 1m";
    case 6:
        return "F" + distinct(3) + " 5m";
    case 7:
        return "V" + distinct(3) + " 1m 10k";
    default:
        return "A" + distinct(3);
    }
}

TEST(SchematicLayout, RandomCircuitsReadBackWithoutFaults) {
    // Small circuits for the placer, then larger ones on either side of where the channels
    // take over, with nodes that have a single pin.
    struct Size {
        unsigned seeds;
        int fewestNodes;
        int moreNodes;
        int fewestParts;
        int moreParts;
    };
    int crossings = 0;
    for (const Size size : {Size{150, 3, 14, 1, 16}, Size{6, 20, 40, 20, 70}}) {
        for (unsigned seed = 1; seed <= size.seeds; ++seed) {
            std::mt19937 random(seed);
            const int nodes = size.fewestNodes + static_cast<int>(random() % size.moreNodes);
            std::vector<std::string> lines;
            const int parts = size.fewestParts + static_cast<int>(random() % size.moreParts);
            for (int i = 0; i < parts; ++i) {
                lines.push_back(RandomLine(random, nodes));
            }
            // The roles must differ and the highest node must be in use, or the parser refuses.
            lines.push_back("C " + std::to_string(nodes - 1) + " " + std::to_string(nodes) + " 1n");
            const std::string text = Datafile(
                1, 2 + static_cast<int>(random() % static_cast<unsigned>(nodes - 2)), nodes, lines);
            SCOPED_TRACE(std::to_string(nodes) + " nodes, seed " + std::to_string(seed) + "\n" +
                         text);
            const Circuit circuit = CircuitOf(text);
            const Drawing drawing = LayOut(circuit, {seed % 2 == 0});
            EXPECT_EQ(NetlistDifference(drawing, circuit), "");
            const Faults faults = Judge(drawing);
            EXPECT_EQ(Joined(faults.list), "");
            crossings += faults.crossings;
        }
    }
    RecordProperty("crossings", crossings);
}

TEST(SchematicLayout, TangledCircuitsStillDrawEveryNet) {
    // 100 nodes: a chain with 200 parts between random nodes and transistors among them, and a
    // 10 x 10 resistor mesh; far past what the placer untangles, so drawn in channels.
    std::vector<std::pair<std::string, std::string>> cases;
    for (unsigned seed : {7U, 8U}) {
        std::mt19937 random(seed);
        auto node = [&] { return std::to_string(1 + random() % 100); };
        std::vector<std::string> lines;
        for (int n = 1; n < 100; ++n) {
            lines.push_back("R " + std::to_string(n) + " " + std::to_string(n + 1) + " 1k");
        }
        for (int i = 0; i < 200; ++i) {
            const std::string a = node();
            std::string b = node();
            while (b == a) {
                b = node();
            }
            lines.push_back(std::string(i % 2 == 0 ? "C " : "L ") + a + " " + b + " 1n");
            if (i % 10 == 0) {
                lines.push_back("B " + a + " " + b + " " + node() + " 100 1m");
            }
        }
        cases.push_back({"random seed " + std::to_string(seed), Datafile(1, 50, 100, lines)});
    }
    std::vector<std::string> mesh;
    for (int n = 1; n < 100; ++n) {
        if (n % 10 != 0 && n + 1 < 100) {
            mesh.push_back("R " + std::to_string(n) + " " + std::to_string(n + 1) + " 1k");
        }
        if (n + 10 < 100) {
            mesh.push_back("R " + std::to_string(n) + " " + std::to_string(n + 10) + " 1k");
        }
    }
    mesh.push_back("C 99 100 1n");
    cases.push_back({"mesh", Datafile(1, 99, 100, mesh)});
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        const Circuit circuit = CircuitOf(text);
        const Drawing drawing = LayOut(circuit, {true});
        EXPECT_EQ(NetlistDifference(drawing, circuit), "");
        EXPECT_EQ(Joined(Judge(drawing).list), "");
    }
}

TEST(SchematicLayout, JsonDescribesEveryItem) {
    const Circuit circuit =
        CircuitOf(Datafile(1, 2, 3, {"* a comment", "R 1 2 1k", "C 2 3 159.15n"}));
    const Drawing drawing = LayOut(circuit);
    const std::string json = DrawingJson(drawing);
    EXPECT_NE(json.find("{\"line\": 5, \"kind\": \"R\", \"name\": \"R1\", \"box\": ["),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"text\": \"159 nF\", \"box\": ["), std::string::npos) << json;
    EXPECT_NE(json.find("{\"role\": \"in\", \"node\": 1, \"at\": ["), std::string::npos) << json;
    EXPECT_EQ(std::count(json.begin(), json.end(), '{'), std::count(json.begin(), json.end(), '}'));
    std::size_t wires = 0;
    for (std::size_t at = json.find("\"from\""); at != std::string::npos;
         at = json.find("\"from\"", at + 1)) {
        ++wires;
    }
    EXPECT_EQ(wires, drawing.wires.size());
}

TEST(SchematicValues, ThreeDigitsWithPrefixAndUnit) {
    struct Case {
        long double value;
        const char* unit;
        const char* text;
    };
    const Case cases[] = {
        {47.0L, "\u03A9", "47 \u03A9"},
        {4700.0L, "\u03A9", "4.7 k\u03A9"},
        {159.15e-9L, "F", "159 nF"},
        {999.7L, "\u03A9", "1 k\u03A9"}, // rounding carries
        {1e-6L, "H", "1 \u00B5H"},
        {0.0L, "F", "0 F"},
        {2.2e6L, "\u03A9", "2.2 M\u03A9"},
        {80.0L, "dB", "80 dB"},
        {0.01L, "", "10m"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ValueWithUnit(c.value, c.unit), c.text) << static_cast<double>(c.value);
    }
}

} // namespace
} // namespace kelvor::schematic
