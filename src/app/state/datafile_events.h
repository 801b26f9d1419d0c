// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace kelvor::app {

// Tells the windows that keep a circuit of their own (the analyser, its tolerance panel) that the
// current Datafile is another one, or the same one written again, so that none of them goes on
// drawing or solving a circuit that is no longer current.
class DatafileEvents : public QObject {
    Q_OBJECT
signals:
    // Another Datafile was opened (File / Open, an example, an import) or an editor saved it.
    void currentChanged();
};

} // namespace kelvor::app
