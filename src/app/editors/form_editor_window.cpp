// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editors/form_editor_window.h"
#include "app/common/screen_checks.h"

#include "app/common/qt_text.h"
#include "app/common/typing_limit.h"
#include "app/common/window_fonts.h"
#include "app/state/app_state.h"
#include "app/state/dialogs.h"
#include "circuit/datafile_reader.h"
#include "circuit/datafile_text.h"
#include "files/delete_file_reported.h"
#include "files/file_io.h"
#include "kelvor_error.h"
#include "text/concat.h"
#include "text/words.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>

namespace kelvor::app {
namespace {

constexpr int kClientWidth = 730;
constexpr int kClientHeight = 549;
constexpr int kBoxHeight = 20;
constexpr int kDescriptionCapacity = 36;
// Six characters per node box keep the node line within the 80 characters the reader takes.
constexpr int kNodeBoxCapacity = 6;
constexpr const char* kScratchFileName = "DATA.TMP";

DatafileEditor::Wording FormEditorWording() {
    std::vector<KeyHint> keyHints = TextEditorKeyHints();
    KeyHintRow(keyHints, 'V').kind = "V   for  THERMIONIC  VALVE";
    KeyHintRow(keyHints, '*').syntax = "Add  any  text  you  like  on  this  line";
    KeyHintRow(keyHints, '#').syntax =
        "ALL  text  after  the  #  sign  to  the  end  of  the  file  will  be  ignored";
    return {
        {"Copy  ", "Cut   ", "Paste   ", "Save   ", "Check   ", "Help   ", "View Graphs"},
        std::move(keyHints),
        {"", "Standard Symbols for Circuit Components",
         " R : Resistor   C : Capacitor   L : Inductor   M : Mutual   T : Transformer   B : "
         "Bipolar   F : FET   V : Valve   A : Op-Amp    * # : Comments",
         false},
        "[optional : default value]",
    };
}

QLabel* Caption(QWidget* parent, const char* text, int left, int top) {
    auto* label = new QLabel(text, parent);
    label->setFont(PixelFont("Arial", 11, true));
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLineEdit* Box(QWidget* parent, int left, int top, int width) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(left, top, width, kBoxHeight);
    box->setFont(PixelFont("Courier New", 13, true));
    return box;
}

// A box's text as one line of the Datafile: a pasted line break must not split the header.
std::string BoxLine(const QString& text) {
    std::string line = FromQt(text);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < ' ') {
            c = ' ';
        }
    }
    return TrimSpacesAndControls(line);
}

// The title a description box saves as: trimmed, cut to 35 characters, spaces as "_".
std::string DescriptionTitle(const QString& description) {
    std::string title = CutText(BoxLine(description), kCircuitTitleCapacity);
    ReplaceChar(title, ' ', '_');
    // An empty title would make "Rev." the first word of line 1 and the day of the date the
    // revision; "_" reads back as the empty description it stands for.
    return title.empty() ? "_" : title;
}

} // namespace

TFormEdt2::TFormEdt2(AppState& state, QWidget* parent)
    : DatafileEditor(state, FormEditorWording(), parent) {
    QWidget* client = Client(kClientWidth, kClientHeight, QColor(224, 224, 224));
    BuildHeader(client);
    MemoBoxEDT2 = TextBox();
    MemoBoxEDT2->setGeometry(0, 63, 730, 449);
    BuildHintStrip(client);
    setTabOrder(EditBoxNodeCom, MemoBoxEDT2);
}

void TFormEdt2::BuildHeader(QWidget* client) {
    auto* bevel = new QFrame(client);
    bevel->setGeometry(0, 0, 731, 52);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);

    Caption(client, "Description", 24, 7);
    EditBoxFileMessage = Box(client, 104, 4, 264);
    LimitTyping(EditBoxFileMessage, kDescriptionCapacity);
    Caption(client, "Rev. No.", 393, 7);
    EditBoxRevNo = Box(client, 457, 4, 44);
    EditBoxRevNo->setReadOnly(true);
    Caption(client, "File Date", 525, 7);
    EditBoxFileDate = Box(client, 591, 4, 108);
    EditBoxFileDate->setReadOnly(true);

    Caption(client, "Input Node", 199, 31);
    EditBoxNodeIn = Box(client, 279, 27, 44);
    Caption(client, "Output Node", 369, 31);
    EditBoxNodeOut = Box(client, 457, 27, 44);
    Caption(client, "Common Node", 539, 31);
    EditBoxNodeCom = Box(client, 635, 27, 44);
    for (QLineEdit* node : {EditBoxNodeIn, EditBoxNodeOut, EditBoxNodeCom}) {
        LimitTyping(node, kNodeBoxCapacity);
    }
    for (QLineEdit* box : {EditBoxFileMessage, EditBoxRevNo, EditBoxFileDate, EditBoxNodeIn,
                           EditBoxNodeOut, EditBoxNodeCom}) {
        WatchKeys(box);
    }
}

void TFormEdt2::BuildHintStrip(QWidget* client) {
    auto* rule = new QFrame(client);
    rule->setGeometry(0, 512, 729, 1);
    rule->setStyleSheet("background-color: black;");

    PanelHint2->setGeometry(0, 513, 729, 19);
    PanelHint2->setFont(PixelFont("Arial", 12));
    PanelHint1->setGeometry(290, 5, 20, 13);
    PanelHint1->setFont(PixelFont("Courier New", 15));
    PanelHint4->setGeometry(495, 0, 170, 19);
    PanelHint4->setFont(PixelFont("Arial", 11));
    PanelHint3->setGeometry(0, 531, 729, 19);
    PanelHint3->setFont(PixelFont("Arial", 11));

    PanelHint5 = new QLabel("*", PanelHint3);
    PanelHint5->setGeometry(629, 3, 11, 18);
    PanelHint5->setFont(PixelFont("Arial", 17));
    PanelHint5->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    PanelHint5->setAutoFillBackground(true);
    PanelHint5->setPalette(PanelHint3->palette());
}

