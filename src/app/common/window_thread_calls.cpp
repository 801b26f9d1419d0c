// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/window_thread_calls.h"

#include <QCoreApplication>
#include <QEvent>
#include <utility>

namespace kelvor::app {
namespace {

const QEvent::Type kCallsWaiting = QEvent::User;

} // namespace

void WindowThreadCalls::Post(std::function<void()> call) {
    QEvent* wake = nullptr;
    {
        const std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
        // Made under the lock, so that the window thread's free of it follows in the order the
        // sanitizer sees. One event serves every call queued before it is handled.
        if (calls_.size() == 1) {
            wake = new QEvent(kCallsWaiting);
        }
    }
    if (wake != nullptr) {
        QCoreApplication::postEvent(this, wake);
    }
}

bool WindowThreadCalls::event(QEvent* event) {
    std::vector<std::function<void()>> waiting;
    bool ours = false;
    {
        // Taken before the event is read: a worker may have made it.
        const std::lock_guard lock(mutex_);
        ours = event->type() == kCallsWaiting;
        if (ours) {
            waiting.swap(calls_);
        }
    }
    if (!ours) {
        return QObject::event(event);
    }
    for (const std::function<void()>& call : waiting) {
        call();
    }
    return true;
}

} // namespace kelvor::app
