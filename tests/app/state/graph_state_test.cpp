// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/state/graph_state.h"
#include "app/support/app_test_main.h"

#include <QTest>

using kelvor::FrequencyScale;
using kelvor::SweepResult;
using kelvor::app::GraphState;

namespace {

FrequencyScale Scale(int32_t fcode, long double base, long double end) {
    FrequencyScale scale;
    scale.FCode = fcode;
    scale.BaseFrequency = base;
    scale.EndFrequency = end;
    return scale;
}

} // namespace

// The bookkeeping that decides whether a new curve may go onto the picture kept: no window and
// no sweep needed.
class GraphStateTest : public QObject {
    Q_OBJECT

private slots:
    void sweepOfAnotherScaleOrDatafileIsANewScale() {
        struct Case {
            const char* what;
            FrequencyScale second;
            bool datafileChanged;
            bool newScale;
        };
        const FrequencyScale first = Scale(0, 250, 360);
        const Case cases[] = {
            {"the same range again", first, false, false},
            {"the same range, the Datafile changed", first, true, true},
            {"another FCode", Scale(8, 250, 360), false, true},
            {"another start", Scale(0, 251, 360), false, true},
            {"another end", Scale(0, 250, 361), false, true},
        };
        for (const Case& c : cases) {
            GraphState graph;
            graph.AcceptSweep(first, SweepResult{}, false);
            QVERIFY2(graph.NewScale, "the first sweep is always to a new scale");
            graph.NewScale = false; // the scale window starts every choice afresh
            SweepResult second;
            second.SweepMaxDb = 7;
            graph.AcceptSweep(c.second, second, c.datafileChanged);
            QVERIFY2(graph.NewScale == c.newScale, c.what);
            QCOMPARE(graph.scale.BaseFrequency, c.second.BaseFrequency);
            QCOMPARE(graph.sweep.SweepMaxDb, 7);
        }
    }

    void anotherDbSpanOrTopIsANewScale() {
        struct Case {
            int32_t span;
            int32_t top;
            bool newScale;
        };
        for (const Case c : {Case{60, 10, false}, Case{40, 10, true}, Case{60, 0, true}}) {
            GraphState graph;
            graph.AcceptDbScale(60, 10);
            QVERIFY(graph.NewScale);
            graph.NewScale = false;
            graph.AcceptDbScale(c.span, c.top);
            QCOMPARE(graph.NewScale, c.newScale);
        }
    }

    void pictureIsKeptOnlyForACurveSuperimposedOnTheSameScale() {
        struct Case {
            bool ticked;
            bool newScale;
            bool armed;
            bool kept;
        };
        for (const Case c : {Case{true, false, true, true}, Case{false, false, true, false},
                             Case{true, true, true, false}, Case{true, false, false, false}}) {
            GraphState graph;
            graph.NewScale = c.newScale;
            graph.SuperimposeArmed = c.armed;
            QCOMPARE(graph.KeepsPicture(c.ticked), c.kept);
        }
    }

    void clearingStartsACleanPictureWithTheGridPending() {
        GraphState graph;
        graph.picture = QImage(4, 4, QImage::Format_RGB32);
        graph.SuperimposeArmed = true;
        graph.ClearPicture(true);
        QVERIFY(graph.picture.isNull());
        QVERIFY(!graph.SuperimposeArmed);
        QVERIFY(graph.GridLinesPending);
        graph.ClearPicture(false);
        QVERIFY(!graph.GridLinesPending);
    }
};

KELVOR_APP_TEST_MAIN(GraphStateTest)
#include "graph_state_test.moc"
