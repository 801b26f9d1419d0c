// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/schematic/schematic_window.h"

#include "app/common/file_paths.h"
#include "app/editors/form_editor_window.h"
#include "app/schematic/schematic_view.h"
#include "app/state/help_topics.h"
#include "app/support/app_fixture.h"
#include "app/support/app_test_main.h"
#include "app/support/help_opening.h"
#include "circuit/datafile_text.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

using namespace kelvor;

class SchematicWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::AppFixture> fixture;
    std::unique_ptr<app::TFormSchematic> window;

    // The sample's Datafile line, as the file holds it, without its leading spaces.
    std::string FileLine(int line) const {
        const auto lines = SplitDatafileLines(fixture->folder.Read("HPFILTER.DAT"));
        const std::string& text = lines[static_cast<std::size_t>(line - 1)];
        return text.substr(text.find_first_not_of(' '));
    }
    QPoint CentreOf(int component) const {
        const schematic::Box& b =
            window->View->drawing()->components[static_cast<std::size_t>(component)].box;
        return window->View->WidgetPoint(QPointF((b.x0 + b.x1) / 2.0, (b.y0 + b.y1) / 2.0))
            .toPoint();
    }

private slots:
    void init() {
        fixture = std::make_unique<testing::AppFixture>();
        window = std::make_unique<app::TFormSchematic>(fixture->state);
        window->ShowForCurrentDatafile();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() {
        window.reset();
        fixture.reset();
    }

    void hoverShowsTheDatafileLine() {
        const auto& drawing = window->View->drawing();
        QVERIFY(drawing.has_value());
        QCOMPARE(drawing->components.size(), std::size_t{5});
        for (int component = 0; component < 5; ++component) {
            QTest::mouseMove(window->View, CentreOf(component));
            const int line = drawing->components[static_cast<std::size_t>(component)].line;
            QVERIFY2(window->LabelLine->text().endsWith(QString::fromStdString(FileLine(line))),
                     qPrintable(window->LabelLine->text()));
        }
    }

    void doubleClickOpensTheFormEditorAtTheLine() {
        const int component = 3;
        const int line = window->View->drawing()->components[component].line;
        QString caretLine;
        bool opened = false;
        QTimer::singleShot(200, [&] {
            app::TFormEdt2& editor = fixture->state.windows.Get<app::TFormEdt2>();
            opened = editor.isVisible();
            caretLine = editor.MemoBoxEDT2->textCursor().block().text();
            editor.reject();
        });
        QTest::mouseDClick(window->View, Qt::LeftButton, Qt::NoModifier, CentreOf(component));
        QVERIFY(opened);
        QCOMPARE(caretLine.trimmed().toStdString(), FileLine(line));
        QCOMPARE(window->View->selected(), component);
    }

    void followsTheFileAndShowsTheReportOfABadOne() {
        // A save elsewhere (as either editor saves) adds a part: the drawing follows unasked.
        std::string text = fixture->folder.Read("HPFILTER.DAT");
        fixture->folder.Write("HPFILTER.DAT", text + "         R  5 2       1k\r\n");
        QTRY_COMPARE_WITH_TIMEOUT(window->View->drawing()->components.size(), std::size_t{6}, 5000);

        fixture->folder.Write("HPFILTER.DAT", text + "         X  5 2\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(window->LabelReport->isVisible(), 5000);
        QVERIFY(!window->View->isVisible());
        QVERIFY(window->LabelReport->text().contains("Error"));
        QVERIFY(!window->ButtonExport->isEnabled());
    }

    void exportsAParsableSvgAndFollowsThePalette() {
        const auto path = fixture->folder / "drawing.svg";
        fixture->dialogs.fileToWrite = app::PathToQt(path);
        window->ButtonExportClick();
        QSvgRenderer svg(app::PathToQt(path));
        QVERIFY(svg.isValid());

        QPalette dark = window->palette();
        dark.setColor(QPalette::Base, QColor(20, 20, 20));
        dark.setColor(QPalette::Text, QColor(230, 230, 230));
        window->setPalette(dark);
        const QImage picture = window->View->grab().toImage();
        QCOMPARE(picture.pixelColor(2, 2), QColor(20, 20, 20));
        bool light = false;
        for (int y = 0; y < picture.height() && !light; ++y) {
            for (int x = 0; x < picture.width() && !light; ++x) {
                light = picture.pixelColor(x, y).lightness() > 200;
            }
        }
        QVERIFY2(light, "the wires are drawn in the palette's light text colour");
    }

    void f1OpensTheSchematicTopic() {
        const testing::HelpOpening opening = testing::ReleaseF1(window.get(), fixture->state);
        QCOMPARE(opening.position, app::help::kSchematicView.position);
    }
};

KELVOR_APP_TEST_MAIN(SchematicWindowTest)
#include "schematic_window_test.moc"
