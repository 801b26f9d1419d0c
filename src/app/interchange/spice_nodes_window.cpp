// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/interchange/spice_nodes_window.h"

#include "app/common/qt_text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

namespace kelvor::app {

TFormSpiceNodes::TFormSpiceNodes(const std::vector<std::string>& nodes, const SpiceNodeRoles& given,
                                 QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("   Import SPICE Netlist");
    auto* layout = new QFormLayout(this);
    std::vector<std::string> others;
    for (const std::string& node : nodes) {
        if (node != "0" && node != given.input && node != given.output) {
            others.push_back(node);
        }
    }
    std::size_t next = 0;
    const auto orNext = [&](const std::string& node) {
        return !node.empty() ? node : next < others.size() ? others[next++] : std::string();
    };
    const std::vector<std::string> proposed = {orNext(given.input), orNext(given.output),
                                               given.common.empty() ? "0" : given.common};
    const auto combo = [&](const char* name, const char* label, std::size_t role) {
        auto* box = new QComboBox(this);
        box->setObjectName(name);
        for (const std::string& node : nodes) {
            box->addItem(ToQt(node));
        }
        box->setCurrentText(ToQt(proposed[role]));
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