void TFormEdt2::PrepareOpening() {
    CentreOnScreen(this);
    PanelHint5->hide();
    standardHintShown_ = false;
}

void TFormEdt2::FillControls(const std::vector<std::string>& fileLines) {
    const CircuitState& circuit = state_.circuit;
    std::string description = circuit.CircuitTitle;
    ReplaceChar(description, '_', ' ');
    // Each box shows its value one space in.
    const auto indented = [](std::string_view text) { return ToQt(Concat({" ", text})); };
    EditBoxFileMessage->setText(indented(description));
    // A title wider than the box shows its start, not its end.
    EditBoxFileMessage->setCursorPosition(0);
    EditBoxRevNo->setText(indented(std::to_string(circuit.RevisionNumber)));
    EditBoxFileDate->setText(indented(circuit.DatafileDate));
    EditBoxNodeIn->setText(indented(std::to_string(circuit.NodeIn)));
    EditBoxNodeOut->setText(indented(std::to_string(circuit.NodeOut)));
    EditBoxNodeCom->setText(indented(std::to_string(circuit.NodeCom)));
    LoadBody(fileLines);
    MemoBoxEDT2->moveCursor(QTextCursor::Start);
    MemoBoxEDT2->setFocus();
}

// The body goes through the scratch copy DATA.TMP, deleted as soon as it has been loaded.
void TFormEdt2::LoadBody(const std::vector<std::string>& fileLines) {
    const std::vector<std::string> body = FormEditorBodyLines(fileLines);
    const std::filesystem::path scratch = state_.File(kScratchFileName);
    std::vector<std::string> loaded = body;
    try {
        WriteFileAtomically(scratch, JoinDatafileLines(body), WriteDurability::Durable,
                            LinkPolicy::Refuse);
        loaded = SplitDatafileLines(ReadWholeFile(scratch));
    } catch (const KelvorError& error) {
        // The body is in memory already: the text box gets it whatever became of the copy.
        state_.messages.ShowError(error.what());
    }
    SetTextLines(loaded);
    DeleteFileReported(scratch, "EDT2 #1", state_.messages);
}

std::string TFormEdt2::ComposeDatafile() {
    CircuitState& circuit = state_.circuit;
    circuit.CircuitTitle = DescriptionTitle(EditBoxFileMessage->text());
    std::vector<std::string> lines = {
        StandardTitleLine(circuit.CircuitTitle, circuit.RevisionNumber, state_.shell.TodayText),
        "",
        // The node texts go as typed: the reader judges them at the closing check.
        StandardNodeLine(BoxLine(EditBoxNodeIn->text()), BoxLine(EditBoxNodeOut->text()),
                         BoxLine(EditBoxNodeCom->text())),
        "",
    };
    const std::vector<std::string> body = TextLines();
    lines.insert(lines.end(), body.begin(), body.end());
    return JoinDatafileLines(lines);
}

bool TFormEdt2::AnyModified() const {
    return EditBoxFileMessage->isModified() || EditBoxNodeIn->isModified() ||
           EditBoxNodeOut->isModified() || EditBoxNodeCom->isModified() ||
           MemoBoxEDT2->document()->isModified();
}

void TFormEdt2::ClearModified() {
    for (QLineEdit* box : {EditBoxFileMessage, EditBoxNodeIn, EditBoxNodeOut, EditBoxNodeCom}) {
        box->setModified(false);
    }
    MemoBoxEDT2->document()->setModified(false);
}

std::string TFormEdt2::ClosingTitleLine() const {
    const CircuitState& circuit = state_.circuit;
    return StandardTitleLine(circuit.CircuitTitle, circuit.RevisionNumber + 1,
                             state_.shell.TodayText);
}

void TFormEdt2::ShowStandardHint() {
    DatafileEditor::ShowStandardHint();
    PlaceStarMarker();
    PanelHint5->show();
}

// The marker stands over the "*" of the centred syntax line, wherever the font puts that star.
void TFormEdt2::PlaceStarMarker() {
    const QString text = PanelHint3->text();
    const qsizetype star = text.lastIndexOf('*');
    if (star < 0) {
        return;
    }
    const QFontMetrics metrics(PanelHint3->font());
    const int textLeft = (PanelHint3->width() - metrics.horizontalAdvance(text)) / 2;
    const int starCentre = textLeft + metrics.horizontalAdvance(text.left(star)) +
                           metrics.horizontalAdvance(QChar('*')) / 2;
    PanelHint5->move(starCentre - PanelHint5->width() / 2, PanelHint5->y());
}

void TFormEdt2::ShowNewFileHint() {
    DatafileEditor::ShowNewFileHint();
    state_.dialogs.Beep();
}

void TFormEdt2::FormKeyPress(QKeyEvent* event, QObject* target) {
    const int key = event->key();
    if (key == Qt::Key_Backspace) {
        if (standardHintShown_) {
            PanelHint5->show();
        }
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        ShowStandardHint();
        standardHintShown_ = true;
        PanelHint5->show();
        return;
    }
    if (!IsTypedCharacter(event) || CircuitEndedAtCaret()) {
        return;
    }
    // A node box is never a component line, whatever its caret line in the text holds.
    if (target == MemoBoxEDT2 && CaretLineBlank()) {
        if (const EditorHint* hint = HintForCharacter(event->text().front())) {
            ShowHint(*hint);
        }
    }
    standardHintShown_ = false;
    PanelHint5->hide();
}

} // namespace kelvor::app
