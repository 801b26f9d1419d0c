// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/state/help_topics.h"

#include <QDialog>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QKeyEvent;
class QTextEdit;
class QTimer;

namespace kelvor::app {

struct AppState;
class HelpTextFill;

inline constexpr const char* kHelpDocumentName = "KELVOR.RTF";
inline constexpr const char* kGraphsDocumentName = "GRAPHS.PDF";

// Where the documents installed with the program lie: the installed copy, then the copy in the
// source tree (a build that was never installed).
std::vector<std::filesystem::path> InstalledHelpFolders();

// The working folder's copy of a help document when it has one (even an unreadable one, so that
// the user hears about it), else the first installed copy; the working folder's path when there
// is none at all.
std::filesystem::path FindHelpFile(const std::filesystem::path& workingFolder,
                                   const std::vector<std::filesystem::path>& installedFolders,
                                   const std::string& name);

// The help viewer: KELVOR.RTF in one read-only rich-text box, opened at HelpPosition. The right
// mouse button hands GRAPHS.PDF to the desktop; releasing F1 closes the window.
class TFormHelp : public QDialog {
    Q_OBJECT
public:
    explicit TFormHelp(AppState& state, QWidget* parent = nullptr);
    ~TFormHelp() override;

    // Every activation starts afresh: reload the document and put the caret at HelpPosition.
    void FormActivate();
    void RichEditHelpMouseDown(Qt::MouseButton button);
    void FormKeyUp(int key);

    // The installed folders searched after the working folder.
    void SetInstalledFolders(std::vector<std::filesystem::path> folders);

    QTextEdit* RichEditHelp = nullptr;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool LoadDocument();
    void PlaceCaret(int32_t position);

    AppState& state_;
    std::vector<std::filesystem::path> installedFolders_;
    // A huge document goes into the box in steps while the window waits for the user.
    std::unique_ptr<HelpTextFill> fill_;
    QTimer* fillTimer_ = nullptr;
    bool activating_ = false;
    // A failed load is reported once per opening: the message box itself deactivates the
    // window, and reporting again on the reactivation that follows would never end.
    bool loadFailureReported_ = false;
};

// Sets HelpPosition and shows the help window modally.
void OpenHelp(AppState& state, int32_t position);

// The windows that offer help open it when F1 is released; true when the key was F1.
bool OpenHelpOnF1(const QKeyEvent* event, AppState& state, const HelpPlace& place);

} // namespace kelvor::app
