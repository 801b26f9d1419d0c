// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/commands.h"
#include "files/file_io.h"
#include "render/headless_gui.h"
#include "render/schematic_export.h"
#include "schematic/schematic_circuit.h"
#include "schematic/schematic_json.h"
#include "schematic/schematic_layout.h"

#include <QFile>
#include <ostream>

namespace kelvor::cli {

const char* const kSchematicHelp =
    "usage: kelvor-cli schematic FILE.dat --out DRAWING.svg|.pdf|.png [--json GEOMETRY.json]\n"
    "                            [--nodes]\n"
    "\n"
    "Draws the Datafile's circuit as a schematic: input on the left, output on the right,\n"
    "common at the bottom.\n"
    "  --out F    the picture, SVG, PDF or PNG by its extension\n"
    "  --json F   also the drawing's geometry: components with their boxes and pins, wires,\n"
    "             junctions, grounds, terminals and labels, in drawing units, y downwards\n"
    "  --nodes    label every net with its node number\n"
    "Exit status: 0 drawn, 1 Datafile with errors, 2 usage or file error.\n";

int RunSchematicCommand(CommandLine& line, CommandStreams streams) {
    std::optional<std::string> out, json;
    bool nodes = false;
    line.Value("--out", out);
    line.Value("--json", json);
    line.Flag("--nodes", nodes);
    const std::vector<std::string> positional = line.Parse();
    if (positional.size() != 1) {
        throw UsageError{"schematic takes exactly one Datafile"};
    }
    if (!out) {
        throw UsageError{"schematic needs --out FILE.svg, .pdf or .png"};
    }
    const std::optional<render::SchematicFileKind> kind =
        render::SchematicFileKindOf(QFile::decodeName(out->c_str()));
    if (!kind) {
        throw UsageError{"--out takes a .svg, .pdf or .png file"};
    }
    const ParsedDatafile parsed = ParseDatafileAt(positional[0]);
    if (!parsed.loaded.ok) {
        streams.err << "Cannot Draw  -  Error in Datafile" << ForTerminal(parsed.loaded.report)
                    << '\n';
        return kExitDatafileErrors;
    }
    const schematic::Circuit circuit = schematic::CircuitFromParse(parsed.loaded);
    schematic::LayoutOptions options;
    options.nodeNumbers = nodes;
    const schematic::Drawing drawing = schematic::LayOut(circuit, options);
    render::EnsureGuiApplication();
    render::SaveSchematic(drawing, QFile::decodeName(out->c_str()), *kind);
    if (json) {
        WriteFileAtomically(*json, schematic::DrawingJson(drawing));
    }
    return kExitOk;
}

} // namespace kelvor::cli
