// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bode/step_window.h"

#include "kelvor_error.h"
#include "stepping/step_list.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace kelvor::app {
namespace {

// The forms of ComboBoxForm, in its order.
enum Form { kList, kLinear, kLogarithmic, kE12, kE24 };

} // namespace

TFormStep::TFormStep(std::vector<SteppableLine> lines, QWidget* parent)
    : QDialog(parent), lines_(std::move(lines)) {
    setWindowTitle("Step a Value");
    auto* layout = new QFormLayout(this);
    ComboBoxLine = new QComboBox(this);
    for (const SteppableLine& line : lines_) {
        QString values;
        for (const std::string& value : line.values) {
            values += ' ' + QString::fromStdString(value);
        }
        ComboBoxLine->addItem(QStringLiteral("Line %1:  %2 %3")
                                  .arg(line.line)
                                  .arg(QString::fromStdString(line.component), values.trimmed()));
    }
    SpinBoxValue = new QSpinBox(this);
    ComboBoxForm = new QComboBox(this);
    ComboBoxForm->addItems({"List of values", "Linear range", "Logarithmic range",
                            "E12 values between", "E24 values between"});
    EditBoxList = new QLineEdit("1k, 2.2k, 4.7k", this);
    EditBoxFrom = new QLineEdit("1k", this);
    EditBoxTo = new QLineEdit("10k", this);
    SpinBoxCount = new QSpinBox(this);
    SpinBoxCount->setRange(2, kMostStepValues);
    SpinBoxCount->setValue(5);
    LabelProblem = new QLabel(this);
    LabelProblem->setWordWrap(true);
    layout->addRow("Component &line", ComboBoxLine);
    layout->addRow("&Value number", SpinBoxValue);
    layout->addRow("&Values", ComboBoxForm);
    layout->addRow("L&ist", EditBoxList);
    layout->addRow("&From", EditBoxFrom);
    layout->addRow("&To", EditBoxTo);
    layout->addRow("&Count", SpinBoxCount);
    layout->addRow(LabelProblem);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Request()) {
            accept();
        }
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ComboBoxLine, &QComboBox::currentIndexChanged, this, &TFormStep::ShowLineValues);
    connect(ComboBoxForm, &QComboBox::currentIndexChanged, this, &TFormStep::ShowForm);
    ShowLineValues();
    ShowForm();
}

void TFormStep::ShowLineValues() {
    const int index = ComboBoxLine->currentIndex();
    const int values =
        index < 0 ? 1 : static_cast<int>(lines_[static_cast<std::size_t>(index)].values.size());
    SpinBoxValue->setRange(1, std::max(1, values));
}

void TFormStep::ShowForm() {
    const int form = ComboBoxForm->currentIndex();
    EditBoxList->setEnabled(form == kList);
    EditBoxFrom->setEnabled(form != kList);
    EditBoxTo->setEnabled(form != kList);
    SpinBoxCount->setEnabled(form == kLinear || form == kLogarithmic);
}

QString TFormStep::ListText() const {
    const QString range = EditBoxFrom->text().trimmed() + ".." + EditBoxTo->text().trimmed() + '/';
    switch (ComboBoxForm->currentIndex()) {
    case kLinear:
        return range + QString::number(SpinBoxCount->value());
    case kLogarithmic:
        return range + "log" + QString::number(SpinBoxCount->value());
    case kE12:
        return range + "E12";
    case kE24:
        return range + "E24";
    default:
        return EditBoxList->text().trimmed();
    }
}

std::optional<StepRequest> TFormStep::Request() {
    const int index = ComboBoxLine->currentIndex();
    if (index < 0) {
        LabelProblem->setText("The Datafile has no component value to step.");
        return std::nullopt;
    }
    try {
        StepRequest request;
        request.target = {lines_[static_cast<std::size_t>(index)].line, SpinBoxValue->value()};
        request.values = ParseStepList(ListText().toStdString());
        LabelProblem->clear();
        return request;
    } catch (const KelvorError& error) {
        LabelProblem->setText(QString::fromStdString(error.what()));
        return std::nullopt;
    }
}

} // namespace kelvor::app
