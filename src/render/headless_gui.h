// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kelvor_error.h"

#include <QCoreApplication>
#include <string>

namespace kelvor::render {

// What an application for a tool without windows is made with: the offscreen platform unless
// QT_QPA_PLATFORM names another, and arguments that live as long as the process.
struct HeadlessArguments {
    int& argc;
    char** argv;
};
HeadlessArguments PrepareHeadlessApplication();

// Text needs the font database of a QGuiApplication, the plots the widgets of a QApplication.
// A tool without windows calls this before drawing: it creates one application of the kind it
// needs for the rest of the process. A running application that is of that kind (or richer) is
// used as it is; one that is not throws KelvorError, as it cannot be replaced.
template <class Application> void EnsureHeadlessApplication() {
    if (QCoreApplication* running = QCoreApplication::instance()) {
        if (qobject_cast<Application*>(running) == nullptr) {
            throw KelvorError("A tool without windows needs a " +
                              std::string(Application::staticMetaObject.className()) +
                              ", and another kind of application runs");
        }
        return;
    }
    const HeadlessArguments arguments = PrepareHeadlessApplication();
    static Application* application = new Application(arguments.argc, arguments.argv);
    (void)application;
}

// The pictures' own tools need no widgets.
void EnsureGuiApplication();

} // namespace kelvor::render
