// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/state/app_state.h"
#include "schematic/schematic_circuit.h"

#include <QFileSystemWatcher>
#include <QWidget>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

namespace kelvor::app {

class SchematicView;

// The current Datafile drawn as a schematic, beside the other windows: it follows the file,
// drawing again whenever it is saved, and shows the parser's report for a Datafile with errors.
// Hovering a component shows its Datafile line; a double click opens the form editor there.
class TFormSchematic : public QWidget {
    Q_OBJECT
public:
    explicit TFormSchematic(AppState& state, QWidget* parent = nullptr);

    void ShowForCurrentDatafile();
    // Reads and draws the current Datafile again.
    void Redraw();
    void ButtonExportClick();
    void ButtonPrintClick();
    // Opens the form editor with the caret on the component's Datafile line.
    void EditComponent(int component);

    SchematicView* View = nullptr;
    QLabel* LabelReport = nullptr; // the parser's report, in place of the drawing
    QLabel* LabelLine = nullptr;   // the Datafile line of the component under the pointer
    QCheckBox* CheckBoxNodes = nullptr;
    QPushButton* ButtonFit = nullptr;
    QPushButton* ButtonExport = nullptr;
    QPushButton* ButtonPrint = nullptr;

protected:
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void ShowLine(int component);

    AppState& state_;
    schematic::Circuit circuit_;
    std::vector<std::string> lineTexts_; // each component's Datafile line, as read
    QFileSystemWatcher watcher_;
};

} // namespace kelvor::app
