// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bode/noise_window.h"

#include "app/bode/bode_window.h"
#include "app/common/file_paths.h"
#include "app/state/help_topics.h"
#include "app/support/analyser_range.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/calculation_wait.h"
#include "app/support/help_opening.h"
#include "circuit/sample_datafile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

using namespace kelvor;

namespace {

// R = 1 kohm, C = 159.15 nF: fc = 1/(2 pi R C) = 1000.0 Hz.
constexpr const char* kRcLowPass = "   RC_Low_Pass   Rev. 1   7 Dec 2026\r\n\r\n"
                                   "   NodeIn = 1   NodeOut = 2   NodeCom = 3\r\n\r\n"
                                   "   R  1 2   1k\r\n   C  2 3   159.15nF\r\n";
constexpr long double kR = 1000, kC = 159.15e-9L;
constexpr long double kKelvin = 27 + 273.15L;
constexpr long double kBoltzmannConstant = 1.380649e-23L; // J/K, exact since the 2019 SI

double Number(const QTableWidgetItem* item) {
    return item->text().remove('%').trimmed().toDouble();
}

} // namespace

class NoiseWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::AppFixture> fixture;
    std::unique_ptr<app::TFormBode> bode;
    app::TFormNoise* panel = nullptr;

    void OpenPanel() {
        bode->ButtonNoise->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
        panel = bode->noise();
        QVERIFY(panel != nullptr && panel->isVisible());
    }
    void MakeCurrent(const char* name, const char* text) {
        fixture->folder.Write(name, text);
        fixture->state.shell.DatafileName = name;
        emit fixture->state.datafileEvents.currentChanged();
        QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
    }

