#pragma once

#include "app/interchange/spice_nodes_window.h"
#include "examples/example_catalogue.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace kelvor::app {

struct AppState;

// The choices the three File commands ask of the user. Each defaults to the real dialog; tests
// replace them, so that no test waits on a modal window.
struct InterchangeDialogs {
    std::function<std::optional<int>(QWidget* owner, const std::vector<ExampleEntry>& examples)>
        chooseExample;
    // Paths as the file system spells them, through QFile::encodeName.
    std::function<std::optional<QString>(QWidget* owner, const QString& suggestedPath)>
        chooseNetlistToSave;
    std::function<std::optional<QString>(QWidget* owner, const QString& folder)>
        chooseNetlistToOpen;
    std::function<std::optional<SpiceNodeRoles>(QWidget* owner,
                                                const std::vector<std::string>& nodes)>
        chooseNodes;
    std::function<std::optional<QString>(QWidget* owner, const QString& suggestedPath)>
        chooseDatafileToSave;
    // What a netlist holds that a Datafile cannot: too long a list for a message box.
    std::function<void(QWidget* owner, const QString& problems)> showImportProblems;
};

InterchangeDialogs RealInterchangeDialogs();

// Opens a Datafile of the working folder by its name, as File / Open does.
using OpenDatafile = std::function<void(const QString& name)>;

// File / Open Example: copies the chosen example into the working folder (asking before it
// replaces a file of that name) and makes it the current Datafile.
void OpenExampleCommand(AppState& state, QWidget* owner, const InterchangeDialogs& dialogs,
                        const OpenDatafile& open);

// File / Export SPICE Netlist: the current Datafile as a netlist, swept over the range of the
// amplitude graph, written atomically where the user says.
void ExportSpiceNetlistCommand(AppState& state, QWidget* owner, const InterchangeDialogs& dialogs);

// File / Import SPICE Netlist: asks for the netlist and its input, output and common nodes,
// shows what cannot be expressed (writing nothing then), or writes the new Datafile into the
// working folder and opens it.
void ImportSpiceNetlistCommand(AppState& state, QWidget* owner, const InterchangeDialogs& dialogs,
                               const OpenDatafile& open);

} // namespace kelvor::app
