// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/interchange/file_interchange.h"
#include "app/state/app_state.h"
#include "files/folder_presence.h"

#include <QMainWindow>

class QLabel;
class QMenu;
class QMimeData;

namespace kelvor::app {

// The main window: start-up, the current Datafile and the menu that leads to every command.
class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormMain(AppState& state, QWidget* parent = nullptr);
    ~TFormMain() override;

    // File/Open after the dialog: an existing name is parsed, a new one gets the skeleton.
    void OpenDatafileNamed(const QString& chosenPath);

    void FileOpenClick();
    void FilePrintClick();
    void PageSetupClick();
    void ExitClick();
    void EditClick();
    void ResponseClick();
    void GraphsMenuShow();
    void AmplitudeClick();
    void SquareWaveClick();
    void PulseClick();
    void SetupClick();
    void BodeClick();
    void HelpTopicClick(int32_t position);
    // A Datafile from File / Recent Datafiles; one that has gone is said so and forgotten.
    void RecentDatafileClick(const std::string& name);

    QString StatusText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FormCreate();
    void ReadSettingsAtStart();
    void WarnAboutTheDisplay();
    void BuildMenus();
    void BuildContents();
    void CreateWindows();
    void UpdateCaptionAndStatus();
    void SaveSettings();
    void ReopenMenuWindows();
    void FillRecentMenu();
    void AddShortcuts(QAction* open, QAction* print, QAction* exit, QAction* response,
                      QAction* bode, QAction* schematic);
    void BuildWorkingFolderLine();

    AppState& state_;
    // Tells this copy whether another one works in the folder, whose RECORDS.TMP must stay.
    FolderPresence folderPresence_;
    QLabel* statusPanel_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    bool graphsDatafileOk_ = false; // the parse when the Graphs menu last opened
    bool reopenScheduled_ = false;
};

} // namespace kelvor::app