private slots:
    void init() {
        fixture = std::make_unique<testing::AppFixture>();
        QVERIFY(fixture->Parse());
        bode = std::make_unique<app::TFormBode>(fixture->state);
        QVERIFY(testing::ShowAnalyserFrom10HzTo10kHz(*bode, 20));
        QVERIFY(QTest::qWaitForWindowExposed(bode.get()));
    }
    void cleanup() {
        bode.reset();
        fixture.reset();
    }

    // The totals, the table and the drawn curves are those of the core's analysis of the same
    // request, built here from the Datafile and the choices the user made.
    void panelShowsTheCoresAnalysisOfTheChosenRequest() {
        OpenPanel();
        panel->ComboBoxWeighting->setCurrentIndex(1);
        panel->ComboBoxSourceLine->setCurrentIndex(panel->ComboBoxSourceLine->findData(7));
        panel->EditBoxReference->setText("1");
        panel->CheckBoxVisibleBand->setChecked(false);
        panel->EditBoxBandFrom->setText("100");
        panel->EditBoxBandTo->setText("5k");
        bode->CheckBoxNoise->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
        panel->ButtonRun->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
        QVERIFY2(fixture->messages.entries.empty(),
                 fixture->messages.entries.empty() ? ""
                                                   : fixture->messages.entries[0].text.c_str());

        CircuitState parsed;
        ParseOutcome outcome = ParseDatafileText(SampleDatafileText(fixture->state.shell.TodayText),
                                                 parsed, fixture->state.shell.TodayText);
        const std::vector<int> lines = outcome.sourceLines;
        NoiseRequest request;
        request.frequencies = bode->traces().current().curve.frequency;
        request.band = {100, 5000};
        request.weighting = NoiseWeighting::A;
        request.sourceLine = 7;
        request.referenceLevel = 1;
        request.refine = true;
        const NoiseAnalysis expected = RunNoiseAnalysis(
            MakeLoadedCircuit(std::move(outcome.records), parsed), lines, {}, request);

        const std::string summary = NoiseSummaryText(expected);
        for (const char* total : {"Output noise:", "Input noise:", "SNR:", "Noise figure:"}) {
            const std::size_t at = summary.find(total);
            QVERIFY(at != std::string::npos);
            const QString line =
                QString::fromStdString(summary.substr(at, summary.find('\n', at) - at));
            QVERIFY2(panel->LabelTotals->text().contains(line), qPrintable(line));
        }
        QCOMPARE(panel->TableContributors->rowCount(),
                 static_cast<int>(expected.generators.size()));
        double bandShares = 0, cursorShares = 0;
        for (int row = 0; row < panel->TableContributors->rowCount(); ++row) {
            const NoiseContributor& rank = expected.band.ranked[static_cast<std::size_t>(row)];
            QCOMPARE(panel->TableContributors->item(row, 0)->text().toStdString(),
                     expected.generators[rank.generator].Name());
            if (row > 0) {
                QVERIFY(Number(panel->TableContributors->item(row, 2)) <=
                        Number(panel->TableContributors->item(row - 1, 2)));
            }
            bandShares += Number(panel->TableContributors->item(row, 2));
            cursorShares += Number(panel->TableContributors->item(row, 3));
        }
        // Each share is shown to 0.001 %.
        const double rounding = 0.0005 * panel->TableContributors->rowCount();
        QVERIFY2(std::fabs(bandShares - 100) <= rounding, qPrintable(QString::number(bandShares)));
        QVERIFY2(std::fabs(cursorShares - 100) <= rounding,
                 qPrintable(QString::number(cursorShares)));

        const auto& drawn = bode->Plot->noise();
        QVERIFY(drawn.has_value());
        QCOMPARE(drawn->frequency.size(), expected.points.size());
        for (std::size_t index = 0; index < expected.points.size(); ++index) {
            QCOMPARE(drawn->output[index], expected.points[index].output);
            QCOMPARE(drawn->input[index], expected.points[index].input);
        }
        QCOMPARE(drawn->contributors.size(),
                 std::min(plot::kPlottedContributors, expected.generators.size()));
        QCOMPARE(drawn->contributors.front().generator, expected.band.ranked.front().generator);
    }

    // A row clicked in the table is drawn thick.
    void clickingARowHighlightsItsCurve() {
        OpenPanel();
        panel->ButtonRun->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
        const int last = panel->TableContributors->rowCount() - 1;
        QVERIFY(last >= 1);
        for (int row : {1, last}) {
            panel->TableContributors->selectRow(row);
            const auto generator =
                panel->TableContributors->item(row, 0)->data(Qt::UserRole).toULongLong();
            const auto& drawn = bode->Plot->noise();
            QVERIFY(drawn.has_value() && drawn->highlighted.has_value());
            QCOMPARE(drawn->contributors[*drawn->highlighted].generator, generator);
        }
    }

    // An RC low-pass made current: the drawn output noise is 4kTR / (1 + (f/fc)^2) at every
    // point, and the sensitivity at the cursor is that of the closed form.
    void noiseCurveAndSensitivityFollowTheDatafile() {
        bode->CheckBoxNoise->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
        OpenPanel();
        MakeCurrent("RC.DAT", kRcLowPass);
        QCOMPARE(bode->traces().current().title, std::string("RC_Low_Pass"));
        const auto& drawn = bode->Plot->noise();
        QVERIFY(drawn.has_value() && !drawn->frequency.empty());
        const long double fc = 1 / (2 * std::numbers::pi_v<long double> * kR * kC);
        for (std::size_t index = 0; index < drawn->frequency.size(); ++index) {
            const long double ratio = drawn->frequency[index] / fc;
            const long double expected =
                std::sqrt(4 * kBoltzmannConstant * kKelvin * kR / (1 + ratio * ratio));
            // Two solvers of extended precision agree far below this.
            QVERIFY(std::fabs(drawn->output[index] / expected - 1) < 1e-12L);
        }

        QCoreApplication::processEvents();
        QCPAxisRect* top = bode->Plot->axisRects().front();
        QTest::mouseMove(bode->Plot,
                         {static_cast<int>(top->axis(QCPAxis::atBottom)->coordToPixel(2000)),
                          top->center().y()});
        const auto& sensitivity = panel->sensitivity();
        QVERIFY(sensitivity.has_value());
        QCOMPARE(static_cast<double>(sensitivity->frequency), *bode->Plot->cursorFrequency());
        // Gain 1/(1 + jx), x = 2 pi f R C: d(dB)/d(ln R) = -20/ln10 x^2/(1+x^2) and
        // d(phase)/d(ln R) = -x/(1+x^2) radians, the same for C; per % a hundredth of that.
        const long double x = sensitivity->frequency / fc;
        const long double gain = -20 / std::log(10.0L) * x * x / (1 + x * x) / 100;
        const long double phase = -x / (1 + x * x) * 180 / std::numbers::pi_v<long double> / 100;
        QCOMPARE(panel->TableSensitivity->rowCount(), 2);
        for (int row = 0; row < 2; ++row) {
            // Shown to 5 significant digits.
            QVERIFY(std::fabs(Number(panel->TableSensitivity->item(row, 3)) / gain - 1) < 1e-4);
            QVERIFY(std::fabs(Number(panel->TableSensitivity->item(row, 4)) / phase - 1) < 1e-4);
        }
    }

    // Cancelled mid-run, the panel keeps the last results and both windows work on.
    void cancelKeepsTheResultsAndTheWindowsUsable() {
        OpenPanel();
        // Thousands of points, so that the run lasts past the first slice of events; the
        // analyser's computation runs the open panel's analysis as well.
        bode->SpinBoxPointsPerDecade->setValue(2000);
        bode->ButtonCompute->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
        QVERIFY(panel->analysis().has_value());
        const long double before = panel->analysis()->band.outputRms;
        // Cancelled as the run locks the panel, before its worker starts: however fast the
        // analysis, the cancel is seen at its first progress report.
        const testing::OnFirstDisable cancel(panel->ButtonRun,
                                             [this] { panel->ButtonCancelClick(); });
        panel->ButtonRun->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
        QVERIFY(panel->LabelTotals->text().startsWith("Cancelled"));
        QCOMPARE(panel->analysis()->band.outputRms, before);
        QVERIFY(panel->ButtonRun->isEnabled());
        QVERIFY(bode->ButtonCompute->isEnabled());
        panel->ButtonRun->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
        QVERIFY(panel->LabelTotals->text().startsWith("Output noise"));
    }

    // The op-amp figures typed in are kept in the .noi file beside the Datafile.
    void opAmpFiguresAreKeptBesideTheDatafile() {
        MakeCurrent("INV.DAT", "   Inverting   Rev. 1   7 Dec 2026\r\n\r\n"
                               "   NodeIn = 1   NodeOut = 3   NodeCom = 4\r\n\r\n"
                               "   R  1 2   1k\r\n   R  2 3   10k\r\n"
                               "   A  4 2 3   80  10M  10M\r\n");
        OpenPanel();
        QCOMPARE(panel->TableOpAmps->rowCount(), 1);
        QCOMPARE(panel->TableOpAmps->item(0, 0)->text(), QString("7"));
        panel->TableOpAmps->item(0, 2)->setText("5n");
        panel->ButtonRun->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
        const NoiseFileReading kept = ReadNoiseFile(fixture->folder / "INV.noi");
        QCOMPARE(kept.problem, std::string());
        QVERIFY(std::fabs(kept.settings.opAmps.at(7).voltage / 5e-9L - 1) < 1e-15L);

        panel->TableOpAmps->item(0, 2)->setText("-1n");
        panel->ButtonRun->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
        QCOMPARE(fixture->messages.entries.size(), std::size_t{1});
        QVERIFY(fixture->messages.entries[0].text.rfind("Op-amp of line 7", 0) == 0);
    }

    // The panel's export and the analyser's (beside the curves, while the noise is shown) write
    // the same densities, full precision, with the totals among the comments; the generators'
    // densities add up in power to the output's.
    void exportsWriteTheDensitiesAndTotals() {
        OpenPanel();
        panel->ButtonRun->click();
        QVERIFY(testing::WaitUntilIdle([&] { return bode->Computing(); }));
        const NoiseAnalysis& analysis = *panel->analysis();
        char total[64];
        std::snprintf(total, sizeof total, "# Output noise: %.4Le V rms", analysis.band.outputRms);
        const struct {
            QPushButton* button;
            const char* file;
            int firstColumn;
        } exports[] = {{panel->ButtonExportCsv, "N.CSV", 0}, {bode->ButtonExportCsv, "B.CSV", 13}};
        for (const auto& written : exports) {
            fixture->dialogs.fileToWrite = app::PathToQt(fixture->folder / written.file);
            written.button->click();
            const QStringList lines = QString::fromStdString(fixture->folder.Read(written.file))
                                          .split("\r\n", Qt::SkipEmptyParts);
            QVERIFY2(lines.contains(total), written.file);
            const QStringList header = lines.filter(QRegularExpression("^[^#]")).front().split(',');
            QCOMPARE(header.size(),
                     written.firstColumn + 4 + static_cast<int>(analysis.generators.size()));
            QVERIFY(header[written.firstColumn + 1].endsWith("Output noise (V/rtHz)"));
            const QStringList data = lines.filter(QRegularExpression("^[0-9,]"));
            QCOMPARE(data.size(), static_cast<qsizetype>(analysis.points.size()));
            for (std::size_t row = 0; row < analysis.points.size(); ++row) {
                const QStringList cells = data[static_cast<int>(row)].split(',');
                const auto cell = [&](int column) {
                    return std::strtold(cells[written.firstColumn + column].toLatin1(), nullptr);
                };
                QCOMPARE(cell(0), analysis.points[row].frequency);
                QCOMPARE(cell(1), analysis.points[row].output);
                long double power = 0;
                for (std::size_t g = 0; g < analysis.generators.size(); ++g) {
                    power += cell(4 + static_cast<int>(g)) * cell(4 + static_cast<int>(g));
                }
                QVERIFY(std::fabs(std::sqrt(power) / cell(1) - 1) < 1e-12L);
            }
        }
        // Noise neither drawn nor in the open panel: the analyser writes its curves alone.
        panel->close();
        fixture->dialogs.fileToWrite = app::PathToQt(fixture->folder / "C.CSV");
        bode->ButtonExportCsv->click();
        QVERIFY(!QString::fromStdString(fixture->folder.Read("C.CSV")).contains("Noise"));
    }

    void f1OpensTheNoiseTopic() {
        OpenPanel();
        QCOMPARE(testing::ReleaseF1(panel, fixture->state).position,
                 app::help::kNoiseAnalysis.position);
    }
};

KELVOR_APP_TEST_MAIN(NoiseWindowTest)
#include "noise_window_test.moc"
