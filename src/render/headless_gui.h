// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvor::render {

// Text needs the font database, which only exists inside a QGuiApplication. A tool without
// windows calls this before drawing: it creates one application for the rest of the process,
// on the offscreen platform unless QT_QPA_PLATFORM names another. An application that already
// runs is used as it is.
void EnsureGuiApplication();

// What an application for a tool without windows is made with: the offscreen platform unless
// QT_QPA_PLATFORM names another, and arguments that live as long as the process.
struct HeadlessArguments {
    int& argc;
    char** argv;
};
HeadlessArguments PrepareHeadlessApplication();

} // namespace kelvor::render
