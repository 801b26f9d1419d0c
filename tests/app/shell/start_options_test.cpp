// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell/start_options.h"

#include "app/support/app_test_main.h"
#include "examples/example_catalogue.h"
#include "support/temp_folder.h"

#include <QTest>

using namespace kelvor;
using app::StartOptions;

Q_DECLARE_METATYPE(StartOptions::Action)

class StartOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void commandLines_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<StartOptions::Action>("action");
        QTest::addColumn<bool>("desktop");
        QTest::addColumn<QString>("datafile");
        using A = StartOptions::Action;
        QTest::newRow("terminal") << QStringList{} << A::Run << false << "";
        QTest::newRow("menu") << QStringList{"--desktop"} << A::Run << true << "";
        QTest::newRow("double-click")
            << QStringList{"--desktop", "/d/AMP.DAT"} << A::Run << true << "/d/AMP.DAT";
        QTest::newRow("help wins")
            << QStringList{"X.DAT", "-h", "--bad"} << A::ShowHelp << false << "X.DAT";
        QTest::newRow("version") << QStringList{"--version"} << A::ShowVersion << false << "";
        QTest::newRow("unknown option") << QStringList{"--fast"} << A::Refuse << false << "";
        QTest::newRow("two Datafiles")
            << QStringList{"A.DAT", "B.DAT"} << A::Refuse << false << "A.DAT";
        QTest::newRow("empty argument") << QStringList{""} << A::Refuse << false << "";
    }
    void commandLines() {
        QFETCH(QStringList, arguments);
        std::vector<std::string> words;
        for (const QString& argument : arguments) {
            words.push_back(argument.toStdString());
        }
        const StartOptions options = app::ParseStartOptions(words);
        QFETCH(StartOptions::Action, action);
        QFETCH(bool, desktop);
        QFETCH(QString, datafile);
        QCOMPARE(options.action, action);
        QCOMPARE(options.action == StartOptions::Action::Refuse, !options.refusal.empty());
        if (action == StartOptions::Action::Run) {
            QCOMPARE(options.desktop, desktop);
            QCOMPARE(QString::fromStdString(options.datafile.string()), datafile);
        }
    }

    // The folder the program works in, and the Datafile it opens first.
    void startPlaces_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("datafile");
        QTest::addColumn<bool>("ownFolder");
        QTest::newRow("terminal") << QStringList{} << "/home/u/work"
                                  << "" << false;
        QTest::newRow("menu") << QStringList{"--desktop"} << "/home/u/Documents/KELVOR2007"
                              << "" << true;
        QTest::newRow("double-click")
            << QStringList{"--desktop", "/data/amps/CE.DAT"} << "/data/amps"
            << "CE.DAT" << false;
        QTest::newRow("terminal, relative Datafile")
            << QStringList{"../amps/./CE.DAT"} << "/home/u/amps"
            << "CE.DAT" << false;
        QTest::newRow("terminal, Datafile here") << QStringList{"CE.DAT"} << "/home/u/work"
                                                 << "CE.DAT" << false;
    }
    void startPlaces() {
        QFETCH(QStringList, arguments);
        std::vector<std::string> words;
        for (const QString& argument : arguments) {
            words.push_back(argument.toStdString());
        }
        const app::StartPlace place = app::ChooseStartPlace(app::ParseStartOptions(words),
                                                            "/home/u/work", "/home/u/Documents");
        QFETCH(QString, folder);
        QFETCH(QString, datafile);
        QFETCH(bool, ownFolder);
        QCOMPARE(QString::fromStdString(place.folder.string()), folder);
        QCOMPARE(QString::fromStdString(place.datafileName), datafile);
        QCOMPARE(place.ownFolder, ownFolder);
    }

    // Made once with every listed example in it; a later start leaves what the user changed.
    void ownFolderIsMadeOnceWithTheExamples() {
        testing::TempFolder documents;
        const std::filesystem::path own = documents / "deeper" / "KELVOR2007";
        const std::filesystem::path examples = FindExamplesFolder();
        app::OwnFolderOutcome outcome = app::PrepareOwnFolder(own, examples);
        QVERIFY(outcome.usable);
        QCOMPARE(QString::fromStdString(outcome.problem), QString());
        const std::vector<ExampleEntry> catalogue = ReadExampleCatalogue(examples);
        QVERIFY(catalogue.size() >= 10);
        for (const ExampleEntry& example : catalogue) {
            QVERIFY2(std::filesystem::file_size(own / example.fileName) ==
                         std::filesystem::file_size(examples / example.fileName),
                     example.fileName.c_str());
        }
        std::filesystem::remove(own / catalogue.front().fileName);
        QVERIFY(app::PrepareOwnFolder(own, examples).usable);
        QVERIFY(!std::filesystem::exists(own / catalogue.front().fileName));
    }

    void ownFolderProblemsAreSaid() {
        testing::TempFolder documents;
        documents.Write("KELVOR2007", "a file in the way");
        const app::OwnFolderOutcome blocked =
            app::PrepareOwnFolder(documents / "KELVOR2007", FindExamplesFolder());
        QVERIFY(!blocked.usable);
        QVERIFY(blocked.problem.find("KELVOR2007") != std::string::npos);

        const app::OwnFolderOutcome noExamples =
            app::PrepareOwnFolder(documents / "fresh", std::filesystem::path());
        QVERIFY(noExamples.usable);
        QVERIFY(!noExamples.problem.empty());
        QVERIFY(std::filesystem::is_directory(documents / "fresh"));
    }
};

KELVOR_APP_TEST_MAIN(StartOptionsTest)
#include "start_options_test.moc"
