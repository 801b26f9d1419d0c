#include "app/shell/help_text_fill.h"
#include "bench_support.h"
#include "render/headless_gui.h"
#include "text/rtf_reader.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace kelvor;
using bench::HelpFile;
using bench::kHelpFileBytes;

// What opening the help window costs after reading the file: filling its text box and laying
// the whole text out at about the box's width, as placing the caret at a topic does.
void FillHelpWindow(benchmark::State& state, const std::string& rtf) {
    render::EnsureGuiApplication();
    const RtfDocument source = ReadRtf(rtf);
    QFont font("Courier New");
    font.setPixelSize(13);
    for (auto _ : state) {
        QTextDocument document;
        document.setDefaultFont(font);
        document.setTextWidth(750);
        app::FillHelpText(document, source);
        benchmark::DoNotOptimize(document.documentLayout()->documentSize());
    }
}

BENCHMARK_CAPTURE(FillHelpWindow, BoldAtEveryCharacter, HelpFile("", "\\b a\\b0 b"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FillHelpWindow, HugeFontName,
                  HelpFile("{\\fonttbl{\\f0 " + std::string(kHelpFileBytes / 2, 'F') + ";}}\\f0 ",
                           "\\b a\\b0 b"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FillHelpWindow, OneLongWord, HelpFile("", "ab"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FillHelpWindow, ParagraphAtEveryCharacter, HelpFile("", "a\\par "))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FillHelpWindow, OrdinaryText,
                  HelpFile("", "Gain in dB, {\\b phase} in degrees and the impedances.\\par "))
    ->Unit(benchmark::kMillisecond);

} // namespace
