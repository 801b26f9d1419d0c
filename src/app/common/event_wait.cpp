// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/event_wait.h"

#include "messages.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <algorithm>

namespace kelvor::app {
namespace {

long long NowMs() {
    static QElapsedTimer clock = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return clock.elapsed();
}

} // namespace

void WaitMs(int milliseconds) {
    QDeadlineTimer deadline(std::clamp(milliseconds, 0, 65535));
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(
            QEventLoop::AllEvents, static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    }
}

void Stopwatch::Start() {
    startMs_ = NowMs();
}

long long Stopwatch::ElapsedMs() const {
    return NowMs() - startMs_;
}

void Stopwatch::Report(MessageSink& messages) const {
    messages.ShowInfo("Time = " + std::to_string(ElapsedMs()) + " ms\r\n");
}

} // namespace kelvor::app
