// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bode/tools/screenshot_session.h"

#include "app/common/file_paths.h"
#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "files/file_io.h"
#include "render/headless_gui.h"
#include "text/date_text.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <iostream>

namespace kelvor::app {

void StandardErrorMessages::ShowInfo(const std::string& message) {
    std::cerr << message << '\n';
}

void StandardErrorMessages::ShowWarning(const std::string& message) {
    std::cerr << message << '\n';
}

void StandardErrorMessages::ShowError(const std::string& message) {
    std::cerr << message << '\n';
}

Answer StandardErrorMessages::Ask(const std::string&, QuestionButtons) {
    return Answer::No;
}

ScreenshotSession::HeadlessPlatform::HeadlessPlatform() {
    render::PrepareHeadlessApplication();
}

ScreenshotSession::ScreenshotSession(int& argc, char** argv)
    : application_(argc, argv), state_(PathFromQt(folder_.path()), messages_, dialogs_) {
    state_.shell.TodayText = TodayText();
    state_.shell.DatafileName = kSampleDatafileName;
    WriteFileAtomically(state_.DatafilePath(), SampleDatafileText(state_.shell.TodayText));
    sampleParsed_ = state_.ParseCurrentDatafile().ok;
}

void PrepareAnalyser(TFormBode& window, const QString& start, const QString& end) {
    window.resize(1100, 760);
    window.EditBoxStart->setText(start);
    window.EditBoxEnd->setText(end);
}

void WaitWhileComputing(const TFormBode& window) {
    while (window.Computing()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void MouseOverTopPlot(TFormBode& window, double hertz, QEvent::Type type) {
    QCPAxisRect* top = window.Plot->axisRects().front();
    const QPoint at(static_cast<int>(top->axis(QCPAxis::atBottom)->coordToPixel(hertz)),
                    top->center().y());
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, at, window.Plot->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(window.Plot, &event);
}

} // namespace kelvor::app
