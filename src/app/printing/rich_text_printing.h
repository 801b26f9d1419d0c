// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class QTextDocument;
class QWidget;

namespace kelvor::app {

struct AppState;

// Prints a rich-text document through its own layout with the job title the print queue shows;
// to a PDF file that the user names when no printer is installed.
void PrintRichText(AppState& state, QTextDocument& document, const std::string& jobTitle,
                   QWidget* owner);

} // namespace kelvor::app
