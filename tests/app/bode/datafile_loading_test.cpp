// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bode/bode_window.h"
#include "app/bode/noise_window.h"
#include "app/bode/tolerance_window.h"
#include "app/common/file_paths.h"
#include "app/interchange/file_interchange.h"
#include "app/schematic/schematic_window.h"
#include "app/support/analyser_range.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/calculation_wait.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <functional>

using namespace kelvor;

// Every window that loads a Datafile of its own goes through the reader's refusals.
class DatafileLoadingTest : public QObject {
    Q_OBJECT

private slots:
    // A Datafile saved as UTF-16 is refused with the reader's reason on each road, not taken
    // for a Datafile with errors in every line.
    void everyRoadRefusesUtf16Text() {
        testing::AppFixture fixture;
        QVERIFY(fixture.Parse());
        fixture.folder.Write("WIDE.DAT", std::string("\xFF\xFEM\0y\0", 6));
        app::TFormBode bode(fixture.state);
        QVERIFY(testing::ShowAnalyserFrom10HzTo10kHz(bode, 5));
        // The panels, the export and the schematic read the current Datafile themselves.
        const auto wideIsCurrent = [&] { fixture.state.shell.DatafileName = "WIDE.DAT"; };
        app::TFormSchematic schematic(fixture.state);
        const struct {
            const char* road;
            std::function<QString()> run;
        } roads[] = {
            {"Add Datafile",
             [&] {
                 fixture.dialogs.fileToRead = app::PathToQt(fixture.folder / "WIDE.DAT");
                 bode.ButtonAddDatafile->click();
                 return QString();
             }},
            {"Tolerances",
             [&] {
                 wideIsCurrent();
                 bode.ButtonTolerances->click();
                 return QString();
             }},
            {"Noise",
             [&] {
                 wideIsCurrent();
                 bode.ButtonNoise->click();
                 return QString();
             }},
            {"Export SPICE Netlist",
             [&] {
                 wideIsCurrent();
                 app::ExportSpiceNetlistCommand(fixture.state, nullptr);
                 return QString();
             }},
            {"schematic",
             [&] {
                 wideIsCurrent();
                 schematic.ShowForCurrentDatafile();
                 return schematic.LabelReport->text();
             }},
        };
        for (const auto& road : roads) {
            fixture.state.shell.DatafileName = "HPFILTER.DAT";
            fixture.messages.entries.clear();
            QString said = road.run();
            for (const std::string& text : fixture.messages.Texts()) {
                said += QString::fromStdString(text);
            }
            QVERIFY2(said.contains("saved as UTF-16"),
                     qPrintable(QString(road.road) + " said: " + said));
        }
    }
};

KELVOR_APP_TEST_MAIN(DatafileLoadingTest)
#include "datafile_loading_test.moc"
