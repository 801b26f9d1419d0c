#pragma once

class QTextDocument;

namespace kelvor {
struct RtfDocument;
}

namespace kelvor::app {

// Fills an empty document with the help text, so that its positions are those of the reader's
// plain text: one per character and one per paragraph break.
void FillHelpText(QTextDocument& document, const RtfDocument& source);

} // namespace kelvor::app
