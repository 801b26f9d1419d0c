// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/interchange/spice_nodes_window.h"

#include "app/common/qt_text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

namespace kelvor::app {

TFormSpiceNodes::TFormSpiceNodes(const std::vector<std::string>& nodes, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("   Import SPICE Netlist");
    auto* layout = new QFormLayout(this);
    // The first two nodes that are not ground start as input and output, ground as common.
    std::vector<std::string> proposed;
    for (const std::string& node : nodes) {
        if (node != "0") {
            proposed.push_back(node);
        }
    }
    proposed.insert(proposed.begin() + std::min<std::size_t>(2, proposed.size()), "0");
    const auto combo = [&](const char* name, const char* label, std::size_t role) {
        auto* box = new QComboBox(this);
        box->setObjectName(name);
        for (const std::string& node : nodes) {
            box->addItem(ToQt(node));
        }
        if (role < proposed.size()) {
            box->setCurrentText(ToQt(proposed[role]));
        }
        layout->addRow(label, box);
        return box;
    };
    ComboBoxInput = combo("ComboBoxInput", "Input node (NodeIn)", 0);
    ComboBoxOutput = combo("ComboBoxOutput", "Output node (NodeOut)", 1);
    ComboBoxCommon = combo("ComboBoxCommon", "Common node (NodeCom)", 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

SpiceNodeRoles TFormSpiceNodes::Roles() const {
    return {FromQt(ComboBoxInput->currentText()), FromQt(ComboBoxOutput->currentText()),
            FromQt(ComboBoxCommon->currentText())};
}

} // namespace kelvor::app
