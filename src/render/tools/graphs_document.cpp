// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/tools/graphs_document.h"

#include "analysis/frequency_scale.h"
#include "analysis/scale_proposal.h"
#include "analysis/sweep.h"
#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "files/file_io.h"
#include "kelvor_error.h"
#include "messages.h"
#include "render/amplitude_graph.h"
#include "render/time_response_graph.h"
#include "solver/loaded_datafile.h"
#include "timeresp/graph_gain.h"
#include "timeresp/harmonic_solve.h"
#include "timeresp/time_response_kinds.h"

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QString>
#include <algorithm>

namespace kelvor::render {
namespace {

// A message during the examples is a fault of the examples.
class FailingMessages : public MessageSink {
public:
    void ShowInfo(const std::string& message) override { throw KelvorError(message); }
    void ShowWarning(const std::string& message) override { throw KelvorError(message); }
    void ShowError(const std::string& message) override { throw KelvorError(message); }
    Answer Ask(const std::string&, QuestionButtons) override { return Answer::No; }
};

struct ExampleCircuit {
    std::string fileName;
    std::string description;
    int32_t fcode;
    long double squareFrequency;
    const char* squareFrequencyText;
    int32_t resolution;
    long double pulseWidth;
    const char* pulseWidthText;
    int32_t expansion;
};

LoadedDatafile Load(const std::string& text, const std::string& name) {
    LoadedDatafile example = LoadDatafileText(text, "");
    if (!example.ok) {
        throw KelvorError(name + " does not parse:" + example.report);
    }
    return example;
}

ExamplePage AmplitudePage(const ExampleCircuit& example, const LoadedDatafile& loaded) {
    FailingMessages messages;
    ResponseSolver solver;
    const FrequencyScale scale = SetupFrequencyScale(example.fcode, 0, 0);
    const SweepResult sweep = RunSweep(scale, loaded.circuit, solver, messages);
    const ScaleProposal proposal = ProposeScale(sweep.SweepMinDb, sweep.SweepMaxDb);
    AmplitudeGraphInput input;
    input.FCode = example.fcode;
    input.SweepGain = sweep.SweepGain;
    input.GraphScale = proposal.GraphScale;
    input.GraphTop = proposal.GraphTop;
    input.GridLinesPending = true;
    input.DatafileName = example.fileName;
    input.RevisionNumber = loaded.state.RevisionNumber;
    input.TodayText = loaded.state.DatafileDate;
    ExamplePage page;
    page.picture = BlankAmplitudePicture();
    DrawAmplitudeGraph(page.picture, input);
    page.title = example.fileName + "  -  Amplitude response";
    page.caption = example.description + ". Range #" + std::to_string(example.fcode) + ", " +
                   std::to_string(input.GraphScale) + " dB span from " +
                   std::to_string(input.GraphTop) + " dB, with grid.";
    return page;
}

ExamplePage TimeResponsePage(const ExampleCircuit& example, const LoadedDatafile& loaded,
                             TimeResponseKind kind) {
    FailingMessages messages;
    ResponseSolver solver;
    const bool square = kind == TimeResponseKind::SquareWave;
    const int32_t groups = square ? example.resolution : example.expansion;
    const long double fundamental =
        square ? example.squareFrequency : kPulseDutyConstant / example.pulseWidth;
    const HarmonicTable table =
        ComputeHarmonics(loaded.circuit, kind, groups, fundamental, solver, messages);
    TimeResponsePlotInput input;
    input.PlotGain = DefaultGraphGain(table);
    input.GraphGain = RoundedDefaultGain(input.PlotGain);
    input.ValueText = square ? example.squareFrequencyText : example.pulseWidthText;
    input.DatafileName = example.fileName;
    input.RevisionNumber = loaded.state.RevisionNumber;
    input.TodayText = loaded.state.DatafileDate;
    ExamplePage page;
    page.picture = BlankTimeResponsePicture();
    if (square) {
        DrawSquareWaveGraph(page.picture, input, table);
        page.title = example.fileName + "  -  Square-wave response";
        page.caption = example.description + ". Square wave of " + input.ValueText + "Hz, " +
                       std::to_string(table.Count()) +
                       " odd harmonics; the dotted line is the input.";
    } else {
        DrawPulseGraph(page.picture, input, table);
        page.title = example.fileName + "  -  Pulse response";
        page.caption = example.description + ". Pulses " + input.ValueText +
                       "s wide every 100 widths, " + std::to_string(table.Count()) +
                       " harmonics and DC; the dotted line is the input pulse.";
    }
    return page;
}

const ExampleCircuit kExamples[] = {
    {"HPFILTER.DAT", "The sample Datafile: a third-order high-pass filter", 8, 200, "200", 64,
     1e-3L, "1m", 128},
    {"RCLOWPAS.DAT", "A first-order RC low-pass filter, corner 1 kHz", 25, 500, "500", 16, 200e-6L,
     "200u", 8},
    {"SERIESLC.DAT", "A series resonant circuit at 1.59 kHz", 26, 200, "200", 64, 50e-6L, "50u",
     32},
    {"SKLOWPAS.DAT", "A Sallen-Key Butterworth low-pass filter, 1 kHz", 25, 200, "200", 16, 100e-6L,
     "100u", 8},
};

} // namespace

std::vector<ExamplePage> BuildExamplePages(const std::filesystem::path& samplesFolder) {
    std::vector<ExamplePage> pages;
    for (const ExampleCircuit& example : kExamples) {
        // The sample Datafile is the program's own; the others come from the samples folder.
        const std::string text = example.fileName == "HPFILTER.DAT"
                                     ? SampleDatafileText("7 Dec 2026")
                                     : ReadWholeFile(samplesFolder / example.fileName);
        const LoadedDatafile loaded = Load(text, example.fileName);
        pages.push_back(AmplitudePage(example, loaded));
        pages.push_back(TimeResponsePage(example, loaded, TimeResponseKind::SquareWave));
        pages.push_back(TimeResponsePage(example, loaded, TimeResponseKind::Pulse));
    }
    return pages;
}

void WriteGraphsDocument(const std::vector<ExamplePage>& pages, const std::filesystem::path& path) {
    QSaveFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::WriteOnly)) {
        throw KelvorError("cannot write " + path.string());
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle("KELVOR2007  -  Example Graphs");
        writer.setCreator("KELVOR2007");
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            throw KelvorError("cannot write " + path.string());
        }
        // Pictures are stretched pixel for pixel, as a printed graph is.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        QFont titleFont("Arial");
        titleFont.setPointSize(16);
        titleFont.setBold(true);
        QFont captionFont("Arial");
        captionFont.setPointSize(11);
        bool first = true;
        for (const ExamplePage& page : pages) {
            if (!first) {
                writer.newPage();
            }
            first = false;
            const QRect area = painter.viewport();
            painter.setFont(titleFont);
            const QRect titleBox(0, 0, area.width(), area.height() / 12);
            painter.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter,
                             QString::fromStdString(page.title));
            painter.setFont(captionFont);
            const QRect captionBox(0, titleBox.bottom(), area.width(), area.height() / 12);
            painter.drawText(captionBox, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                             QString::fromStdString(page.caption));
            const QRect pictureArea(0, captionBox.bottom(), area.width(),
                                    area.height() - captionBox.bottom());
            const double scale =
                std::min(static_cast<double>(pictureArea.width()) / page.picture.width(),
                         static_cast<double>(pictureArea.height()) / page.picture.height());
            const QSize size(static_cast<int>(page.picture.width() * scale),
                             static_cast<int>(page.picture.height() * scale));
            painter.drawImage(
                QRect(QPoint(pictureArea.left() + (pictureArea.width() - size.width()) / 2,
                             pictureArea.top()),
                      size),
                page.picture);
        }
        painter.end();
    }
    if (!file.commit()) {
        throw KelvorError("cannot write " + path.string());
    }
}

} // namespace kelvor::render
