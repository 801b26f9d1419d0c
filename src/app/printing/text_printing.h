// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QPainter;

namespace kelvor::app {

struct AppState;

// One line of a text print job, in the job's font at this size and weight.
struct PrintLine {
    std::string text;
    bool bold = false;
    int pointSize = 0;

    bool operator==(const PrintLine&) const = default;
};

// The lines of a text file: line ends are CR LF, LF or a lone CR; a last line end adds no line.
std::vector<std::string> SplitTextLines(std::string_view bytes);

// The job for a text file: an empty line, the name centred in 72 columns and an empty line, bold
// at size + 2; then the file's lines at size, bold only when boldBody, each cut to 87 characters,
// with "_" as a space in the first one.
std::vector<PrintLine> TextPrintLines(const std::string& fileName,
                                      const std::vector<std::string>& fileLines, int size,
                                      bool boldBody);

enum class PrintOutcome { Finished, Cancelled, Failed };

// Lays the lines top to bottom from the top-left of the painter's device, starting a new page
// (newPage) when the next line would not fit. cancelled is asked before each line; newPage
// returning false is a failed job.
PrintOutcome DrawTextLines(QPainter& painter, const QString& fontName,
                           const std::vector<PrintLine>& lines,
                           const std::function<bool()>& newPage,
                           const std::function<bool()>& cancelled);

// The lines PrintTextFile prints for a file in the working folder, with the body bold when the
// setting BoldFont says so. A missing or unreadable file is reported and gives nullopt.
std::optional<std::vector<PrintLine>> TextFilePrintJob(AppState& state, const std::string& fileName,
                                                       int size);

// Prints a text file of the working folder with its name as a heading. Goes to a PDF file that
// the user names when no printer is installed. The printing window's Cancel stops the job between
// lines and discards it; a job that cannot be printed is reported, never passed over.
// beforePrinting runs once the job's destination is settled, before the first line is drawn.
void PrintTextFile(AppState& state, const std::string& fileName, const std::string& fontName,
                   int size, const std::function<void()>& beforePrinting = {});

// Portrait becomes landscape and landscape portrait, unless a job is printing: then busy is set
// and the user is told.
void TogglePrinterOrientation(AppState& state, bool& busy);

} // namespace kelvor::app
