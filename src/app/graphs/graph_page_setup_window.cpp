// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/graphs/graph_page_setup_window.h"
#include "app/common/screen_checks.h"

#include "app/common/qt_text.h"
#include "app/common/typing_limit.h"
#include "app/common/window_fonts.h"
#include "app/graphs/graph_window.h"
#include "app/help/help_window.h"
#include "app/state/app_state.h"
#include "render/amplitude_graph.h"
#include "render/print_layout.h"
#include "settings/settings_file.h"
#include "text/eng_value.h"
#include "text/words.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>

namespace kelvor::app {
namespace {

constexpr int kClientWidth = 382;
constexpr int kClientHeight = 292;
constexpr int kBoxCapacity = 6;
constexpr int32_t kMinimumScale = 10;

QLineEdit* Box(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(left, top, width, height);
    LimitTyping(box, kBoxCapacity);
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
}

QLabel* Label(QWidget* parent, const char* name, const char* caption, int left, int top) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->move(left, top);
    return label;
}

std::string BoxValue(const QLineEdit* box) {
    return CutText(TrimSpaces(FromQt(box->text())), kSettingsTextCapacity);
}

} // namespace

TFormGraphSetUp::TFormGraphSetUp(AppState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      state_(state) {
    setObjectName("FormGraphSetUp");
    setWindowTitle("   PAGE SET UP  -  FOR PRINTING");
    setFont(PixelFont("Arial", 13, true));
    setFixedSize(kClientWidth, kClientHeight);
    BuildControls();
}

void TFormGraphSetUp::BuildControls() {
    EditBoxOriginX = Box(this, "EditBoxOriginX", 67, 34, 60, 24);
    EditBoxOriginX->setFont(PixelFont("Arial", 13, false));
    EditBoxOriginY = Box(this, "EditBoxOriginY", 249, 34, 60, 24);

    LabelMargins =
        Label(this, "LabelMargins", "Left Margin (in)                     Top Margin (in)", 50, 70);
    LabelMargins->setFont(PixelFont("Arial", 15, false));

    EditBoxScale = Box(this, "EditBoxScale", 152, 108, 73, 25);
    EditBoxScale->setFont(PixelFont("Arial", 15, true));
    connect(EditBoxScale, &QLineEdit::textChanged, this, &TFormGraphSetUp::EditBoxScaleChange);

    LabelScale = Label(this, "LabelScale", " Scale   (%)", 150, 145);
    LabelScale->setFont(PixelFont("Arial", 15, true));

    LabelPrintSize = Label(this, "LabelPrintSize", "", 70, 184);
    QFont underlined = PixelFont("Arial", 15, true);
    underlined.setUnderline(true);
    LabelPrintSize->setFont(underlined);
    LabelPrintSize->setMinimumWidth(kClientWidth - 70);

    ButtonClose = new QPushButton("&Close", this);
    ButtonClose->setObjectName("ButtonClose");
    ButtonClose->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    ButtonClose->setGeometry(140, 232, 100, 29);
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::close);
}

QSize TFormGraphSetUp::GraphPictureSize() const {
    if (state_.windows.Has<TFormVGA>()) {
        return state_.windows.Get<TFormVGA>().PictureSize();
    }
    if (!state_.graph.picture.isNull()) {
        return state_.graph.picture.size();
    }
    return {render::kAmplitudePictureWidth, render::kAmplitudePictureHeight};
}

void TFormGraphSetUp::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        FormShow();
        CentreOnScreen(this);
    }
    QDialog::showEvent(event);
}

void TFormGraphSetUp::FormShow() {
    EditBoxOriginX->setText(ToQt("  " + state_.settings.GraphOriginX));
    EditBoxOriginY->setText(ToQt("  " + state_.settings.GraphOriginY));
    // Setting the text runs the scale change, which fills the size label.
    const std::string scale = "   " + state_.settings.GraphScaleXY;
    if (EditBoxScale->text() == ToQt(scale)) {
        EditBoxScaleChange();
    } else {
        EditBoxScale->setText(ToQt(scale));
    }
}

void TFormGraphSetUp::EditBoxScaleChange() {
    // Putting back the last accepted scale changes the box again; that change is no edit.
    if (restoringScale_) {
        return;
    }
    Settings& settings = state_.settings;
    settings.GraphScaleXY = BoxValue(EditBoxScale);
    bool ok = true;
    int32_t scale = ParseIntField(settings.GraphScaleXY, ok);
    if (!ok) {
        state_.messages.ShowError("  Invalid Scale Value   ");
        settings.GraphScaleXY = lastAcceptedScale_;
        restoringScale_ = true;
        EditBoxScale->setText(ToQt("   " + lastAcceptedScale_));
        EditBoxScale->setCursorPosition(static_cast<int>(EditBoxScale->text().size()));
        restoringScale_ = false;
        return;
    }
    if (scale < kMinimumScale) {
        scale = kMinimumScale;
        settings.GraphScaleXY = std::to_string(kMinimumScale);
    }
    lastAcceptedScale_ = settings.GraphScaleXY;
    QPrinter& printer = state_.printer();
    const QSize picture = GraphPictureSize();
    LabelPrintSize->setText(ToQt(render::PrintSizeText(
        scale, picture.width(), picture.height(), printer.logicalDpiX(), printer.logicalDpiY())));
    LabelPrintSize->adjustSize();
}

void TFormGraphSetUp::FormClose() {
    Settings& settings = state_.settings;
    settings.GraphOriginX = BoxValue(EditBoxOriginX);
    settings.GraphOriginY = BoxValue(EditBoxOriginY);
    settings.GraphScaleXY = BoxValue(EditBoxScale);

    bool ok = true;
    for (const std::string& margin : {settings.GraphOriginX, settings.GraphOriginY}) {
        bool converted = true;
        const long double inches = ParseEngValue(margin, converted);
        if (!converted || inches < 0) {
            ok = false;
        }
    }
    bool scaleConverted = true;
    const int32_t scale = ParseIntField(settings.GraphScaleXY, scaleConverted);
    if (!scaleConverted) {
        ok = false;
    } else if (scale < kMinimumScale) {
        settings.GraphScaleXY = std::to_string(kMinimumScale);
    }
    if (!ok) {
        state_.messages.ShowError(" Invalid Parameters    ");
        return;
    }
    state_.KeepSettings();
}

void TFormGraphSetUp::done(int result) {
    if (isVisible()) {
        FormClose();
    }
    QDialog::done(result);
}

void TFormGraphSetUp::keyReleaseEvent(QKeyEvent* event) {
    if (!OpenHelpOnF1(event, state_, help::kAmplitudeGraphWindow)) {
        QDialog::keyReleaseEvent(event);
    }
}

} // namespace kelvor::app
