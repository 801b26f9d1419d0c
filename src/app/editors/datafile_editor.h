// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/editors/editor_hints.h"
#include "app/state/app_state.h"

#include <QDialog>
#include <array>
#include <string>
#include <vector>

class QLabel;
class QMenuBar;
class QPlainTextEdit;

namespace kelvor::app {

// What the text editor and the form editor share: the opening steps, Save, Check with the record
// listing, the closing check and the revision raised on close, the typing hints, help and the
// menu. Each editor adds its own layout, its own wording and how it turns its controls into the
// Datafile.
class DatafileEditor : public QDialog {
    Q_OBJECT
public:
    // Menu captions from left to right: Copy, Cut, Paste, Save, Check, Help, View Graphs.
    using MenuCaptions = std::array<const char*, 7>;

    // Each editor's own texts.
    struct Wording {
        MenuCaptions menu;
        std::vector<KeyHint> keyHints;
        EditorHint standardHint;
        std::string legend; // shown for the kinds that have optional values
    };

    // Writes the Datafile from the controls; false when it could not be written (reported).
    bool SaveClick();
    // Offers to save, parses what is on disk silently and lists its records.
    void CheckClick();
    void HelpClick();
    void ViewGraphsClick();
    void CopyClick();
    void CutClick();
    void PasteClick();

    bool SavedSinceOpening() const { return savedSinceOpening_; }

    // The hint strip, shared by both editors: symbol, kind, syntax and legend panels.
    QLabel* PanelHint1 = nullptr; // symbol, inside the kind panel
    QLabel* PanelHint2 = nullptr; // kind
    QLabel* PanelHint3 = nullptr; // syntax
    QLabel* PanelHint4 = nullptr; // legend, inside the kind panel
    QMenuBar* MenuBar = nullptr;

protected:
    DatafileEditor(AppState& state, Wording wording, QWidget* parent);

    // Sizes the window below its menu to the client width and height, in that colour; the
    // editor places its controls on the client area returned.
    QWidget* Client(int width, int height, const QColor& background);
    QPlainTextEdit* TextBox() const { return textBox_; }
    // Keys typed into this control reach the editor first.
    void WatchKeys(QWidget* control);

    // Each editor's own parts.
    // The first opening step; by default it centres the window.
    virtual void PrepareOpening();
    virtual void FillControls(const std::vector<std::string>& fileLines) = 0;
    virtual std::string ComposeDatafile() = 0;
    virtual bool AnyModified() const = 0;
    virtual void ClearModified() = 0;
    // Line 1 written when the window closes after a save, from the closing parse.
    virtual std::string ClosingTitleLine() const = 0;
    virtual void ShowStandardHint();
    virtual void ShowNewFileHint();
    virtual void FormKeyPress(QKeyEvent* event, QObject* target) = 0;
    virtual void FormKeyUp(QKeyEvent* event) { (void)event; }

    void ShowHint(const EditorHint& hint);
    // The row of a typed character, or nullptr.
    const EditorHint* HintForCharacter(QChar typed) const;
    // A line from the first down to the caret's line begins with "#": the rest is ignored, so
    // typing there is not a component.
    bool CircuitEndedAtCaret() const;
    bool CaretLineBlank() const;
    // A character that goes into the text, as opposed to an editing or control key.
    static bool IsTypedCharacter(const QKeyEvent* event);

    // The text box's lines, as they are saved.
    std::vector<std::string> TextLines() const;
    void SetTextLines(const std::vector<std::string>& lines);

    AppState& state_;

    void done(int result) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool FormShow();
    bool FormCloseQuery();
    void FormClose();
    bool OfferToSave();
    void OpenListing();

    Wording wording_;
    QWidget* client_ = nullptr;
    QPlainTextEdit* textBox_ = nullptr;
    bool opened_ = false;
    bool savedSinceOpening_ = false;
};

} // namespace kelvor::app
