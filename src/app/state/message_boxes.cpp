// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/state/message_boxes.h"

#include "app/common/event_wait.h"
#include "app/common/qt_text.h"

#include <QApplication>
#include <QMessageBox>

namespace kelvor::app {
namespace {

constexpr const char* kTitle = "KELVOR2007";

QWidget* Owner() {
    return QApplication::activeWindow();
}

} // namespace

void MessageBoxes::ShowInfo(const std::string& message) {
    QMessageBox::information(Owner(), kTitle, BoxText(message));
}

void MessageBoxes::ShowWarning(const std::string& message) {
    QApplication::beep();
    QMessageBox::warning(Owner(), kTitle, BoxText(message));
}

void MessageBoxes::ShowError(const std::string& message) {
    QApplication::beep();
    WaitMs(500);
    QApplication::beep();
    QMessageBox::critical(Owner(), kTitle, BoxText(message));
}

Answer MessageBoxes::Ask(const std::string& question, QuestionButtons buttons) {
    if (buttons == QuestionButtons::OkCancel) {
        const auto answer = QMessageBox::question(Owner(), kTitle, BoxText(question),
                                                  QMessageBox::Ok | QMessageBox::Cancel);
        return answer == QMessageBox::Ok ? Answer::Yes : Answer::Cancel;
    }
    QMessageBox::StandardButtons choices = QMessageBox::Yes | QMessageBox::No;
    if (buttons == QuestionButtons::YesNoCancel) {
        choices |= QMessageBox::Cancel;
    }
    const auto answer = QMessageBox::question(Owner(), kTitle, BoxText(question), choices);
    if (answer == QMessageBox::Yes) {
        return Answer::Yes;
    }
    return answer == QMessageBox::No ? Answer::No : Answer::Cancel;
}

} // namespace kelvor::app
