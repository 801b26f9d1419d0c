// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/companion_window.h"

#include <QWidget>
#include <QWindow>

namespace kelvor::app {

void UseBesideModal(QWidget* window, QWidget* modalWindow) {
    window->winId();
    if (modalWindow->windowHandle() != nullptr && window->windowHandle() != nullptr) {
        window->windowHandle()->setTransientParent(modalWindow->windowHandle());
    }
}

void ReleaseFromModal(QWidget* window, QWidget* modalWindow) {
    if (window->windowHandle() == nullptr || modalWindow->windowHandle() == nullptr ||
        window->windowHandle()->transientParent() != modalWindow->windowHandle()) {
        return;
    }
    QWidget* owner = window->parentWidget();
    window->windowHandle()->setTransientParent(owner != nullptr ? owner->window()->windowHandle()
                                                                : nullptr);
}

} // namespace kelvor::app
