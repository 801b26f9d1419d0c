// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's ways in from the desktop: recent Datafiles, Datafiles dropped on it, the
// keyboard shortcuts and the line that names the working folder.
#include "app/common/file_paths.h"
#include "app/common/file_queries.h"
#include "app/shell/main_window.h"
#include "text/words.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QShortcut>
#include <QStatusBar>
#include <QUrl>
#include <optional>
#include <system_error>

namespace kelvor::app {
namespace {

// The one local Datafile (by its extension, as File / Open lists them) that the data carries.
std::optional<QString> DroppedDatafile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return std::nullopt;
    }
    const QUrl url = data->urls().front();
    if (!url.isLocalFile() || !url.toLocalFile().endsWith(".dat", Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    return url.toLocalFile();
}

} // namespace

void TFormMain::BuildWorkingFolderLine() {
    auto* folder = new QLabel("Working folder :  " + PathToQt(state_.workingFolder), this);
    folder->setObjectName("WorkingFolder");
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar()->addWidget(folder, 1);
    statusBar()->setSizeGripEnabled(false);
}

void TFormMain::AddShortcuts(QAction* open, QAction* print, QAction* exit, QAction* response,
                             QAction* bode, QAction* schematic) {
    open->setShortcut(QKeySequence::Open);
    print->setShortcut(QKeySequence::Print);
    exit->setShortcut(QKeySequence::Quit);
    // The menu bar shows no key beside its own commands: the tip names it.
    response->setShortcut(Qt::CTRL | Qt::Key_R);
    response->setToolTip("Response (" + response->shortcut().toString(QKeySequence::NativeText) +
                         ")");
    // The analyser's item needs the parse that opening the Graphs menu runs. The menu shows
    // the key; pressed outside the menu, the key runs that parse first.
    bode->setShortcut(Qt::CTRL | Qt::Key_B);
    bode->setShortcutContext(Qt::WidgetShortcut);
    auto* bodeKey = new QShortcut(bode->shortcut(), this);
    bodeKey->setObjectName("BodeShortcut");
    connect(bodeKey, &QShortcut::activated, this, [this] {
        GraphsMenuShow();
        BodeClick();
    });
    // The schematic reports a Datafile's errors itself: its item needs no parse before it.
    schematic->setShortcut(Qt::CTRL | Qt::Key_D);
}

void TFormMain::FillRecentMenu() {
    recentMenu_->clear();
    int number = 0;
    for (const std::string& name : state_.settings.RecentDatafiles) {
        if (name.empty()) {
            break;
        }
        ++number;
        connect(recentMenu_->addAction(QString("&%1  ").arg(number) + PathToQt(name)),
                &QAction::triggered, this, [this, name] { RecentDatafileClick(name); });
    }
    if (number == 0) {
        recentMenu_->addAction("(none yet)")->setEnabled(false);
    }
}

void TFormMain::RecentDatafileClick(const std::string& name) {
    const FileQuery file = QueryFile(state_.File(name));
    if (file.regular) {
        OpenDatafileNamed(PathToQt(name));
        return;
    }
    // Opening a name that has gone would make a new skeleton Datafile of it.
    state_.messages.ShowWarning(file.fault.empty() ? CutText(name + " does not exist", 45)
                                                   : "Cannot open " + name + " : " + file.fault);
    ForgetRecentDatafile(state_.settings, name);
    state_.KeepSettings();
}

void TFormMain::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedDatafile(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void TFormMain::dropEvent(QDropEvent* event) {
    const std::optional<QString> dropped = DroppedDatafile(event->mimeData());
    if (!dropped) {
        return;
    }
    event->acceptProposedAction();
    // File / Open takes a name in the working folder; a Datafile from elsewhere would be
    // opened by its name alone and find another file, or an empty new one.
    std::error_code error;
    const std::filesystem::path folder = PathFromQt(QFileInfo(*dropped).absolutePath());
    if (!std::filesystem::equivalent(folder, state_.workingFolder, error)) {
        state_.messages.ShowWarning(
            "\r\n   " + PathFromQt(QFileInfo(*dropped).fileName()).string() +
            " is not in the working folder\r\n   " + state_.workingFolder.string() +
            "\r\n\r\n   Copy it there, or start KELVOR with it to work in its folder.   ");
        return;
    }
    OpenDatafileNamed(*dropped);
}

} // namespace kelvor::app
