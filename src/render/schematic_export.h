// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "schematic/schematic_geometry.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace kelvor::render {

enum class SchematicFileKind { Svg, Pdf, Png };

// By the file name's extension, in any case; nothing for another extension.
std::optional<SchematicFileKind> SchematicFileKindOf(const QString& path);

// The drawing as the bytes of a picture file: one drawing unit is one point in SVG and PDF, and
// the PNG has two pixels per unit, sharp on a display at 200 %.
QByteArray SchematicFileBytes(const schematic::Drawing& drawing, SchematicFileKind kind);

// Writes the picture atomically; throws KelvorError naming the file and the reason.
void SaveSchematic(const schematic::Drawing& drawing, const QString& path, SchematicFileKind kind);

} // namespace kelvor::render
