// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>
#include <mutex>
#include <vector>

namespace kelvor::app {

// Calls handed over from any thread, run in order on the thread this object lives on. The
// hand-over is guarded by a lock of the standard library, which ThreadSanitizer sees; Qt's own
// queued calls synchronise inside Qt, where it sees nothing and reports races that are none.
// Calls not yet run when the object goes are dropped with it.
class WindowThreadCalls : public QObject {
public:
    void Post(std::function<void()> call);

protected:
    bool event(QEvent* event) override;

private:
    std::mutex mutex_;
    std::vector<std::function<void()>> calls_;
};

} // namespace kelvor::app
