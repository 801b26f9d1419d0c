// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/printing/page_setup_window.h"
#include "app/common/screen_checks.h"

#include "app/common/window_fonts.h"
#include "app/state/app_state.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace kelvor::app {
namespace {

// The client area left inside an outer size of 200 by 150 by a sizeable frame and a title bar.
constexpr int kClientWidth = 192;
constexpr int kClientHeight = 123;

} // namespace

TFormPSet::TFormPSet(AppState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      state_(state) {
    setObjectName("FormPSet");
    setWindowTitle(" PAGE SET UP");
    setFont(PixelFont("Arial", 11));
    resize(kClientWidth, kClientHeight);

    CheckBoxBold = new QCheckBox("   Bold", this);
    CheckBoxBold->setObjectName("CheckBoxBold");
    CheckBoxBold->setFont(PixelFont("Arial", 13));
    CheckBoxBold->setFocusPolicy(Qt::ClickFocus);
    CheckBoxBold->setGeometry(68, 24, 73, 17);

    ButtonClose = new QPushButton("&Close", this);
    ButtonClose->setObjectName("ButtonClose");
    ButtonClose->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    ButtonClose->setGeometry(56, 64, 89, 30);
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::close);
}

void TFormPSet::FormShow() {
    CheckBoxBold->setChecked(state_.settings.BoldFont);
}

void TFormPSet::showEvent(QShowEvent* event) {
    // On showing rather than on every paint: a repaint while the window is open would undo the
    // user's tick before it is kept.
    FormShow();
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

void TFormPSet::FormClose() {
    state_.settings.BoldFont = CheckBoxBold->isChecked();
    state_.KeepSettings();
}

void TFormPSet::done(int result) {
    if (isVisible()) {
        FormClose();
    }
    QDialog::done(result);
}

} // namespace kelvor::app
