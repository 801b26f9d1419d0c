// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

namespace kelvor::testing {

// The offscreen platform takes its one screen from a configuration file: this writes one for a
// screen of "WIDTHxHEIGHT" device pixels at 96 dpi into the folder and names it to the platform.
// Call before the application is made; false when the file cannot be written.
inline bool UseOffscreenScreen(const QTemporaryDir& folder, const QString& widthByHeight) {
    const QString config = folder.filePath("screen.json");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QStringList sides = widthByHeight.split('x');
    file.write(QStringLiteral(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": %1,
        "height": %2, "logicalDpi": 96, "logicalBase": 96, "dpr": 1}]})")
                   .arg(sides.value(0), sides.value(1))
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
    return true;
}

// Runs the QtTest class `Test` with the application on such a screen; 2 when it cannot be made.
template <class Test> int RunOnOffscreenScreen(char** argv, const QString& widthByHeight) {
    QTemporaryDir folder;
    if (!UseOffscreenScreen(folder, widthByHeight)) {
        return 2;
    }
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    Test test;
    return QTest::qExec(&test, qtArgc, argv);
}

} // namespace kelvor::testing
