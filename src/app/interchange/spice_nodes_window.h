// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;

namespace kelvor::app {

// The roles of a SPICE netlist's nodes in the Datafile it becomes.
struct SpiceNodeRoles {
    std::string input;
    std::string output;
    std::string common;
};

// File / Import SPICE Netlist: the input, output and common nodes, picked from the netlist's
// own node names. Each starts on the proposed node; without a proposal, the first two nodes
// other than ground start as input and output, and ground as the common node.
class TFormSpiceNodes : public QDialog {
    Q_OBJECT
public:
    TFormSpiceNodes(const std::vector<std::string>& nodes, const SpiceNodeRoles& proposed,
                    QWidget* parent);

    SpiceNodeRoles Roles() const;

    QComboBox* ComboBoxInput = nullptr;
    QComboBox* ComboBoxOutput = nullptr;
    QComboBox* ComboBoxCommon = nullptr;
};

} // namespace kelvor::app
