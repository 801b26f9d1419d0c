// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QTest>
#include <string_view>

namespace kelvor::testing {

// The window tests share one executable, which runs the test file named by its first argument
// (the file name without .cpp): ctest still runs each file in a process of its own, and the
// suite builds one program instead of one per file.
using AppTestRun = int (*)(int argc, char** argv);

// Registers a test file's run under the name of `sourceFile` (__FILE__); true.
bool RegisterAppTest(std::string_view sourceFile, AppTestRun run);

// What QTEST_MAIN does for one test class.
template <class Test> int RunQtTest(int argc, char** argv) {
    QTest::Internal::callInitMain<Test>();
    QApplication application(argc, argv);
    application.setAttribute(Qt::AA_Use96Dpi, true);
    Test test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace kelvor::testing

// In place of a main(): `run` is what the file's main did.
#define KELVOR_APP_TEST_RUN(run)                                                                   \
    namespace {                                                                                    \
    [[maybe_unused]] const bool appTestRegistered =                                                \
        kelvor::testing::RegisterAppTest(__FILE__, run);                                           \
    }

// In place of QTEST_MAIN(Test).
#define KELVOR_APP_TEST_MAIN(Test) KELVOR_APP_TEST_RUN(&kelvor::testing::RunQtTest<Test>)
