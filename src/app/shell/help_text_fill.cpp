#include "app/shell/help_text_fill.h"

#include "text/rtf_reader.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <optional>

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

} // namespace

// Each insertion costs alike whatever its length, so the text goes in by stretches of one
// character format, paragraph breaks included. A break takes the format of the text before it,
// as a cursor's own new paragraph would.
void FillHelpText(QTextDocument& document, const RtfDocument& source) {
    const bool undoWasEnabled = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    QString stretch;
    QTextCharFormat stretchFormat;
    const RtfRun* stretchRun = nullptr;
    auto insertStretch = [&] {
        if (!stretch.isEmpty()) {
            cursor.insertText(stretch, stretchFormat);
            stretch.clear();
        }
    };
    std::optional<bool> unwrapped;
    for (const RtfParagraph& paragraph : source.paragraphs) {
        if (unwrapped.has_value()) {
            stretch += QChar::ParagraphSeparator;
        }
        // A new paragraph takes the format of the one before; it is set only where it changes.
        const bool overlong = paragraph.HasOverlongWord();
        if (unwrapped != overlong) {
            insertStretch();
            QTextBlockFormat block;
            block.setNonBreakableLines(overlong);
            cursor.setBlockFormat(block);
            unwrapped = overlong;
        }
        for (const RtfRun& run : paragraph.runs) {
            if (stretchRun == nullptr || !run.SameFormat(*stretchRun)) {
                insertStretch();
                stretchFormat = FormatOf(run);
                stretchRun = &run;
            }
            stretch.append(QStringView(run.text.data(), static_cast<qsizetype>(run.text.size())));
        }
    }
    insertStretch();
    cursor.endEditBlock();
    document.setUndoRedoEnabled(undoWasEnabled);
}

} // namespace kelvor::app
