// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/image_brightening.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kelvor;

// A dark photograph of the size the image processing window works on: every brightness from
// black to white along the rows, so that all five factors are used.
QImage DarkPhotograph() {
    QImage picture(2048, 1536, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int level = (x + y) % 256;
            row[x] = qRgb(level, level / 2, level / 3);
        }
    }
    return picture;
}

// What the user waits for in the image processing window, less the counter's repaints: one full
// picture brightened column by column.
void BrightenFullPicture(benchmark::State& state) {
    const QImage original = DarkPhotograph();
    int columns = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QImage picture = original.copy();
        state.ResumeTiming();
        const render::BrighteningResult result =
            render::BrightenImage(picture, [&columns](int column) { columns = column; });
        benchmark::DoNotOptimize(result);
    }
    benchmark::DoNotOptimize(columns);
}
BENCHMARK(BrightenFullPicture)->Unit(benchmark::kMillisecond);

} // namespace
