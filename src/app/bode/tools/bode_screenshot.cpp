// Draws the README's picture of the Bode analyser: the window on the sample Datafile, 10 Hz to
// 100 kHz, with the cursor over the resonance and one pinned marker, grabbed as it is shown.
// Usage: kelvor-bode-screenshot OUT.png

#include "app/bode/bode_window.h"
#include "app/shell/app_state.h"
#include "app/shell/dialogs.h"
#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "files/file_io.h"
#include "render/headless_gui.h"
#include "text/date_text.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <iostream>

namespace {

using namespace kelvor;

class ErrorMessages : public MessageSink {
public:
    void ShowInfo(const std::string& message) override { std::cerr << message << '\n'; }
    void ShowWarning(const std::string& message) override { std::cerr << message << '\n'; }
    void ShowError(const std::string& message) override { std::cerr << message << '\n'; }
    Answer Ask(const std::string&, QuestionButtons) override { return Answer::No; }
};

void MoveMouse(QWidget* widget, QPoint at, QEvent::Type type, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, widget->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: kelvor-bode-screenshot OUT.png\n";
        return 2;
    }
    render::PrepareHeadlessApplication();
    QApplication application(argc, argv);
    QTemporaryDir folder;
    ErrorMessages messages;
    app::DesktopDialogs dialogs;
    app::AppState state(QFile::encodeName(folder.path()).toStdString(), messages, dialogs);
    state.shell.TodayText = TodayText();
    state.shell.DatafileName = "HPFILTER.DAT";
    WriteFileAtomically(state.DatafilePath(), SampleDatafileText(state.shell.TodayText));
    if (!ParseDatafile(state.workingFolder, state.shell.DatafileName, ParseMode::Silent,
                       state.circuit, messages, state.shell.TodayText)
             .ok) {
        return 1;
    }

    app::TFormBode window(state);
    window.resize(1100, 760);
    window.EditBoxStart->setText("10");
    window.EditBoxEnd->setText("100k");
    window.ShowForCurrentDatafile();
    QApplication::processEvents();

    // A marker pinned at 1 kHz, and the cursor at the gain peak. Pinning rebuilds the plots, so
    // each place is found on the plots of the moment.
    auto at = [&](double hertz) {
        QCPAxisRect* top = window.Plot->axisRects().front();
        return QPoint(static_cast<int>(top->axis(QCPAxis::atBottom)->coordToPixel(hertz)),
                      top->center().y());
    };
    const QPoint pinned = at(1000);
    MoveMouse(window.Plot, pinned, QEvent::MouseButtonPress, Qt::LeftButton);
    MoveMouse(window.Plot, pinned, QEvent::MouseButtonRelease, Qt::NoButton);
    QApplication::processEvents();
    const QPoint peak = at(376);
    MoveMouse(window.Plot, peak, QEvent::MouseMove, Qt::NoButton);
    QApplication::processEvents();

    if (!window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::cerr << "cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
