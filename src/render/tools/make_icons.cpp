// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the desktop's icons of the program (PNGs of every size the icon theme asks for, and a
// scalable SVG) with the code that draws the icon in the program's windows. Run by the build.

#include "render/headless_gui.h"
#include "render/program_icon.h"

#include <QDir>
#include <QPainter>
#include <QSvgGenerator>
#include <iostream>

namespace {

constexpr int kPixelSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

bool WriteScalableIcon(const QString& file) {
    QSvgGenerator svg;
    svg.setFileName(file);
    svg.setSize(QSize(kelvor::render::kProgramIconGrid, kelvor::render::kProgramIconGrid));
    svg.setViewBox(QRect(0, 0, kelvor::render::kProgramIconGrid, kelvor::render::kProgramIconGrid));
    svg.setTitle("KELVOR2007");
    QPainter painter;
    if (!painter.begin(&svg)) {
        return false;
    }
    kelvor::render::PaintProgramIcon(painter, kelvor::render::kProgramIconGrid);
    return painter.end();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: kelvor-make-icons ICON_THEME_FOLDER ICON_NAME\n";
        return 2;
    }
    kelvor::render::EnsureGuiApplication();
    const QString theme = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (const int size : kPixelSizes) {
        const QString folder = QString("%1/%2x%2/apps").arg(theme).arg(size);
        if (!QDir().mkpath(folder) ||
            !kelvor::render::ProgramIconImage(size).save(folder + "/" + name + ".png")) {
            std::cerr << "kelvor-make-icons: cannot write the " << size << " pixel icon in "
                      << folder.toStdString() << '\n';
            return 1;
        }
    }
    const QString scalable = theme + "/scalable/apps";
    if (!QDir().mkpath(scalable) || !WriteScalableIcon(scalable + "/" + name + ".svg")) {
        std::cerr << "kelvor-make-icons: cannot write the scalable icon in "
                  << scalable.toStdString() << '\n';
        return 1;
    }
    return 0;
}
