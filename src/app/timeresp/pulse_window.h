// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/timeresp/time_response_menu.h"

namespace kelvor::app {

// The pulse menu: pulses of the typed width every 100 widths, synthesised from the circuit's
// response at zero frequency and 2048, 8192 or 32768 harmonics, at three time expansions.
class TFormPMenu : public TimeResponseMenu {
    Q_OBJECT
public:
    explicit TFormPMenu(AppState& state, QWidget* parent = nullptr);

    QLabel* StaticTextPulseWidth = nullptr;
    QLineEdit* EditBoxPulseWidth = nullptr;
    QGroupBox* RadioGroupDisplay = nullptr;

protected:
    std::string& ValueSetting() override;
    bool& ReopenFlag() override;
    TimeResponseKind Kind() const override { return TimeResponseKind::Pulse; }
    long double Fundamental(long double width) const override;
    PlotDrawing Drawing() const override { return render::DrawPulseGraph; }
    void BeforeShow() override;

private:
    bool scaledForDpi_ = false;
};

} // namespace kelvor::app
