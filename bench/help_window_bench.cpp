// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help/help_text_fill.h"
#include "app/help/help_window.h"
#include "app/shell/desktop_dialogs.h"
#include "app/state/app_state.h"
#include "bench_support.h"
#include "text/rtf_reader.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFont>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <fstream>
#include <string>

namespace {

using namespace kelvor;
using bench::HelpFile;
using bench::kHelpFileBytes;

// Sees the first paint of the help text box.
class FirstPaint : public QObject {
public:
    bool seen = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        seen = seen || event->type() == QEvent::Paint;
        return QObject::eventFilter(watched, event);
    }
};

// What the user waits for: from showing the help window at its first topic, through reading
// the file and filling and laying out the text box, to its first paint.
void OpenHelpWindow(benchmark::State& state, const std::string& rtf) {
    QTemporaryDir folder;
    std::ofstream(folder.filePath("KELVOR.RTF").toStdString(), std::ios::binary) << rtf;
    QuietMessages messages;
    app::DesktopDialogs dialogs;
    app::AppState appState(folder.path().toStdString(), messages, dialogs);
    for (auto _ : state) {
        app::TFormHelp help(appState);
        FirstPaint paint;
        help.RichEditHelp->viewport()->installEventFilter(&paint);
        help.show();
        while (!paint.seen) {
            QApplication::processEvents();
        }
        state.PauseTiming();
        help.close();
        state.ResumeTiming();
    }
}

// The rest of the text, added while the window waits: the work in all, and the longest step
// during which the window does not answer.
void FillWholeHelpText(benchmark::State& state, const std::string& rtf) {
    const RtfDocument source = ReadRtf(rtf);
    QFont font("Courier New");
    font.setPixelSize(13);
    qint64 longestStep = 0;
    for (auto _ : state) {
        state.PauseTiming();
        RtfDocument text = source;
        state.ResumeTiming();
        QTextDocument document;
        document.setDefaultFont(font);
        document.setTextWidth(750);
        QAbstractTextDocumentLayout* layout = document.documentLayout();
        app::HelpTextFill fill(document, std::move(text));
        fill.FillPast(0, app::kParagraphsBelowCaret);
        QElapsedTimer step;
        for (bool done = fill.Done(); !done;) {
            step.start();
            done = fill.FillFor(app::kHelpFillStep);
            longestStep = std::max(longestStep, step.nsecsElapsed());
        }
        benchmark::DoNotOptimize(layout->documentSize());
    }
    state.counters["longest_step_ms"] = double(longestStep) / 1e6;
}

const bool registered = [] {
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
        benchmark::RegisterBenchmark((std::string("OpenHelpWindow/") + shape.shape).c_str(),
                                     OpenHelpWindow, shape.rtf)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("FillWholeHelpText/") + shape.shape).c_str(),
                                     FillWholeHelpText, shape.rtf)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
