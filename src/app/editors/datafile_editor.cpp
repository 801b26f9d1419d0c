// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editors/datafile_editor.h"
#include "app/common/file_paths.h"
#include "app/common/screen_checks.h"

#include "app/common/qt_text.h"
#include "app/common/window_fonts.h"
#include "app/editors/record_listing_window.h"
#include "app/help/help_window.h"
#include "app/state/dialogs.h"
#include "circuit/datafile_reader.h"
#include "circuit/datafile_text.h"
#include "files/file_io.h"
#include "kelvor_error.h"
#include "text/words.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>

namespace kelvor::app {
namespace {

constexpr std::size_t kCaptionCapacity = 53;
const QColor kHintColour(255, 255, 176);

QLabel* HintPanel(QWidget* parent) {
    auto* panel = new QLabel(parent);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, kHintColour);
    palette.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(palette);
    panel->setAlignment(Qt::AlignCenter);
    return panel;
}

// Undo and redo on whichever box has the keys; Ctrl+Y is redo here whatever the desktop's own
// convention.
bool UndoOrRedo(QObject* target, bool undo) {
    if (auto* text = qobject_cast<QPlainTextEdit*>(target)) {
        undo ? text->undo() : text->redo();
        return true;
    }
    if (auto* line = qobject_cast<QLineEdit*>(target)) {
        undo ? line->undo() : line->redo();
        return true;
    }
    return false;
}

} // namespace

DatafileEditor::DatafileEditor(AppState& state, Wording wording, QWidget* parent)
    : QDialog(parent), state_(state), wording_(std::move(wording)) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    MenuBar = new QMenuBar(this);
    MenuBar->setNativeMenuBar(false);
    const MenuCaptions& captions = wording_.menu;
    connect(MenuBar->addAction(captions[0]), &QAction::triggered, this, &DatafileEditor::CopyClick);
    connect(MenuBar->addAction(captions[1]), &QAction::triggered, this, &DatafileEditor::CutClick);
    connect(MenuBar->addAction(captions[2]), &QAction::triggered, this,
            &DatafileEditor::PasteClick);
    connect(MenuBar->addAction(captions[3]), &QAction::triggered, this, &DatafileEditor::SaveClick);
    connect(MenuBar->addAction(captions[4]), &QAction::triggered, this,
            &DatafileEditor::CheckClick);
    connect(MenuBar->addAction(captions[5]), &QAction::triggered, this, &DatafileEditor::HelpClick);
    connect(MenuBar->addAction(captions[6]), &QAction::triggered, this,
            &DatafileEditor::ViewGraphsClick);

    client_ = new QWidget(this);
    client_->setAutoFillBackground(true);

    textBox_ = new QPlainTextEdit(client_);
    textBox_->setFont(PixelFont("Courier New", 13, true));
    textBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A wrapped line would look like two Datafile lines; the reader sees one.
    textBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
    WatchKeys(textBox_);

    PanelHint2 = HintPanel(client_);
    PanelHint1 = HintPanel(PanelHint2);
    PanelHint1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PanelHint4 = HintPanel(PanelHint2);
    PanelHint3 = HintPanel(client_);
}

QWidget* DatafileEditor::Client(int width, int height, const QColor& background) {
    const int menuHeight = MenuBar->sizeHint().height();
    MenuBar->setGeometry(0, 0, width, menuHeight);
    client_->setGeometry(0, menuHeight, width, height);
    QPalette palette = client_->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, Qt::black);
    client_->setPalette(palette);
    setFixedSize(width, menuHeight + height);
    return client_;
}

void DatafileEditor::WatchKeys(QWidget* control) {
    control->installEventFilter(this);
}

// The opening steps run once per opening, not on every activation: coming back from help, the
// listing or a question must not reload the file over changes not yet saved.
void DatafileEditor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous() || opened_) {
        return;
    }
    if (!FormShow()) {
        // Nothing was loaded, so there is nothing to save or check: close without asking.
        QTimer::singleShot(0, this, [this] { QDialog::done(QDialog::Rejected); });
    }
}

void DatafileEditor::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) {
        opened_ = false;
    }
}

void DatafileEditor::PrepareOpening() {
    CentreOnScreen(this);
}

bool DatafileEditor::FormShow() {
    ShellState& shell = state_.shell;
    setWindowTitle((QString("  EDITING DATAFILE  -  ") + ShownText(shell.DatafileName))
                       .left(static_cast<qsizetype>(kCaptionCapacity)));
    PrepareOpening();
    if (shell.NewDatafile) {
        ShowNewFileHint();
    } else {
        ShowStandardHint();
    }
    shell.NewDatafile = false;

    std::string bytes;
    try {
        bytes = ReadWholeFile(state_.DatafilePath());
        state_.ParseCurrentDatafile();
    } catch (const KelvorError& error) {
        // An editor that opened empty would write its emptiness over the Datafile on Save.
        state_.messages.ShowError(error.what());
        return false;
    }
    FillControls(SplitDatafileLines(bytes));
    ClearModified();
    savedSinceOpening_ = false;
    opened_ = true;
    return true;
}

bool DatafileEditor::SaveClick() {
    try {
        WriteFileAtomically(state_.DatafilePath(), ComposeDatafile());
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
        return false;
    }
    savedSinceOpening_ = savedSinceOpening_ || AnyModified();
    ClearModified();
    emit state_.datafileEvents.currentChanged();
    return true;
}

