// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/long_calculation.h"

#include "kelvor_error.h"
#include "messages.h"

#include <QCoreApplication>
#include <utility>

namespace kelvor::app {

LongCalculation::LongCalculation(MessageSink& messages,
                                 std::function<void(bool locked)> lockControls, int eventSliceMs)
    : messages_(messages), lockControls_(std::move(lockControls)), eventSliceMs_(eventSliceMs) {}

CalculationEnd LongCalculation::Run(const std::function<bool()>& work) {
    running_ = true;
    resetRequested_ = false;
    sinceEvents_.start();
    lockControls_(true);
    bool finished = false;
    try {
        finished = work();
    } catch (const KelvorError& fault) {
        running_ = false;
        lockControls_(false);
        messages_.ShowError(fault.what());
        return CalculationEnd::Fault;
    }
    running_ = false;
    if (!finished) {
        resetRequested_ = false;
        lockControls_(false);
        return CalculationEnd::Reset;
    }
    return CalculationEnd::Finished;
}

bool LongCalculation::LetEventsThrough() {
    if (sinceEvents_.elapsed() < eventSliceMs_) {
        return !resetRequested_;
    }
    return LetEventsThroughNow();
}

bool LongCalculation::LetEventsThroughNow() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    sinceEvents_.restart();
    return !resetRequested_;
}

} // namespace kelvor::app
