// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bode/analysis_panel_frame.h"

#include "app/common/screen_checks.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

namespace kelvor::app {

AnalysisPanelControls BuildAnalysisPanelFrame(QWidget& panel, QWidget* settings, QWidget* results,
                                              int settingsWidth) {
    auto* splitter = new QSplitter(Qt::Horizontal, &panel);
    splitter->addWidget(ScrolledWhenSmall(settings, splitter));
    splitter->addWidget(ScrolledWhenSmall(results, splitter));
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({settingsWidth, 640});
    auto* layout = new QVBoxLayout(&panel);
    layout->addWidget(splitter, 1);
    AnalysisPanelControls controls;
    controls.run = new QPushButton("&Run", &panel);
    controls.cancel = new QPushButton("&Cancel", &panel);
    controls.progress = new QProgressBar(&panel);
    controls.progress->setTextVisible(false);
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(controls.run);
    runRow->addWidget(controls.cancel);
    runRow->addWidget(controls.progress, 1);
    runRow->addWidget(new QLabel("F1 for Help", &panel));
    layout->addLayout(runRow);
    controls.run->setDefault(true);
    return controls;
}

} // namespace kelvor::app
