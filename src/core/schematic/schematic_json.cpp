// SPDX-License-Identifier: GPL-3.0-or-later
#include "schematic/schematic_json.h"

#include "text/concat.h"

#include <cstdio>
#include <sstream>

namespace kelvor::schematic {
namespace {

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string At(Point p) {
    return Concat({"[", std::to_string(p.x), ", ", std::to_string(p.y), "]"});
}

std::string Outline(const Box& box) {
    return Concat({"[", std::to_string(box.x0), ", ", std::to_string(box.y0), ", ",
                   std::to_string(box.x1), ", ", std::to_string(box.y1), "]"});
}

template <typename Items, typename Write>
void List(std::ostringstream& out, const char* name, const Items& items, Write write, bool last) {
    out << " " << Quoted(name) << ": [";
    for (std::size_t i = 0; i < items.size(); ++i) {
        out << (i == 0 ? "\n  " : ",\n  ");
        write(items[i]);
    }
    out << (items.empty() ? "]" : "\n ]") << (last ? "\n" : ",\n");
}

} // namespace

std::string DrawingJson(const Drawing& drawing) {
    std::ostringstream out;
    out << "{\n";
    List(
        out, "components", drawing.components,
        [&](const DrawnComponent& c) {
            out << "{\"line\": " << c.line << ", \"kind\": " << Quoted(std::string(1, c.kind))
                << ", \"name\": " << Quoted(c.name) << ", \"box\": " << Outline(c.box)
                << ", \"pins\": [";
            for (std::size_t i = 0; i < c.pins.size(); ++i) {
                out << (i == 0 ? "" : ", ") << "{\"node\": " << c.pins[i].node
                    << ", \"at\": " << At(c.pins[i].at) << "}";
            }
            out << "]}";
        },
        false);
    List(
        out, "wires", drawing.wires,
        [&](const Wire& w) {
            out << "{\"node\": " << w.node << ", \"from\": " << At(w.from)
                << ", \"to\": " << At(w.to) << "}";
        },
        false);
    auto point = [&](const NodePoint& p) {
        out << "{\"node\": " << p.node << ", \"at\": " << At(p.at) << "}";
    };
    List(out, "junctions", drawing.junctions, point, false);
    List(out, "grounds", drawing.grounds, point, false);
    List(
        out, "terminals", drawing.terminals,
        [&](const Terminal& t) {
            out << "{\"role\": " << (t.role == TerminalRole::In ? "\"in\"" : "\"out\"")
                << ", \"node\": " << t.node << ", \"at\": " << At(t.at) << "}";
        },
        false);
    List(
        out, "labels", drawing.labels,
        [&](const Label& l) {
            out << "{\"text\": " << Quoted(l.text) << ", \"box\": " << Outline(l.box) << "}";
        },
        true);
    out << "}\n";
    return out.str();
}

} // namespace kelvor::schematic
