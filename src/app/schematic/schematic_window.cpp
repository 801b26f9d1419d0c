// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/schematic/schematic_window.h"

#include "app/common/file_paths.h"
#include "app/common/replace_question.h"
#include "app/editors/form_editor_window.h"
#include "app/help/help_window.h"
#include "app/printing/print_target.h"
#include "app/schematic/schematic_view.h"
#include "app/state/dialogs.h"
#include "app/state/help_topics.h"
#include "circuit/datafile_text.h"
#include "files/file_io.h"
#include "kelvor_error.h"
#include "render/schematic_export.h"
#include "render/schematic_painter.h"
#include "schematic/schematic_layout.h"
#include "solver/loaded_datafile.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

namespace kelvor::app {
namespace {

const FileKind kSchematicToWrite{
    "Export Schematic", "SVG drawing (*.svg);;PDF document (*.pdf);;PNG picture (*.png)", ""};

} // namespace

TFormSchematic::TFormSchematic(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state) {
    setObjectName("FormSchematic");
    resize(900, 560);
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    ButtonFit = new QPushButton("&Fit", this);
    ButtonFit->setObjectName("ButtonFit");
    CheckBoxNodes = new QCheckBox("&Node numbers", this);
    CheckBoxNodes->setObjectName("CheckBoxNodes");
    ButtonExport = new QPushButton("&Export ...", this);
    ButtonExport->setObjectName("ButtonExport");
    ButtonPrint = new QPushButton("&Print ...", this);
    ButtonPrint->setObjectName("ButtonPrint");
    buttons->addWidget(ButtonFit);
    buttons->addWidget(CheckBoxNodes);
    buttons->addStretch();
    buttons->addWidget(ButtonExport);
    buttons->addWidget(ButtonPrint);
    layout->addLayout(buttons);
    View = new SchematicView(this);
    View->setObjectName("ViewSchematic");
    layout->addWidget(View, 1);
    LabelReport = new QLabel(this);
    LabelReport->setObjectName("LabelReport");
    LabelReport->setAlignment(Qt::AlignCenter);
    LabelReport->hide();
    layout->addWidget(LabelReport, 1);
    LabelLine = new QLabel(this);
    LabelLine->setObjectName("LabelLine");
    LabelLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(LabelLine);

    connect(ButtonFit, &QPushButton::clicked, View, &SchematicView::Fit);
    connect(CheckBoxNodes, &QCheckBox::toggled, this, &TFormSchematic::Redraw);
    connect(ButtonExport, &QPushButton::clicked, this, &TFormSchematic::ButtonExportClick);
    connect(ButtonPrint, &QPushButton::clicked, this, &TFormSchematic::ButtonPrintClick);
    connect(View, &SchematicView::Hovered, this, &TFormSchematic::ShowLine);
    connect(View, &SchematicView::Activated, this, &TFormSchematic::EditComponent);
    // Either editor saves through an atomic rename, which ends the watch on the old file:
    // the watch is set again at every drawing.
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &TFormSchematic::Redraw);
}

void TFormSchematic::ShowForCurrentDatafile() {
    show();
    raise();
    activateWindow();
    Redraw();
}

void TFormSchematic::Redraw() {
    setWindowTitle(QString::fromStdString("Schematic  -  " + state_.shell.DatafileName));
    const QString path = PathToQt(state_.DatafilePath());
    if (!watcher_.files().isEmpty()) {
        watcher_.removePaths(watcher_.files());
    }
    watcher_.addPath(path);
    std::string problem;
    try {
        // Loaded on its own: drawing must not change what the analyses read.
        const LoadedDatafile datafile = LoadDatafile(state_.DatafilePath(), state_.shell.TodayText);
        if (datafile.ok) {
            circuit_ = schematic::CircuitFromParse(datafile);
            lineTexts_ = datafile.componentLines;
            schematic::LayoutOptions options;
            options.nodeNumbers = CheckBoxNodes->isChecked();
            View->SetDrawing(schematic::LayOut(circuit_, options));
        } else {
            problem = "Cannot Draw  -  Error in Datafile" + datafile.report;
        }
    } catch (const KelvorError& error) {
        problem = error.what();
    }
    if (!problem.empty()) {
        View->SetDrawing(std::nullopt);
        LabelReport->setText(QString::fromLocal8Bit(problem.c_str()).replace("\r\n", "\n"));
    }
    View->setVisible(problem.empty());
    LabelReport->setVisible(!problem.empty());
    ButtonExport->setEnabled(problem.empty());
    ButtonPrint->setEnabled(problem.empty());
    LabelLine->clear();
}

