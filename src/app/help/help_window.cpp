// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help/help_window.h"

#include "app/common/window_fonts.h"
#include "app/common/window_look.h"
#include "app/help/help_text_fill.h"
#include "app/state/app_state.h"
#include "app/state/dialogs.h"
#include "files/file_io.h"
#include "files/installed_data.h"
#include "kelvor_error.h"
#include "text/rtf_reader.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <system_error>

namespace kelvor::app {
namespace {

constexpr int kClientWidth = 767;
constexpr int kClientHeight = 574;

} // namespace

std::vector<std::filesystem::path> InstalledHelpFolders() {
    // Installed first: beside the running program, then where the build meant to install it;
    // then, for a program run from its build tree, the documents made by the build
    // (GRAPHS.PDF) and those kept with the sources (KELVOR.RTF).
    std::vector<std::filesystem::path> folders{KELVOR_INSTALLED_DOCS_DIR, KELVOR_BUILD_DOCS_DIR,
                                               KELVOR_SOURCE_DOCS_DIR};
    if (const std::filesystem::path installed = InstalledDataFolder(); !installed.empty()) {
        folders.insert(folders.begin(), installed);
    }
    return folders;
}

std::filesystem::path FindHelpFile(const std::filesystem::path& workingFolder,
                                   const std::vector<std::filesystem::path>& installedFolders,
                                   const std::string& name) {
    std::error_code error;
    const std::filesystem::path local = workingFolder / name;
    if (std::filesystem::exists(local, error)) {
        return local;
    }
    for (const std::filesystem::path& folder : installedFolders) {
        const std::filesystem::path installed = folder / name;
        if (std::filesystem::is_regular_file(installed, error)) {
            return installed;
        }
    }
    return local;
}

TFormHelp::TFormHelp(AppState& state, QWidget* parent)
    : QDialog(parent), state_(state), installedFolders_(InstalledHelpFolders()) {
    setObjectName("FormHelp");
    setWindowTitle("   HELP");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(kClientWidth, kClientHeight);

    RichEditHelp = new QTextEdit(this);
    RichEditHelp->setObjectName("RichEditHelp");
    RichEditHelp->setGeometry(0, 0, kClientWidth, kClientHeight);
    RichEditHelp->setFrameShape(QFrame::NoFrame);
    RichEditHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEditHelp->setReadOnly(true);
    RichEditHelp->setUndoRedoEnabled(false);
    // Read-only, but the caret shows and the keys move it, as in the reader's own text box.
    RichEditHelp->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // The right button belongs to GRAPHS.PDF, not to a context menu.
    RichEditHelp->setContextMenuPolicy(Qt::NoContextMenu);
    RichEditHelp->setFont(PixelFont("Courier New", 13));
    QPalette palette = RichEditHelp->palette();
    palette.setColor(QPalette::Text, ReadableText(kMaroon, palette.color(QPalette::Base)));
    // The selection stays visible when the box loses the focus.
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    RichEditHelp->setPalette(palette);

    // Key preview: the window sees F1 before the text box does.
    RichEditHelp->installEventFilter(this);
    RichEditHelp->viewport()->installEventFilter(this);

    fillTimer_ = new QTimer(this);
    connect(fillTimer_, &QTimer::timeout, this, [this] {
        if (fill_->FillFor(kHelpFillStep)) {
            fillTimer_->stop();
        }
    });
}

TFormHelp::~TFormHelp() = default;

void TFormHelp::SetInstalledFolders(std::vector<std::filesystem::path> folders) {
    installedFolders_ = std::move(folders);
}

bool TFormHelp::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        FormActivate();
    }
    return QDialog::event(event);
}

bool TFormHelp::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        // A held key repeats its release; only the real release closes the window.
        if (!key->isAutoRepeat() && key->key() == Qt::Key_F1) {
            FormKeyUp(key->key());
            return true;
        }
    }
    if (watched == RichEditHelp->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            RichEditHelpMouseDown(mouse->button());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormHelp::showEvent(QShowEvent* event) {
    loadFailureReported_ = false;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    QDialog::showEvent(event);
}

void TFormHelp::FormActivate() {
    if (activating_) {
        return; // a message box raised while loading brings its own activations
    }
    activating_ = true;
    fillTimer_->stop();
    fill_.reset();
    RichEditHelp->clear();
    LoadDocument();
    RichEditHelp->setFocus();
    PlaceCaret(state_.shell.HelpPosition);
    activating_ = false;
}

bool TFormHelp::LoadDocument() {
    const std::filesystem::path path =
        FindHelpFile(state_.workingFolder, installedFolders_, kHelpDocumentName);
    RtfDocument document;
    try {
        document = ReadRtf(ReadWholeFile(path, kHelpFileSizeLimit));
    } catch (const KelvorError& error) {
        if (!loadFailureReported_) {
            loadFailureReported_ = true;
            state_.messages.ShowError(error.what());
        }
        return false;
    }
    fill_ = std::make_unique<HelpTextFill>(*RichEditHelp->document(), std::move(document));
    fill_->FillPast(static_cast<std::size_t>(std::max(state_.shell.HelpPosition, 0)),
                    kParagraphsBelowCaret);
    if (!fill_->Done()) {
        fillTimer_->start();
    }
    return true;
}

void TFormHelp::PlaceCaret(int32_t position) {
    QTextDocument* document = RichEditHelp->document();
    const int end = document->characterCount() - 1;
    QTextCursor cursor(document);
    cursor.setPosition(std::clamp(position, 0, end));
    RichEditHelp->setTextCursor(cursor);
    // The caret's line goes to the top of the view, so that the whole topic under its heading
    // is on screen rather than only its first line at the bottom; the box may not yet have laid
    // out the text down to one view below it.
    QAbstractTextDocumentLayout* layout = document->documentLayout();
    const qreal caretTop = layout->blockBoundingRect(cursor.block()).top();
    layout->hitTest(QPointF(0, caretTop + RichEditHelp->viewport()->height()), Qt::FuzzyHit);
    QScrollBar* scrollBar = RichEditHelp->verticalScrollBar();
    scrollBar->setValue(scrollBar->value() + RichEditHelp->cursorRect().top());
    RichEditHelp->ensureCursorVisible();
}

void TFormHelp::RichEditHelpMouseDown(Qt::MouseButton button) {
    if (button != Qt::RightButton) {
        return;
    }
    // A missing file or a desktop without a PDF viewer is the desktop's to report.
    const std::filesystem::path path =
        FindHelpFile(state_.workingFolder, installedFolders_, kGraphsDocumentName);
    state_.dialogs.OpenDocument(path);
}

void TFormHelp::FormKeyUp(int key) {
    if (key == Qt::Key_F1) {
        close();
    }
}

void OpenHelp(AppState& state, int32_t position) {
    state.shell.HelpPosition = position;
    state.windows.Get<TFormHelp>().exec();
}

bool OpenHelpOnF1(const QKeyEvent* event, AppState& state, const HelpPlace& place) {
    if (event->key() != Qt::Key_F1) {
        return false;
    }
    OpenHelp(state, place.position);
    return true;
}

} // namespace kelvor::app
