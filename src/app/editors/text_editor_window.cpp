// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editors/text_editor_window.h"
#include "app/common/window_fonts.h"

#include "app/common/window_look.h"
#include "circuit/datafile_text.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

namespace kelvor::app {
namespace {

constexpr int kClientWidth = 732;
constexpr int kClientHeight = 554;
constexpr int kTextHeight = 517;
constexpr int kKindPanelHeight = 17;
constexpr int kSyntaxPanelHeight = 20;
// The first line after the header: the caret starts there.
constexpr int kFirstBodyLine = 4;

DatafileEditor::Wording TextEditorWording() {
    return {
        {"  &Copy", " Cu&t", " &Paste", " &Save", " Chec&k", " &Help", " View &Graphs"},
        TextEditorKeyHints(),
        {"", "Standard Symbols to use in the Editor",
         "R : Resistor    C : Capacitor    L : Inductor    M : Mutual    T : Transformer    B : "
         "Bipolar    F : FET    V : Valve    A : Op-Amp    *  # : for comments",
         false},
        "[   ]  optional value  : default",
    };
}

// Thin grey lines behind the hint panels, showing between and around them.
QLabel* PictureStrip(QWidget* parent, int top, int height) {
    QPixmap picture(kClientWidth, height);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(kSilver);
    for (int y = 0; y < height; y += kKindPanelHeight) {
        painter.drawLine(0, y, kClientWidth - 1, y);
    }
    painter.drawLine(0, height - 1, kClientWidth - 1, height - 1);
    auto* strip = new QLabel(parent);
    strip->setGeometry(0, top, kClientWidth, height);
    strip->setPixmap(picture);
    return strip;
}

} // namespace

TFormEdt::TFormEdt(AppState& state, QWidget* parent)
    : DatafileEditor(state, TextEditorWording(), parent) {
    QWidget* client = Client(kClientWidth, kClientHeight, Qt::white);
    MemoBox = TextBox();
    MemoBox->setGeometry(0, 0, kClientWidth, kTextHeight);
    // TAB separates words on component lines like a space does.
    MemoBox->setTabChangesFocus(false);

    const int stripHeight = kClientHeight - kTextHeight;
    PictureStrip(client, kTextHeight, stripHeight)->lower();
    PanelHint2->setGeometry(0, kTextHeight + 1, kClientWidth, kKindPanelHeight - 1);
    PanelHint2->setFont(PixelFont("Arial", 12));
    PanelHint2->raise();
    PanelHint1->setGeometry(290, 0, 20, 15);
    PanelHint1->setFont(PixelFont("Courier New", 13, true));
    PanelHint4->setGeometry(kClientWidth - 200, 0, 200, kKindPanelHeight - 1);
    PanelHint4->setFont(PixelFont("Arial", 11));
    PanelHint3->setGeometry(0, kTextHeight + kKindPanelHeight + 1, kClientWidth,
                            kSyntaxPanelHeight - 2);
    PanelHint3->setFont(PixelFont("Arial", 11));
    PanelHint3->raise();
}

void TFormEdt::FillControls(const std::vector<std::string>& fileLines) {
    SetTextLines(fileLines);
    QTextCursor caret(MemoBox->document());
    const QTextBlock firstBodyLine = MemoBox->document()->findBlockByNumber(kFirstBodyLine);
    caret.setPosition(firstBodyLine.isValid() ? firstBodyLine.position()
                                              : MemoBox->document()->characterCount() - 1);
    MemoBox->setTextCursor(caret);
    MemoBox->setFocus();
}

std::string TFormEdt::ComposeDatafile() {
    return JoinDatafileLines(TextLines());
}

bool TFormEdt::AnyModified() const {
    return MemoBox->document()->isModified();
}

void TFormEdt::ClearModified() {
    MemoBox->document()->setModified(false);
}

// The Datafile's title word becomes its file name.
std::string TFormEdt::ClosingTitleLine() const {
    return std::string(15, ' ') + state_.shell.DatafileName + std::string(8, ' ') + "Rev. " +
           std::to_string(state_.circuit.RevisionNumber + 1) + std::string(8, ' ') +
           state_.shell.TodayText;
}

void TFormEdt::FormKeyPress(QKeyEvent* event, QObject* /*target*/) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        ShowStandardHint();
        return;
    }
    if (!IsTypedCharacter(event) || CircuitEndedAtCaret() || !CaretLineBlank()) {
        return;
    }
    if (const EditorHint* hint = HintForCharacter(event->text().front())) {
        ShowHint(*hint);
    }
}

void TFormEdt::FormKeyUp(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        ShowStandardHint();
    }
}

} // namespace kelvor::app
