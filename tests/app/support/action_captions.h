// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAction>
#include <QList>
#include <QStringList>

namespace kelvor::testing {

// The captions of a menu's items as the user reads them, "-" for a separator.
inline QStringList Captions(const QList<QAction*>& actions) {
    QStringList captions;
    for (QAction* action : actions) {
        captions << (action->isSeparator() ? QString("-") : action->text());
    }
    return captions;
}

} // namespace kelvor::testing
