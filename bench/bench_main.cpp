// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/headless_gui.h"

#include <QApplication>
#include <benchmark/benchmark.h>

// One application for every benchmark: the help window's need widgets, so it is a QApplication,
// made before any picture's benchmark would make a plain one.
int main(int argc, char** argv) {
    const kelvor::render::HeadlessArguments arguments =
        kelvor::render::PrepareHeadlessApplication();
    QApplication application(arguments.argc, arguments.argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
