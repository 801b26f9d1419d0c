// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell/setup_pictures.h"

#include "app/common/window_fonts.h"
#include "render/program_icon.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace kelvor::app {
namespace {

const QColor kNavy(0, 0, 128);

} // namespace

QImage SetupLogo() {
    QImage logo(kLogoWidth, kLogoHeight, QImage::Format_RGB32);
    logo.fill(kNavy);
    QPainter painter(&logo);
    painter.setPen(QPen(QColor(255, 255, 0), 1));
    painter.drawPolyline(render::SquareWavePolyline(8, kLogoWidth - 8, 36, 50, 32));
    QFont name = PixelFont("Arial", 22, true);
    name.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(name);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 2, kLogoWidth, 30), Qt::AlignCenter, "KELVOR2007");
    return logo;
}

QIcon SetupIcon() {
    return QIcon(QPixmap::fromImage(render::ProgramIconImage(render::kProgramIconGrid)));
}

} // namespace kelvor::app
