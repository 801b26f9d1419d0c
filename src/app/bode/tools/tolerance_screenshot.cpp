// Draws the README's pictures of the tolerance analysis: the Bode analyser on the sample
// Datafile, 100 Hz to 10 kHz, with the spread of 500 runs of the default tolerances under its
// gain and phase curves and the runs that fail a gain mask, and the Tolerances panel beside it.
// Usage: kelvor-tolerance-screenshot PLOTS.png PANEL.png

#include "app/bode/bode_window.h"
#include "app/bode/tolerance_window.h"
#include "app/shell/app_state.h"
#include "app/shell/dialogs.h"
#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "files/file_io.h"
#include "render/headless_gui.h"
#include "text/date_text.h"
#include "tolerance/tolerance_file.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
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

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: kelvor-tolerance-screenshot PLOTS.png PANEL.png\n";
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
    // Above the resonance the gain must stay within 0.8 dB of 0 dB.
    ToleranceSettings settings = DefaultToleranceSettings();
    settings.mask = {{700, 10000, -0.8L, 0.8L}};
    WriteToleranceFile(ToleranceFilePath(state.DatafilePath()), settings, "HPFILTER.DAT");

    app::TFormBode window(state);
    window.resize(1100, 760);
    window.EditBoxStart->setText("100");
    window.EditBoxEnd->setText("10k");
    window.CheckBoxGroupDelay->setChecked(false);
    window.CheckBoxZin->setChecked(false);
    window.CheckBoxZout->setChecked(false);
    window.ShowForCurrentDatafile();
    window.ButtonTolerances->click();
    app::TFormTolerances& panel = *window.tolerances();
    panel.CheckBoxFailingRuns->setChecked(true);
    panel.ButtonRun->click();
    QApplication::processEvents();

    // The cursor at 1 kHz, where the histogram is taken.
    QCPAxisRect* top = window.Plot->axisRects().front();
    const QPoint at(static_cast<int>(top->axis(QCPAxis::atBottom)->coordToPixel(1000)),
                    top->center().y());
    QMouseEvent move(QEvent::MouseMove, at, window.Plot->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window.Plot, &move);
    QApplication::processEvents();

    if (!window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG") ||
        !panel.grab().save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::cerr << "cannot write the pictures\n";
        return 1;
    }
    return 0;
}
