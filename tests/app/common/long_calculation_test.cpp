// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/long_calculation.h"
#include "app/support/app_test_main.h"

#include "kelvor_error.h"
#include "support/recording_messages.h"

#include <QTest>
#include <QThread>
#include <new>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace kelvor::app {

using testing::RecordingMessages;

class LongCalculationTest : public QObject {
    Q_OBJECT

private:
    // A calculation with its lock switches recorded, and the end it reported.
    struct Watched {
        RecordingMessages messages;
        std::vector<bool> locks;
        std::optional<CalculationEnd> end;
        LongCalculation calculation{messages, [this](bool locked) { locks.push_back(locked); }};

        void Start(LongCalculation::Work work, CalculationThread where) {
            calculation.Start(
                std::move(work), [this](CalculationEnd ended) { end = ended; }, where);
        }
        bool WaitForEnd() {
            return QTest::qWaitFor([this] { return end.has_value(); }, 10000);
        }
    };

private slots:
    // Whatever the work throws, on either thread, ends it as a fault: the controls unlock, the
    // user reads why, and the window can start again.
    void everyExceptionEndsAsAFaultWithTheControlsUnlocked_data() {
        QTest::addColumn<int>("thrown");
        QTest::addColumn<bool>("onWorker");
        QTest::addColumn<QString>("message");
        const struct {
            const char* name;
            int thrown;
            const char* message;
        } faults[] = {
            {"program fault", 0, "Matrix is singular"},
            {"out of memory", 1, "Not enough memory for this calculation"},
            {"no thread", 2, "Resource temporarily unavailable"},
            {"other standard", 3, "vector too long"},
            {"not standard", 4, "could not name"},
        };
        for (const auto& fault : faults) {
            for (bool onWorker : {true, false}) {
                QTest::addRow("%s on the %s thread", fault.name, onWorker ? "worker" : "window")
                    << fault.thrown << onWorker << QString(fault.message);
            }
        }
    }
    void everyExceptionEndsAsAFaultWithTheControlsUnlocked() {
        QFETCH(int, thrown);
        QFETCH(bool, onWorker);
        QFETCH(QString, message);
        Watched watched;
        watched.Start(
            [thrown]() -> bool {
                switch (thrown) {
                case 0:
                    throw KelvorError("Matrix is singular");
                case 1:
                    throw std::bad_alloc();
                case 2:
                    throw std::system_error(
                        std::make_error_code(std::errc::resource_unavailable_try_again));
                case 3:
                    throw std::length_error("vector too long");
                default:
                    throw 42;
                }
            },
            onWorker ? CalculationThread::Worker : CalculationThread::Window);
        QVERIFY(watched.WaitForEnd());
        QCOMPARE(*watched.end, CalculationEnd::Fault);
        QCOMPARE(watched.locks, (std::vector<bool>{true, false}));
        QVERIFY(!watched.calculation.Running());
        QCOMPARE(watched.messages.entries.size(), std::size_t{1});
        QCOMPARE(watched.messages.entries[0].kind, RecordingMessages::Entry::Error);
        QVERIFY2(QString::fromStdString(watched.messages.entries[0].text).contains(message),
                 watched.messages.entries[0].text.c_str());
    }

    // The work runs off the window thread; its progress and its end come back to it, progress
    // first, and a finished calculation leaves the controls locked for the window to unlock.
    void workerReportsAndFinishesOnTheWindowThread() {
        Watched watched;
        QThread* workThread = nullptr;
        std::vector<int> shown;
        bool shownOnWindowThread = true;
        watched.Start(
            [&] {
                workThread = QThread::currentThread();
                for (int step = 1; step <= 3; ++step) {
                    watched.calculation.Report(
                        [&, step] {
                            shownOnWindowThread =
                                shownOnWindowThread && QThread::currentThread() == thread();
                            shown.push_back(step);
                        },
                        true);
                }
                return true;
            },
            CalculationThread::Worker);
        QVERIFY(watched.calculation.Running());
        QVERIFY(watched.WaitForEnd());
        QVERIFY(workThread != thread());
        QVERIFY(shownOnWindowThread);
        QCOMPARE(shown, (std::vector<int>{1, 2, 3}));
        QCOMPARE(*watched.end, CalculationEnd::Finished);
        QCOMPARE(watched.locks, std::vector<bool>{true});
        QVERIFY(!watched.calculation.Running());
        QVERIFY(watched.messages.entries.empty());
    }

    // Reset reaches a worker that reports without end; the controls unlock and the flag is
    // cleared for the next calculation. A window closed while one runs waits for it to stop.
    void resetStopsTheWorkerAndClosingWaitsForIt() {
        Watched watched;
        watched.Start(
            [&] {
                while (watched.calculation.Report([] {})) {
                }
                return false;
            },
            CalculationThread::Worker);
        watched.calculation.RequestReset();
        QVERIFY(watched.WaitForEnd());
        QCOMPARE(*watched.end, CalculationEnd::Reset);
        QCOMPARE(watched.locks, (std::vector<bool>{true, false}));
        QVERIFY(!watched.calculation.ResetRequested());

        bool ended = false;
        {
            RecordingMessages messages;
            LongCalculation closing(messages, [](bool) {});
            closing.Start(
                [&] {
                    while (closing.Report([] {})) {
                    }
                    ended = true;
                    return false;
                },
                [](CalculationEnd) {});
        }
        QVERIFY(ended);
    }
};

} // namespace kelvor::app

KELVOR_APP_TEST_MAIN(kelvor::app::LongCalculationTest)
#include "long_calculation_test.moc"
