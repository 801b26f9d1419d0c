// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace kelvor::app {

struct AppState;

// Opens a Datafile of the working folder by its name, as File / Open does.
using OpenDatafile = std::function<void(const QString& name)>;

// File / Open Example: copies the chosen example into the working folder (asking before it
// replaces a file of that name) and makes it the current Datafile.
void OpenExampleCommand(AppState& state, QWidget* owner, const OpenDatafile& open);

// File / Export SPICE Netlist: the current Datafile as a netlist, swept over the range of the
// amplitude graph, written atomically where the user says.
void ExportSpiceNetlistCommand(AppState& state, QWidget* owner);

// File / Import SPICE Netlist: asks for the netlist and its input, output and common nodes,
// shows what cannot be expressed (writing nothing then), or writes the new Datafile into the
// working folder and opens it.
void ImportSpiceNetlistCommand(AppState& state, QWidget* owner, const OpenDatafile& open);

} // namespace kelvor::app
