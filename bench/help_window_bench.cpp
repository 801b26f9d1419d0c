#include "app/shell/help_text_fill.h"
#include "bench_application.h"
#include "bench_support.h"
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

constexpr qreal kViewHeight = 574;

// What opening the help window at its first topic costs after reading the file: filling its
// text box and laying out the first view (the window lays out the rest while it waits); and
// laying out the whole text, as scrolling to its end does.
void FillHelpWindow(benchmark::State& state, const std::string& rtf, bool wholeText) {
    bench::EnsureApplication();
    const RtfDocument source = ReadRtf(rtf);
    QFont font("Courier New");
    font.setPixelSize(13);
    for (auto _ : state) {
        QTextDocument document;
        document.setDefaultFont(font);
        document.setTextWidth(750);
        app::FillHelpText(document, source);
        QAbstractTextDocumentLayout* layout = document.documentLayout();
        if (wholeText) {
            benchmark::DoNotOptimize(layout->documentSize());
        } else {
            benchmark::DoNotOptimize(layout->hitTest(QPointF(0, kViewHeight), Qt::FuzzyHit));
        }
    }
}

void FillHelpWindowShapes(bool wholeText, const char* name) {
    const struct {
        const char* shape;
        std::string rtf;
    } shapes[] = {
        {"BoldAtEveryCharacter", HelpFile("", "\\b a\\b0 b")},
        {"HugeFontName",
         HelpFile("{\\fonttbl{\\f0 " + std::string(kHelpFileBytes / 2, 'F') + ";}}\\f0 ",
                  "\\b a\\b0 b")},
        {"OneLongWord", HelpFile("", "ab")},
        {"ParagraphAtEveryCharacter", HelpFile("", "a\\par ")},
        {"OrdinaryText",
         HelpFile("", "Gain in dB, {\\b phase} in degrees and the impedances.\\par ")},
    };
    for (const auto& shape : shapes) {
        benchmark::RegisterBenchmark((std::string(name) + "/" + shape.shape).c_str(),
                                     FillHelpWindow, shape.rtf, wholeText)
            ->Unit(benchmark::kMillisecond);
    }
}

const bool registered = (FillHelpWindowShapes(false, "OpenHelpWindow"),
                         FillHelpWindowShapes(true, "LayOutWholeHelpText"), true);

} // namespace
