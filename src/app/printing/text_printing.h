// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstddef>
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

enum class PrintOutcome { Finished, Unfinished, Cancelled, Failed };

// Lays a job's lines top to bottom from the top-left of the painter's device, starting a new page
// (newPage) when the next line would not fit; a piece at a time, so that a job can let the event
// loop run between pieces.
class TextLineWriter {
public:
    TextLineWriter(QString fontName, std::vector<PrintLine> lines);

    // Draws at most count further lines, asking cancelled before each; newPage returning false
    // fails the job. Unfinished when lines remain for the next call.
    PrintOutcome DrawNext(QPainter& painter, std::size_t count,
                          const std::function<bool()>& newPage,
                          const std::function<bool()>& cancelled);

private:
    QString fontName_;
    std::vector<PrintLine> lines_;
    std::size_t next_ = 0;
    int top_ = 0;
    bool pageUsed_ = false;
};

// The lines PrintTextFile prints for a file in the working folder, with the body bold when the
// setting BoldFont says so. A missing or unreadable file is reported and gives nullopt.
std::optional<std::vector<PrintLine>> TextFilePrintJob(AppState& state, const std::string& fileName,
                                                       int size);

// Prints a text file of the working folder with its name as a heading. Goes to a PDF file that
// the user names when no printer is installed. The job is drawn a few lines at each turn of the
// event loop, so the call returns while it prints and the windows stay live; a second job is
// refused while it runs (the printer is busy). The printing window's Cancel stops it between
// lines and discards it; a job that cannot be printed is reported, never passed over.
// beforePrinting runs once the job's destination is settled, before the first line is drawn;
// afterPrinting once the job has ended, however it ended.
void PrintTextFile(AppState& state, const std::string& fileName, const std::string& fontName,
                   int size, const std::function<void()>& beforePrinting = {},
                   std::function<void()> afterPrinting = {});

// Portrait becomes landscape and landscape portrait, unless a job is printing: then busy is set
// and the user is told.
void TogglePrinterOrientation(AppState& state, bool& busy);

} // namespace kelvor::app
