// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/bode/bode_window.h"
#include "app/support/calculation_wait.h"

#include <QLineEdit>
#include <QSpinBox>

namespace kelvor::testing {

// Shows the analyser over 10 Hz to 10 kHz at pointsPerDecade and waits for its curves of the
// current Datafile; false when it is still computing after a minute.
inline bool ShowAnalyserFrom10HzTo10kHz(app::TFormBode& bode, int pointsPerDecade) {
    bode.EditBoxStart->setText("10");
    bode.EditBoxEnd->setText("10k");
    bode.SpinBoxPointsPerDecade->setValue(pointsPerDecade);
    bode.ShowForCurrentDatafile();
    return WaitUntilIdle([&] { return bode.Computing(); });
}

} // namespace kelvor::testing
