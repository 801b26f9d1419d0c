// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>
#include <QTest>
#include <QWidget>
#include <functional>
#include <utility>

namespace kelvor::testing {

// The windows compute on a worker thread and take the result as a queued call: events run until
// the window is idle again. False when it is still busy after a minute.
template <typename Busy> bool WaitUntilIdle(Busy busy) {
    return QTest::qWaitFor([&] { return !busy(); }, 60000);
}

// Acts once, when the widget is first disabled. A calculation locks its controls before its
// worker starts: a Reset clicked then is seen at the first progress report, however fast the
// machine, where one clicked later might come after the end.
class OnFirstDisable : public QObject {
public:
    OnFirstDisable(QWidget* widget, std::function<void()> act) : act_(std::move(act)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (act_ && event->type() == QEvent::EnabledChange &&
            !static_cast<QWidget*>(watched)->isEnabled()) {
            std::exchange(act_, nullptr)();
        }
        return false;
    }

private:
    std::function<void()> act_;
};

} // namespace kelvor::testing
