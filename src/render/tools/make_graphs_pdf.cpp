// SPDX-License-Identifier: GPL-3.0-or-later
// Draws GRAPHS.PDF, the document of example graphs that the help window opens, with the same
// code that draws the graph window's pictures. Run by the build.

#include "kelvor_error.h"
#include "render/headless_gui.h"
#include "render/tools/graphs_document.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: kelvor-make-graphs-pdf SAMPLES_FOLDER OUTPUT.PDF\n";
        return 2;
    }
    kelvor::render::EnsureGuiApplication();
    try {
        kelvor::render::WriteGraphsDocument(kelvor::render::BuildExamplePages(argv[1]), argv[2]);
    } catch (const kelvor::KelvorError& fault) {
        std::cerr << "kelvor-make-graphs-pdf: " << fault.what() << '\n';
        return 1;
    }
    return 0;
}
