// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/schematic_export.h"

#include "files/file_io.h"
#include "kelvor_error.h"
#include "render/schematic_painter.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace kelvor::render {
namespace {

constexpr double kPngPixelsPerUnit = 2.0;

void PaintOnto(QPaintDevice& device, const schematic::Drawing& drawing, double scale) {
    QPainter painter;
    if (!painter.begin(&device)) {
        throw KelvorError("Cannot draw the schematic");
    }
    const schematic::Box& b = drawing.bounds;
    painter.scale(scale, scale);
    painter.translate(-b.x0, -b.y0);
    painter.fillRect(QRectF(b.x0, b.y0, b.x1 - b.x0, b.y1 - b.y0), SchematicColours{}.background);
    PaintSchematic(painter, drawing, SchematicColours{});
    painter.end();
}

} // namespace

std::optional<SchematicFileKind> SchematicFileKindOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg")) {
        return SchematicFileKind::Svg;
    }
    if (suffix == QLatin1String("pdf")) {
        return SchematicFileKind::Pdf;
    }
    if (suffix == QLatin1String("png")) {
        return SchematicFileKind::Png;
    }
    return std::nullopt;
}

QByteArray SchematicFileBytes(const schematic::Drawing& drawing, SchematicFileKind kind) {
    const schematic::Box& b = drawing.bounds;
    const QSize size(b.x1 - b.x0, b.y1 - b.y0);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    switch (kind) {
    case SchematicFileKind::Png:
        if (!SchematicImage(drawing, kPngPixelsPerUnit).save(&buffer, "PNG")) {
            throw KelvorError("Cannot encode the schematic as PNG");
        }
        break;
    case SchematicFileKind::Pdf: {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(72); // one unit is one point
        pdf.setCreator(QStringLiteral("KELVOR2007"));
        pdf.setPageLayout(
            QPageLayout(QPageSize(QSizeF(size), QPageSize::Point, QString(), QPageSize::ExactMatch),
                        QPageLayout::Portrait, QMarginsF()));
        PaintOnto(pdf, drawing, 1.0);
        break;
    }
    case SchematicFileKind::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("Schematic"));
        PaintOnto(svg, drawing, 1.0);
        break;
    }
    }
    buffer.close();
    return buffer.data();
}

void SaveSchematic(const schematic::Drawing& drawing, const QString& path, SchematicFileKind kind) {
    const QByteArray bytes = SchematicFileBytes(drawing, kind);
    WriteFileAtomically(
        QFile::encodeName(path).toStdString(),
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace kelvor::render
