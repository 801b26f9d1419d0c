// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/plot_export.h"

#include "files/file_io.h"
#include "kelvor_error.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <qcustomplot.h>

namespace kelvor::plot {
namespace {

[[noreturn]] void Fail(const QString& path, const QString& why) {
    throw KelvorError(
        QStringLiteral("Cannot write %1: %2").arg(QFileInfo(path).fileName(), why).toStdString());
}

} // namespace

void PaintPlot(QCustomPlot& plot, QPaintDevice& device, const QRectF& page, QSize size) {
    QCPPainter painter;
    if (!painter.begin(&device)) {
        throw KelvorError("Cannot draw the plot");
    }
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    painter.setViewport(page.toRect());
    painter.setWindow(0, 0, size.width(), size.height());
    plot.toPainter(&painter, size.width(), size.height());
    painter.end();
}

std::optional<PictureKind> PictureKindOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) {
        return PictureKind::Png;
    }
    if (suffix == QLatin1String("pdf")) {
        return PictureKind::Pdf;
    }
    if (suffix == QLatin1String("svg")) {
        return PictureKind::Svg;
    }
    return std::nullopt;
}

void SavePlot(QCustomPlot& plot, const QString& path, PictureKind kind, QSize size, double scale) {
    // Drawn in memory first, then written as the program writes every file.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    switch (kind) {
    case PictureKind::Png: {
        const QPixmap picture = plot.toPixmap(size.width(), size.height(), scale);
        if (!picture.save(&buffer, "PNG")) {
            Fail(path, QStringLiteral("the picture could not be encoded"));
        }
        break;
    }
    case PictureKind::Pdf: {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(72); // one logical pixel is one point
        pdf.setCreator(QStringLiteral("KELVOR2007"));
        pdf.setPageLayout(
            QPageLayout(QPageSize(QSizeF(size), QPageSize::Point, QString(), QPageSize::ExactMatch),
                        QPageLayout::Portrait, QMarginsF()));
        PaintPlot(plot, pdf, QRectF(QPointF(0, 0), QSizeF(size)), size);
        break;
    }
    case PictureKind::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("Bode plot"));
        PaintPlot(plot, svg, QRectF(QPointF(0, 0), QSizeF(size)), size);
        break;
    }
    }
    buffer.close();
    WriteFileAtomically(QFile::encodeName(path).toStdString(),
                        std::string_view(buffer.data().constData(),
                                         static_cast<std::size_t>(buffer.data().size())));
}

} // namespace kelvor::plot
