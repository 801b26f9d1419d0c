// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <string>

class QPrinter;
class QWidget;

namespace kelvor {
class MessageSink;
}

namespace kelvor::app {

class Dialogs;

// The resolution of a job that goes to a PDF file.
inline constexpr int kPdfDotsPerInch = 600;

struct PrintTarget {
    bool toPdf = false;
    QString pdfFile; // the full path when toPdf
};

// True, with the user told, while a job prints: the windows stay live during a text job, so a
// second print command can arrive before it ends.
bool PrinterBusy(QPrinter& printer, MessageSink& messages);

// Points the printer at the installed default printer or, when none is installed, at a PDF file
// that the user names (suggested: the job's name with ".pdf", in the folder). nullopt when the
// user cancelled that choice; the caller then drops the job quietly.
std::optional<PrintTarget> ChoosePrintTarget(Dialogs& dialogs, QPrinter& printer, QWidget* owner,
                                             const std::filesystem::path& folder,
                                             const std::string& jobName);

} // namespace kelvor::app
