// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/timeresp/time_response_menu.h"

namespace kelvor::app {

// The square-wave menu: a square wave of the typed frequency, synthesised from the circuit's
// response at 1024, 4096 or 16384 odd harmonics.
class TFormSqWMenu : public TimeResponseMenu {
    Q_OBJECT
public:
    explicit TFormSqWMenu(AppState& state, QWidget* parent = nullptr);

    QLabel* StaticTextSqW = nullptr;
    QLineEdit* EditBoxFreq = nullptr;
    QGroupBox* RadioGroupResolution = nullptr;

protected:
    std::string& ValueSetting() override;
    bool& ReopenFlag() override;
    TimeResponseKind Kind() const override { return TimeResponseKind::SquareWave; }
    long double Fundamental(long double frequency) const override { return frequency; }
    PlotDrawing Drawing() const override { return render::DrawSquareWaveGraph; }
};

} // namespace kelvor::app