void TFormSchematic::ShowLine(int component) {
    if (component < 0 || static_cast<std::size_t>(component) >= circuit_.parts.size()) {
        LabelLine->clear();
        View->setToolTip(QString());
        return;
    }
    const schematic::Part& part = circuit_.parts[static_cast<std::size_t>(component)];
    const QString text =
        QString("Line %1:  %2")
            .arg(part.line)
            .arg(QString::fromLocal8Bit(lineTexts_[static_cast<std::size_t>(component)].c_str()));
    LabelLine->setText(text);
    View->setToolTip(text);
}

void TFormSchematic::EditComponent(int component) {
    if (component < 0 || static_cast<std::size_t>(component) >= circuit_.parts.size()) {
        return;
    }
    const int line = circuit_.parts[static_cast<std::size_t>(component)].line;
    int row = 0;
    try {
        const std::vector<std::string> lines =
            SplitDatafileLines(ReadDatafileBytes(state_.DatafilePath()));
        const std::vector<std::string> upTo(
            lines.begin(), lines.begin() + std::min<std::size_t>(lines.size(), line));
        row = std::max<int>(0, static_cast<int>(FormEditorBodyLines(upTo).size()) - 1);
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
        return;
    }
    TFormEdt2& editor = state_.windows.Get<TFormEdt2>();
    // The editor puts its caret at the top as it opens; this runs once it is open.
    QTimer::singleShot(0, &editor, [&editor, row] {
        QTextCursor caret(editor.MemoBoxEDT2->document()->findBlockByNumber(row));
        editor.MemoBoxEDT2->setTextCursor(caret);
        editor.MemoBoxEDT2->centerCursor();
    });
    editor.exec();
    Redraw();
}

void TFormSchematic::ButtonExportClick() {
    const std::optional<QString> chosen = state_.dialogs.ChooseFileToWrite(
        this, kSchematicToWrite, PathToQt(state_.File("SCHEMATIC.svg")));
    if (!chosen || !View->drawing()) {
        return;
    }
    const auto kind = render::SchematicFileKindOf(*chosen);
    if (!kind) {
        state_.messages.ShowWarning("Name the drawing .svg, .pdf or .png");
        return;
    }
    if (!MayReplaceFile(state_.messages, PathFromQt(*chosen))) {
        return;
    }
    try {
        render::SaveSchematic(*View->drawing(), *chosen, *kind);
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
    }
}

void TFormSchematic::ButtonPrintClick() {
    if (!View->drawing()) {
        return;
    }
    QPrinter& printer = state_.printer();
    if (PrinterBusy(printer, state_.messages)) {
        return;
    }
    const std::optional<PrintTarget> target =
        ChoosePrintTarget(state_.dialogs, printer, this, state_.workingFolder, "SCHEMATIC");
    if (!target || (!target->toPdf && !state_.dialogs.SetUpPrinter(printer, this))) {
        return;
    }
    const schematic::Drawing& drawing = *View->drawing();
    const schematic::Box& b = drawing.bounds;
    QPainter painter;
    if (!painter.begin(&printer)) {
        state_.messages.ShowError("Cannot print the schematic");
        return;
    }
    // The drawing keeps its proportions, as large as the page allows; black on white.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = std::min(page.width() / (b.x1 - b.x0), page.height() / (b.y1 - b.y0));
    painter.scale(scale, scale);
    painter.translate(-b.x0, -b.y0);
    render::PaintSchematic(painter, drawing, render::SchematicColours{});
    painter.end();
}

void TFormSchematic::keyReleaseEvent(QKeyEvent* event) {
    if (!OpenHelpOnF1(event, state_, help::kSchematicView)) {
        QWidget::keyReleaseEvent(event);
    }
}

} // namespace kelvor::app
