// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/long_calculation.h"

#include "kelvor_error.h"
#include "messages.h"

#include <QCoreApplication>
#include <utility>

namespace kelvor::app {

LongCalculation::LongCalculation(MessageSink& messages,
                                 std::function<void(bool locked)> lockControls)
    : messages_(messages), lockControls_(std::move(lockControls)) {}

bool LongCalculation::Run(const std::function<bool()>& work) {
    running_ = true;
    resetRequested_ = false;
    lockControls_(true);
    bool finished = false;
    try {
        finished = work();
    } catch (const KelvorError& fault) {
        running_ = false;
        lockControls_(false);
        messages_.ShowError(fault.what());
        return false;
    }
    running_ = false;
    if (!finished) {
        resetRequested_ = false;
        lockControls_(false);
    }
    return finished;
}

bool LongCalculation::LetEventsThrough() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return !resetRequested_;
}

} // namespace kelvor::app
