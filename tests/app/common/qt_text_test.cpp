// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/qt_text.h"
#include "app/support/app_test_main.h"

#include <QTest>
#include <string>

namespace kelvor::app {

class QtTextTest : public QObject {
    Q_OBJECT

private slots:
    // Paths arrive as the file system's UTF-8 bytes, Datafile texts as 8-bit bytes; a box shows
    // both as the user wrote them, and at its 255-character limit keeps a character whole or
    // drops it.
    void boxTextShowsPathsAndEightBitText_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QString>("shown");
        const QByteArray filler(254, 'a');
        QTest::newRow("ASCII") << QByteArray("Cannot open A.DAT\r\nNo such file")
                               << QString("Cannot open A.DAT\nNo such file");
        QTest::newRow("UTF-8 path") << QByteArray("Cannot open /tmp/caf\xC3\xA9/\xC3\xA9.dat")
                                    << QString::fromUtf16(u"Cannot open /tmp/caf\u00E9/\u00E9.dat");
        QTest::newRow("8-bit byte")
            << QByteArray("R1 r\xE9sistance") << QString::fromUtf16(u"R1 r\u00E9sistance");
        QTest::newRow("two-byte character at the limit")
            << filler + "\xC3\xA9z" << QString(filler) + QString::fromUtf16(u"\u00E9");
        QTest::newRow("four-byte character across the limit")
            << filler + "\xF0\x9F\x98\x80" << QString(filler);
    }

    void boxTextShowsPathsAndEightBitText() {
        QFETCH(QByteArray, message);
        QFETCH(QString, shown);
        QCOMPARE(BoxText(message.toStdString()), shown);
    }
};

} // namespace kelvor::app

KELVOR_APP_TEST_MAIN(kelvor::app::QtTextTest)
#include "qt_text_test.moc"