// False only when the user chose to save and the save failed.
bool DatafileEditor::OfferToSave() {
    if (AnyModified() &&
        state_.messages.Ask(" Save Current Changes ? ", QuestionButtons::YesNo) == Answer::Yes) {
        return SaveClick();
    }
    return true;
}

void DatafileEditor::CheckClick() {
    if (!OfferToSave()) {
        return;
    }
    try {
        state_.ParseCurrentDatafile();
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
        return;
    }
    OpenListing();
}

void DatafileEditor::OpenListing() {
    state_.windows.Get<TFormChk>().exec();
}

void DatafileEditor::HelpClick() {
    OpenHelp(state_, help::kDatafileFormat.position);
}

void DatafileEditor::ViewGraphsClick() {
    // A desktop that cannot open the document is the desktop's to report.
    const std::filesystem::path path =
        FindHelpFile(state_.workingFolder, InstalledHelpFolders(), kGraphsDocumentName);
    state_.dialogs.OpenDocument(path);
}

void DatafileEditor::CopyClick() {
    textBox_->copy();
}

void DatafileEditor::CutClick() {
    textBox_->cut();
}

void DatafileEditor::PasteClick() {
    textBox_->paste();
}

// Every way of closing (the close box, a programmatic close) comes here; the window stays open
// when the check says so.
void DatafileEditor::done(int result) {
    if (opened_) {
        if (!FormCloseQuery()) {
            return;
        }
        FormClose();
    }
    QDialog::done(result);
}

bool DatafileEditor::FormCloseQuery() {
    if (!OfferToSave()) {
        return false;
    }
    bool parsed = false;
    try {
        parsed = state_.ParseCurrentDatafile(ParseMode::ShowReport).ok;
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
    }
    return parsed || state_.messages.Ask(" Close Editor ? ", QuestionButtons::YesNo) == Answer::Yes;
}

// A window in which something was saved leaves the Datafile with a new line 1: the revision
// raised by one and today's date. Only line 1 of the file as saved changes, so changes the user
// declined to save at closing are not written after all.
void DatafileEditor::FormClose() {
    opened_ = false;
    if (!savedSinceOpening_) {
        return;
    }
    try {
        const std::filesystem::path path = state_.DatafilePath();
        std::vector<std::string> lines = SplitDatafileLines(ReadWholeFile(path));
        const std::string title = ClosingTitleLine();
        if (lines.empty()) {
            lines.push_back(title);
        } else {
            lines.front() = title;
        }
        WriteFileAtomically(path, JoinDatafileLines(lines));
        // The circuit state follows the file as it now stands.
        state_.ParseCurrentDatafile();
        emit state_.datafileEvents.currentChanged();
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
    }
}

void DatafileEditor::keyPressEvent(QKeyEvent* event) {
    // Escape belongs to the hints; it must not close the editor past its closing check.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool DatafileEditor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::ControlModifier &&
            (key->key() == Qt::Key_Z || key->key() == Qt::Key_Y)) {
            return UndoOrRedo(watched, key->key() == Qt::Key_Z);
        }
        FormKeyPress(key, watched);
    } else if (event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1) {
            OpenHelp(state_, help::kEditComponents.position);
            return true;
        }
        FormKeyUp(key);
    }
    return QDialog::eventFilter(watched, event);
}

void DatafileEditor::ShowHint(const EditorHint& hint) {
    PanelHint1->setText(ToQt(hint.symbol));
    PanelHint1->setVisible(!hint.symbol.empty());
    PanelHint2->setText(ToQt(hint.kind));
    PanelHint3->setText(ToQt(hint.syntax));
    PanelHint4->setText(hint.legend ? ToQt(wording_.legend) : QString());
}

void DatafileEditor::ShowStandardHint() {
    ShowHint(wording_.standardHint);
}

void DatafileEditor::ShowNewFileHint() {
    ShowHint(NewFileHint());
}

const EditorHint* DatafileEditor::HintForCharacter(QChar typed) const {
    if (typed.unicode() > 0x7F) {
        return nullptr;
    }
    return FindKeyHint(wording_.keyHints, static_cast<char>(typed.unicode()));
}

bool DatafileEditor::CircuitEndedAtCaret() const {
    const QTextBlock caretLine = textBox_->textCursor().block();
    for (QTextBlock line = textBox_->document()->firstBlock(); line.isValid(); line = line.next()) {
        if (TrimSpacesAndControls(FromQt(line.text())).starts_with('#')) {
            return true;
        }
        if (line == caretLine) {
            break;
        }
    }
    return false;
}

bool DatafileEditor::CaretLineBlank() const {
    return TrimSpacesAndControls(FromQt(textBox_->textCursor().block().text())).empty();
}

bool DatafileEditor::IsTypedCharacter(const QKeyEvent* event) {
    const QString text = event->text();
    return !text.isEmpty() && text.front().isPrint();
}

std::vector<std::string> DatafileEditor::TextLines() const {
    const QTextDocument* document = textBox_->document();
    std::vector<std::string> lines;
    if (document->blockCount() == 1 && document->firstBlock().text().isEmpty()) {
        return lines;
    }
    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next()) {
        // A line break typed with Shift+Enter stays inside the paragraph; on disk it is a line
        // end like any other.
        for (const QString& line : block.text().split(QChar::LineSeparator)) {
            lines.push_back(FromQt(line));
        }
    }
    return lines;
}

void DatafileEditor::SetTextLines(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines) {
        text << ToQt(line);
    }
    textBox_->setPlainText(text.join('\n'));
}

} // namespace kelvor::app
