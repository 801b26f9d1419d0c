// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

class QPainter;
class QTextDocument;
class QWidget;

namespace kelvor::app {

struct AppState;

// Prints a rich-text document with the job title the print queue shows; to a PDF file that the
// user names when no printer is installed.
void PrintRichText(AppState& state, QTextDocument& document, const std::string& jobTitle,
                   QWidget* owner);

// Lays the document out on the pages of the painter's device, one line per paragraph as on the
// screen, scaled down as a whole when its widest line would not fit the page width, and draws
// it page by page; newPage moves to the next page and says whether it could.
void DrawDocumentPages(QPainter& painter, const QTextDocument& document,
                       const std::function<bool()>& newPage);

} // namespace kelvor::app
