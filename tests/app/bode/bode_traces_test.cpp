// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bode/bode_traces.h"

#include "app/support/app_test_main.h"
#include "support/circuit_builder.h"

#include <QTest>

using namespace kelvor;

class BodeTracesTest : public QObject {
    Q_OBJECT

private slots:
    // Eight curves at the most; a kept curve is never computed again; the current Datafile's
    // curve stays first and cannot be removed.
    void overlaysKeepsAndRemovals() {
        const LoadedCircuit circuit =
            testing::CircuitBuilder(1, 2, 3).Add('R', {1, 2}, {1}).WithNoNodes(3).circuit();
        app::BodeTraceSet set;
        set.SetCurrent("Filter", circuit);
        QVERIFY(!set.KeepCurrent()); // nothing computed yet
        set.at(0).curve.frequency = {1, 10};
        QVERIFY(set.KeepCurrent());
        QCOMPARE(set.traces()[1].title, std::string("Filter (kept 1)"));
        for (int overlay = 0; overlay < 6; ++overlay) {
            QVERIFY(set.AddOverlay("Other", circuit));
        }
        QVERIFY(set.Full());
        QVERIFY(!set.AddOverlay("Ninth", circuit));
        QVERIFY(!set.KeepCurrent());
        QCOMPARE(set.Computable(), (std::vector<std::size_t>{0, 2, 3, 4, 5, 6, 7}));

        QVERIFY(!set.Remove(0));
        QVERIFY(set.Remove(1));
        QVERIFY(!set.Full());
        QCOMPARE(set.traces().size(), std::size_t{7});
        QCOMPARE(set.current().title, std::string("Filter"));
    }
};

KELVOR_APP_TEST_MAIN(BodeTracesTest)
#include "bode_traces_test.moc"
