// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "examples/example_catalogue.h"

#include <QDialog>
#include <optional>
#include <vector>

class QListWidget;

namespace kelvor::app {

// File / Open Example: the examples, each with its title and a line about it; OK (or a double
// click) takes the one selected.
class TFormExamples : public QDialog {
    Q_OBJECT
public:
    TFormExamples(const std::vector<ExampleEntry>& examples, QWidget* parent);

    // The index of the example chosen, once the dialog has been accepted.
    std::optional<int> Chosen() const;

    QListWidget* ListBoxExamples = nullptr;
};

} // namespace kelvor::app
