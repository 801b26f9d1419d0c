// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/file_paths.h"
#include "app/interchange/example_chooser_window.h"
#include "app/interchange/spice_nodes_window.h"
#include "app/shell/main_window.h"
#include "app/support/app_test_main.h"
#include "app/support/recording_dialogs.h"
#include "circuit/sample_datafile.h"
#include "examples/example_catalogue.h"
#include "files/file_io.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <algorithm>
#include <sstream>

using namespace kelvor;
using Entry = testing::RecordingMessages::Entry;

class FileInterchangeTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::TempFolder> folder;
    std::unique_ptr<testing::RecordingMessages> messages;
    std::unique_ptr<testing::RecordingDialogs> dialogs;
    std::unique_ptr<app::AppState> state;
    std::unique_ptr<app::TFormMain> window;

    void Start() {
        folder->Write("HPFILTER.DAT", SampleDatafileText("7 Dec 2026"));
        state = std::make_unique<app::AppState>(folder->path(), *messages, *dialogs);
        window = std::make_unique<app::TFormMain>(*state);
        dialogs->nodeRoles = app::SpiceNodeRoles{"in", "out", "0"};
        messages->entries.clear();
    }
    // Runs a File menu item as the user's click does.
    void Click(const QString& caption) {
        QMenu* file = window->menuBar()->actions()[0]->menu();
        for (QAction* action : file->actions()) {
            if (action->text() == caption) {
                action->trigger();
                return;
            }
        }
        QFAIL(qPrintable("no File item " + caption));
    }

