// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/common/qt_text.h"
#include "circuit/datafile_text.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <string>
#include <vector>

namespace kelvor::testing {

// Runs inspect on the next modal window of that type once it is up, then closes it, so that a
// test can go through a command that waits on exec().
template <class Window, class Inspect> void CloseNextModal(Inspect inspect) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, inspect] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (window == nullptr || !window->isVisible()) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        inspect(window);
        window->close();
    });
    timer->start();
}

inline void PlaceCaret(QPlainTextEdit* box, int lineNumber, int column = 0) {
    QTextCursor caret(box->document()->findBlockByNumber(lineNumber));
    caret.setPosition(caret.position() + column);
    box->setTextCursor(caret);
}

inline void PlaceCaretAtEnd(QPlainTextEdit* box) {
    box->moveCursor(QTextCursor::End);
}

inline std::vector<std::string> BoxLines(const QPlainTextEdit* box) {
    std::vector<std::string> lines;
    for (QTextBlock block = box->document()->firstBlock(); block.isValid(); block = block.next()) {
        lines.push_back(app::FromQt(block.text()));
    }
    return lines;
}

inline std::vector<std::string> FileLines(const TempFolder& folder, const std::string& name) {
    return SplitDatafileLines(folder.Read(name));
}

inline std::vector<RecordingMessages::Entry::Kind> Kinds(const RecordingMessages& messages) {
    std::vector<RecordingMessages::Entry::Kind> kinds;
    for (const auto& entry : messages.entries) {
        kinds.push_back(entry.kind);
    }
    return kinds;
}

} // namespace kelvor::testing
