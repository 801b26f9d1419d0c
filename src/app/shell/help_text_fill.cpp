#include "app/shell/help_text_fill.h"

#include "text/rtf_reader.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

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

void FillHelpText(QTextDocument& document, const RtfDocument& source) {
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    bool first = true;
    for (const RtfParagraph& paragraph : source.paragraphs) {
        if (!first) {
            cursor.insertBlock();
        }
        first = false;
        QTextBlockFormat block;
        block.setNonBreakableLines(paragraph.HasOverlongWord());
        cursor.setBlockFormat(block);
        for (const RtfRun& run : paragraph.runs) {
            cursor.insertText(QString::fromStdU16String(run.text), FormatOf(run));
        }
    }
    cursor.endEditBlock();
}

} // namespace kelvor::app
