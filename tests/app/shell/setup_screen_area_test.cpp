// SPDX-License-Identifier: GPL-3.0-or-later
// The setup window's screen line at 200 % scaling, on a screen of 2560 x 1440 device pixels:
// the line gives the size the user set the display to, while windows fit in 1280 x 720. A
// window larger than that is placed with its title bar and menus on the screen.

#include "app/common/screen_checks.h"
#include "app/shell/setup_window.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/offscreen_screen.h"

#include <QLabel>
#include <QScreen>
#include <QTest>

using namespace kelvor;

class SetupScreenAreaTest : public QObject {
    Q_OBJECT

private slots:
    void screenAreaIsInDevicePixels() {
        const QScreen* screen = QGuiApplication::primaryScreen();
        QCOMPARE(screen->geometry().size(), QSize(1280, 720));
        testing::AppFixture fixture;
        app::TFormSetup window(fixture.state);
        QCOMPARE(window.findChild<QLabel*>("LabelResolution")->text(),
                 QString("Screen Area   :   2560 x 1440"));
    }

    void aWindowLargerThanTheScreenOpensAtItsTopLeft() {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        for (const QSize size : {QSize(400, 300), QSize(1600, 900)}) {
            QWidget window;
            window.resize(size);
            app::CentreOnScreen(&window);
            const QRect frame = window.frameGeometry();
            if (size.width() < area.width()) {
                QCOMPARE(frame.center(), area.center());
            } else {
                QCOMPARE(frame.topLeft(), area.topLeft());
            }
        }
    }
};

namespace {

int RunTests(int, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    return testing::RunOnOffscreenScreen<SetupScreenAreaTest>(argv, "2560x1440");
}

} // namespace

KELVOR_APP_TEST_RUN(RunTests)

#include "setup_screen_area_test.moc"
