// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/interchange/example_chooser_window.h"

#include "app/common/qt_text.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

namespace kelvor::app {

TFormExamples::TFormExamples(const std::vector<ExampleEntry>& examples, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("   Open Example");
    auto* layout = new QVBoxLayout(this);
    ListBoxExamples = new QListWidget(this);
    ListBoxExamples->setObjectName("ListBoxExamples");
    for (const ExampleEntry& example : examples) {
        ListBoxExamples->addItem(ToQt(example.title + "\n      " + example.description));
    }
    if (!examples.empty()) {
        ListBoxExamples->setCurrentRow(0);
    }
    ListBoxExamples->setMinimumSize(560, 360);
    layout->addWidget(ListBoxExamples);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ListBoxExamples, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

std::optional<int> TFormExamples::Chosen() const {
    if (result() != QDialog::Accepted || ListBoxExamples->currentRow() < 0) {
        return std::nullopt;
    }
    return ListBoxExamples->currentRow();
}

} // namespace kelvor::app
