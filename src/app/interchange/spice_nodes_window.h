// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/state/spice_node_roles.h"

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;

namespace kelvor::app {

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
