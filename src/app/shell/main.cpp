// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/file_paths.h"
#include "app/shell/desktop_dialogs.h"
#include "app/shell/main_window.h"
#include "app/shell/start_options.h"
#include "app/state/app_state.h"
#include "app/state/message_boxes.h"
#include "examples/example_catalogue.h"
#include "render/program_icon.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QStandardPaths>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace {

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addPixmap(QPixmap::fromImage(kelvor::render::ProgramIconImage(size)));
    }
    return QIcon::fromTheme(KELVOR_APP_ID, icon);
}

} // namespace

int main(int argc, char** argv) {
    using kelvor::app::StartOptions;
    // Help and version answer before any window exists: they need no display, and the build
    // writes the manual page from them.
    const StartOptions early = kelvor::app::ParseStartOptions({argv + 1, argv + argc});
    if (early.action == StartOptions::Action::ShowHelp) {
        std::cout << kelvor::app::kProgramHelp;
        return 0;
    }
    if (early.action == StartOptions::Action::ShowVersion) {
        std::cout << kelvor::app::ProgramVersionText();
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName("KELVOR2007");
    QApplication::setDesktopFileName(KELVOR_APP_ID);
    QApplication::setWindowIcon(ProgramIcon());

    // The toolkit has taken its own options out of the arguments by now.
    std::vector<std::string> arguments;
    for (const QString& argument : QApplication::arguments().mid(1)) {
        arguments.push_back(kelvor::app::PathFromQt(argument).string());
    }
    const StartOptions options = kelvor::app::ParseStartOptions(arguments);
    if (options.action == StartOptions::Action::Refuse) {
        std::cerr << "kelvor2007: " << options.refusal << "\n\n" << kelvor::app::kProgramHelp;
        return 2;
    }

    kelvor::app::MessageBoxes messages;
    kelvor::app::DesktopDialogs dialogs;
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    const std::filesystem::path documents = kelvor::app::PathFromQt(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    kelvor::app::StartPlace place =
        kelvor::app::ChooseStartPlace(options, current, documents.empty() ? current : documents);
    if (place.ownFolder) {
        const kelvor::app::OwnFolderOutcome outcome =
            kelvor::app::PrepareOwnFolder(place.folder, kelvor::FindExamplesFolder());
        if (!outcome.problem.empty()) {
            messages.ShowWarning(outcome.problem);
        }
        if (!outcome.usable) {
            place.folder = current;
        }
    }
    // Every file the program keeps lies in the working folder, the process's current folder.
    std::filesystem::current_path(place.folder, error);
    if (error) {
        messages.ShowError("Cannot work in " + place.folder.string() + " : " + error.message());
        return 2;
    }

    kelvor::app::AppState state(place.folder, messages, dialogs);
    kelvor::app::TFormMain mainWindow(state);
    mainWindow.show();
    if (!place.datafileName.empty()) {
        mainWindow.OpenDatafileNamed(kelvor::app::PathToQt(place.datafileName));
    }
    return QApplication::exec();
}
