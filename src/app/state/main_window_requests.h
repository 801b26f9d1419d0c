// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace kelvor::app {

// What a window below the main window asks of it, without knowing it: the main window listens
// here when it is made; with none (a test of one window) nobody answers.
class MainWindowRequests : public QObject {
    Q_OBJECT
signals:
    // The graph window's Calculate Again set a reopen flag: the main window reopens that menu
    // window when it next paints.
    void reopenMenuWindows();
};

} // namespace kelvor::app