private slots:
    void init() {
        folder = std::make_unique<testing::TempFolder>();
        messages = std::make_unique<testing::RecordingMessages>();
        dialogs = std::make_unique<testing::RecordingDialogs>();
    }
    void cleanup() {
        window.reset();
        state.reset();
    }

    // The example is copied and opened; a different file of its name is replaced only on Yes.
    void openExampleCopiesAfterAskingAndOpens() {
        Start();
        const std::vector<ExampleEntry> examples = ReadExampleCatalogue(FindExamplesFolder());
        const auto found = std::find_if(examples.begin(), examples.end(),
                                        [](const auto& e) { return e.fileName == "SKLOWPAS.DAT"; });
        QVERIFY(found != examples.end());
        dialogs->example = static_cast<int>(found - examples.begin());
        const QString item = QString::fromUtf8("Open E&xample\u2026");
        folder->Write("SKLOWPAS.DAT", "mine");
        messages->answers.push_back(Answer::No);
        Click(item);
        QVERIFY(std::ranges::count(dialogs->offeredExampleFiles, "IFTRANS.DAT") == 1);
        QCOMPARE(messages->Texts().size(), std::size_t{1});
        QCOMPARE(messages->entries[0].kind, Entry::Question);
        QCOMPARE(folder->Read("SKLOWPAS.DAT"), std::string("mine"));
        QCOMPARE(state->shell.DatafileName, std::string("HPFILTER.DAT"));

        messages->answers.push_back(Answer::Yes);
        Click(item);
        QVERIFY(folder->Read("SKLOWPAS.DAT").find("Sallen-Key_Low_Pass_1kHz") != std::string::npos);
        QCOMPARE(state->shell.DatafileName, std::string("SKLOWPAS.DAT"));
        QCOMPARE(state->circuit.NodeOut, 4);
        // The unchanged copy is opened again without a question.
        state->shell.DatafileName = "HPFILTER.DAT";
        messages->entries.clear();
        Click(item);
        QVERIFY(messages->entries.empty());
        QCOMPARE(state->shell.DatafileName, std::string("SKLOWPAS.DAT"));
        QVERIFY(folder->Read("KELVOR.INI").find("Datafilename=SKLOWPAS.DAT") != std::string::npos);
    }

    // The export asks for the range, proposing the analyser's for this Datafile or else the
    // amplitude graph's (#8, 100 Hz to 1 kHz and a little beyond), sweeps the range typed, and
    // says where a transformer's coupling was taken; a Datafile with errors is refused first.
    void exportAsksTheRangeAndWritesTheNetlist() {
        Start();
        dialogs->fileToWrite = app::PathToQt(folder->path() / "hp.cir");
        dialogs->frequencyRange = std::make_pair(QString("200"), QString("2k"));
        state->settings.FCode = 8;
        Click(QString::fromUtf8("Export SPICE Netlist\u2026"));
        QCOMPARE(dialogs->suggestedWritePaths.size(), 1);
        QVERIFY2(dialogs->suggestedWritePaths[0].endsWith("HPFILTER.cir"),
                 qPrintable(dialogs->suggestedWritePaths[0]));
        QVERIFY(messages->entries.empty());
        const QStringList proposed = dialogs->proposedRanges[0].split(" to ");
        QVERIFY(proposed[0].toDouble() > 80 && proposed[0].toDouble() < 100);
        QVERIFY(proposed[1].endsWith('k'));
        const std::string netlist = folder->Read("hp.cir");
        QVERIFY(netlist.starts_with("* Simple_3_Element_High_Pass_Filter"));
        const std::size_t ac = netlist.find(".ac dec 10 ");
        QVERIFY(ac != std::string::npos);
        std::istringstream sweep(netlist.substr(ac + 11));
        double from = 0, to = 0;
        sweep >> from >> to;
        QCOMPARE(from, 200.0);
        QCOMPARE(to, 2000.0);

        // The analyser's range for the Datafile is proposed; the coupling of the example's
        // tapped transformer is taken at the geometric middle, sqrt(100k x 10M) = 1 MHz.
        folder->Write("HPFILTER.range", "[Analyser]\r\nStart = 50\r\nEnd = 5k\r\n"
                                        "PointsPerDecade = 100\r\n");
        Click(QString::fromUtf8("Export SPICE Netlist\u2026"));
        QCOMPARE(dialogs->proposedRanges[1], QString("50 to 5k"));
        folder->Write("HPFILTER.DAT", ReadWholeFile(FindExamplesFolder() / "IFTRANS.DAT"));
        dialogs->frequencyRange = std::make_pair(QString("100k"), QString("10M"));
        dialogs->fileToWrite = app::PathToQt(folder->path() / "if.cir");
        messages->entries.clear();
        Click(QString::fromUtf8("Export SPICE Netlist\u2026"));
        QCOMPARE(messages->Texts().size(), std::size_t{1});
        QVERIFY2(messages->Texts()[0].find("at 1.0000 MHz") != std::string::npos,
                 messages->Texts()[0].c_str());

        folder->Write("HPFILTER.DAT", "broken\r\n");
        messages->entries.clear();
        Click(QString::fromUtf8("Export SPICE Netlist\u2026"));
        QCOMPARE(dialogs->proposedRanges.size(), 3);
        QCOMPARE(messages->Texts(),
                 std::vector<std::string>{"\r\nCannot Run  -  Error in Datafile  "});
    }

    // A deck that no node choice can import is refused before any question. A deck that fits
    // is proposed its driven node and printed node, summarised for the user to confirm, and
    // only then becomes a Datafile of the working folder (spaces in its name made "_") and the
    // current one.
    void importRefusesFirstThenProposesAndConfirms() {
        Start();
        folder->Write("deck.cir",
                      "deck\nV1 in 0 AC 1\nR1 in out 1k\nQ1 out in 0 qmod\nR2 out 0 2k\n");
        dialogs->fileToRead = app::PathToQt(folder->path() / "deck.cir");
        dialogs->fileToWrite = "/elsewhere/my deck.dat";
        const QString item = QString::fromUtf8("Import SPICE Netlist\u2026");
        Click(item);
        QVERIFY2(dialogs->longText.contains("line 4: Q1: element type 'q'"),
                 qPrintable(dialogs->longText));
        QVERIFY(dialogs->offeredNodes.empty());
        QVERIFY(dialogs->suggestedWritePaths.empty());

        folder->Write("deck.cir", "deck\nR1 a b 1k\nV1 b 0 AC 1\nR2 a 0 2k\nR3 a c 0\n"
                                  "C1 c 0 1n\n.tran 1u 1m\n.print ac vdb(a)\n");
        dialogs->longText.clear();
        dialogs->nodeRoles = app::SpiceNodeRoles{"b", "a", "0"};
        messages->answers.push_back(Answer::No);
        Click(item);
        QCOMPARE(dialogs->proposedNodes.input, std::string("b"));
        QCOMPARE(dialogs->proposedNodes.output, std::string("a"));
        QCOMPARE(dialogs->proposedNodes.common, std::string("0"));
        QCOMPARE(messages->entries.size(), std::size_t{1});
        QCOMPARE(messages->entries[0].kind, Entry::Question);
        const std::string& summary = messages->entries[0].text;
        QVERIFY2(summary.find("line 5: R3: a 0 ohm resistor joins nodes a and c") !=
                     std::string::npos,
                 summary.c_str());
        QVERIFY2(summary.find("line 7: .tran: skipped") != std::string::npos, summary.c_str());
        QVERIFY2(summary.find("Fidelity: largest difference") != std::string::npos,
                 summary.c_str());
        QVERIFY(dialogs->suggestedWritePaths.empty()); // not confirmed: nothing written

        folder->Write("deck.cir", "deck\nV1 in 0 AC 1\nR1 in out 1k\nR2 out 0 2k\n");
        dialogs->nodeRoles = app::SpiceNodeRoles{"in", "out", "0"};
        messages->entries.clear();
        messages->answers.push_back(Answer::Yes);
        Click(item);
        QCOMPARE(dialogs->offeredNodes, (std::vector<std::string>{"in", "out", "0"}));
        QCOMPARE(dialogs->longText, QString());
        QVERIFY(folder->Read("my_deck.dat").find("R  1 2       1k  R1") != std::string::npos);
        QCOMPARE(state->shell.DatafileName, std::string("my_deck.dat"));
        QCOMPARE(state->circuit.NoNodes, 3);
        QCOMPARE(messages->entries.size(), std::size_t{1});
    }

    // The two small windows: the list shows each title with its line, the node boxes start on
    // the proposed nodes, else on the netlist's first two nodes other than ground, and the
    // common node on ground.
    void theChoosingWindowsOfferWhatTheyAreGiven() {
        const std::vector<ExampleEntry> examples = {{"A.DAT", "First", "one", 1, 10},
                                                    {"B.DAT", "Second", "two", 1, 10}};
        app::TFormExamples list(examples, nullptr);
        QCOMPARE(list.ListBoxExamples->count(), 2);
        QCOMPARE(list.ListBoxExamples->item(1)->text(), QString("Second\n      two"));
        QVERIFY(!list.Chosen().has_value());
        list.ListBoxExamples->setCurrentRow(1);
        list.accept();
        QCOMPARE(list.Chosen(), std::optional<int>(1));

        app::TFormSpiceNodes nodes({"in", "0", "out", "mid"}, {}, nullptr);
        const app::SpiceNodeRoles roles = nodes.Roles();
        QCOMPARE(roles.input, std::string("in"));
        QCOMPARE(roles.output, std::string("out"));
        QCOMPARE(roles.common, std::string("0"));
        QCOMPARE(nodes.ComboBoxCommon->count(), 4);
        nodes.ComboBoxOutput->setCurrentText("mid");
        QCOMPARE(nodes.Roles().output, std::string("mid"));

        // A proposal takes its role; the others are filled around it.
        app::TFormSpiceNodes proposed({"in", "0", "out", "mid"}, {"", "mid", ""}, nullptr);
        QCOMPARE(proposed.Roles().input, std::string("in"));
        QCOMPARE(proposed.Roles().output, std::string("mid"));
        QCOMPARE(proposed.Roles().common, std::string("0"));
    }
};

KELVOR_APP_TEST_MAIN(FileInterchangeTest)
#include "file_interchange_test.moc"
