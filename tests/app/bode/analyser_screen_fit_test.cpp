// SPDX-License-Identifier: GPL-3.0-or-later
// The analyser and its tolerance and noise panels on a small screen: 1024 x 768 logical pixels,
// given as such or as 2048 x 1536 at a scale factor of 2 (the test's argument names the screen).

#include "app/bode/bode_window.h"
#include "app/bode/noise_window.h"
#include "app/bode/tolerance_window.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/calculation_wait.h"
#include "app/support/offscreen_screen.h"

#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace kelvor;

class AnalyserScreenFitTest : public QObject {
    Q_OBJECT

private:
    // Wholly inside the screen's free area, and no smaller than the window's own minimum, so
    // nothing of it is cut off or off-screen.
    static void CheckFits(QWidget& window) {
        const QRect area = window.screen()->availableGeometry();
        QVERIFY2(area.width() == 1024 && area.height() == 768,
                 qPrintable(QString("screen %1x%2").arg(area.width()).arg(area.height())));
        QVERIFY2(area.contains(window.frameGeometry()),
                 qPrintable(QString("%1 at %2,%3 size %4x%5")
                                .arg(window.windowTitle())
                                .arg(window.frameGeometry().x())
                                .arg(window.frameGeometry().y())
                                .arg(window.frameGeometry().width())
                                .arg(window.frameGeometry().height())));
        const QSize least = window.minimumSizeHint();
        QVERIFY(least.width() <= window.width() && least.height() <= window.height());
    }

private slots:
    void analyserAndPanelsFitTheScreen() {
        testing::AppFixture fixture;
        QVERIFY(fixture.Parse());
        app::TFormBode bode(fixture.state);
        bode.SpinBoxPointsPerDecade->setValue(10);
        bode.ShowForCurrentDatafile();
        QVERIFY(testing::WaitUntilIdle([&] { return bode.Computing(); }));
        QVERIFY(QTest::qWaitForWindowExposed(&bode));
        CheckFits(bode);
        bode.ButtonTolerances->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode.Computing(); }));
        QVERIFY(QTest::qWaitForWindowExposed(bode.tolerances()));
        CheckFits(*bode.tolerances());
        bode.ButtonNoise->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode.Computing(); }));
        QVERIFY(QTest::qWaitForWindowExposed(bode.noise()));
        CheckFits(*bode.noise());
    }
};

namespace {

int RunTests(int argc, char** argv) {
    return testing::RunOnOffscreenScreen<AnalyserScreenFitTest>(
        argv, argc > 1 ? QString(argv[1]) : QString("1024x768"));
}

} // namespace

KELVOR_APP_TEST_RUN(RunTests)

#include "analyser_screen_fit_test.moc"
