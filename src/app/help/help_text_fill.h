// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text/rtf_reader.h"

#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <chrono>
#include <cstddef>
#include <optional>

class QTextDocument;

namespace kelvor::app {

// The window adds at once the text up to the caret and this many paragraphs below it, more than
// a view shows at any font size; then the rest by steps of about kHelpFillStep while it waits.
inline constexpr std::size_t kParagraphsBelowCaret = 2048;
inline constexpr std::chrono::milliseconds kHelpFillStep{10};

// Fills an empty document with the help text paragraph by paragraph, so that the window can show
// the part around the caret at once and add the rest while it waits for the user. The document's
// positions are those of the reader's plain text: one per character and one per paragraph break.
class HelpTextFill {
public:
    HelpTextFill(QTextDocument& document, RtfDocument source);

    // Adds paragraphs until the text holds `position` and `paragraphsAfter` more paragraphs.
    void FillPast(std::size_t position, std::size_t paragraphsAfter);
    // Adds and lays out paragraphs for about `budget` (one edit at least); true when the whole
    // text is in.
    bool FillFor(std::chrono::nanoseconds budget);
    bool Done() const { return next_ == source_.paragraphs.size(); }

private:
    void AddParagraph();
    void InsertStretch();

    RtfDocument source_;
    QTextCursor cursor_;
    std::size_t next_ = 0;   // the first paragraph not yet added
    std::size_t length_ = 0; // the characters added, paragraph breaks included
    QString stretch_;        // text of one character format not yet inserted
    QTextCharFormat stretchFormat_;
    const RtfRun* stretchRun_ = nullptr;
    std::optional<bool> unwrapped_; // the wrapping of the last paragraph added
};

} // namespace kelvor::app
