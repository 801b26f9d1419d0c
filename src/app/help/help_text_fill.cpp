// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help/help_text_fill.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextDocument>
#include <QTextLayout>

namespace kelvor::app {
namespace {

QTextCharFormat FormatOf(const RtfRun& run) {
    QTextCharFormat format;
    if (!run.fontName.empty()) {
        format.setFontFamilies({QString::fromStdU16String(run.fontName)});
    }
    if (run.pointSize) {
        format.setFontPointSize(*run.pointSize);
    }
    format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(run.italic);
    format.setFontUnderline(run.underline);
    if (run.colour) {
        // Colours are kept as the program stores them: red in the low byte.
        const uint32_t colour = *run.colour;
        format.setForeground(
            QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF)));
    }
    return format;
}

// Few enough for the clock to be read often, enough for each edit's fixed cost to be small.
constexpr int kParagraphsPerEdit = 256;

// Each insertion costs alike whatever its length, so the text goes in by stretches of one
// character format, paragraph breaks included, and every step is one edit: the document lays
// out what was added once, not after every insertion.
class EditStep {
public:
    explicit EditStep(QTextCursor& cursor) : cursor_(cursor) { cursor_.beginEditBlock(); }
    ~EditStep() { cursor_.endEditBlock(); }
    EditStep(const EditStep&) = delete;
    EditStep& operator=(const EditStep&) = delete;

private:
    QTextCursor& cursor_;
};

} // namespace

HelpTextFill::HelpTextFill(QTextDocument& document, RtfDocument source)
    : source_(std::move(source)), cursor_(&document) {
    // A help text is never edited: keeping its insertions for undo would only cost memory.
    document.setUndoRedoEnabled(false);
}

void HelpTextFill::FillPast(std::size_t position, std::size_t paragraphsAfter) {
    EditStep step(cursor_);
    while (!Done() && length_ < position) {
        AddParagraph();
    }
    for (std::size_t added = 0; added < paragraphsAfter && !Done(); ++added) {
        AddParagraph();
    }
    InsertStretch();
}

bool HelpTextFill::FillFor(std::chrono::nanoseconds budget) {
    QElapsedTimer clock;
    clock.start();
    // The document lays out each edit as it closes; short edits let the clock count that too.
    do {
        EditStep step(cursor_);
        for (int added = 0; added < kParagraphsPerEdit && !Done(); ++added) {
            AddParagraph();
        }
        InsertStretch();
    } while (!Done() && clock.nsecsElapsed() < budget.count());
    return Done();
}

// A break takes the format of the text before it, as a cursor's own new paragraph would.
void HelpTextFill::AddParagraph() {
    const RtfParagraph& paragraph = source_.paragraphs[next_++];
    if (unwrapped_.has_value()) {
        stretch_ += QChar::ParagraphSeparator;
        ++length_;
    }
    // A new paragraph takes the format of the one before; it is set only where it changes.
    const bool overlong = paragraph.HasOverlongWord();
    if (unwrapped_ != overlong) {
        InsertStretch();
        QTextBlockFormat block;
        block.setNonBreakableLines(overlong);
        cursor_.setBlockFormat(block);
        unwrapped_ = overlong;
    }
    // An unwrapped paragraph is one long line, which the box would shape afresh for every caret
    // move and paint unless its layout is kept.
    if (overlong) {
        InsertStretch();
        cursor_.block().layout()->setCacheEnabled(true);
    }
    for (const RtfRun& run : paragraph.runs) {
        if (stretchRun_ == nullptr || !run.SameFormat(*stretchRun_)) {
            InsertStretch();
            stretchFormat_ = FormatOf(run);
            stretchRun_ = &run;
        }
        stretch_.append(QStringView(run.text.data(), static_cast<qsizetype>(run.text.size())));
        length_ += run.text.size();
    }
}

void HelpTextFill::InsertStretch() {
    if (!stretch_.isEmpty()) {
        cursor_.insertText(stretch_, stretchFormat_);
        stretch_.clear();
    }
}

} // namespace kelvor::app
