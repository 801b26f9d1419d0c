// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell/app_state.h"
#include "app/shell/dialogs.h"
#include "app/shell/main_window.h"
#include "app/shell/message_boxes.h"

#include <QApplication>
#include <filesystem>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("KELVOR2007");
    kelvor::app::MessageBoxes messages;
    kelvor::app::DesktopDialogs dialogs;
    kelvor::app::AppState state(std::filesystem::current_path(), messages, dialogs);
    kelvor::app::TFormMain mainWindow(state);
    mainWindow.show();
    return QApplication::exec();
}
