// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_support.h"
#include "text/rtf_reader.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace kelvor;
using bench::HelpFile;
using bench::kHelpFileBytes;

// The reader must take time in proportion to the file, whatever its shape: the shapes that
// once took the square of it (a change of format at every character, a huge font name) and
// the ordinary ones beside them.
void ReadHelpFile(benchmark::State& state, const std::string& rtf) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadRtf(rtf));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(rtf.size()));
}

BENCHMARK_CAPTURE(ReadHelpFile, BoldAtEveryCharacter, HelpFile("", "\\b a\\b0 b"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadHelpFile, HugeFontName,
                  HelpFile("{\\fonttbl{\\f0 " + std::string(kHelpFileBytes / 2, 'F') + ";}}\\f0 ",
                           "\\b a\\b0 b"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadHelpFile, OneLongWord, HelpFile("", "ab"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadHelpFile, ParagraphAtEveryCharacter, HelpFile("", "a\\par "))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadHelpFile, GroupAtEveryCharacter, HelpFile("", "{\\i a}"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadHelpFile, OrdinaryText,
                  HelpFile("", "Gain in dB, {\\b phase} in degrees and the impedances.\\par "))
    ->Unit(benchmark::kMillisecond);

} // namespace
