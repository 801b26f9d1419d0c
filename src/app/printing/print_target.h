#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class QPrinter;
class QWidget;

namespace kelvor::app {

// Asks where a PDF job goes; nullopt when the user cancels. suggestedFile is a full path.
using PdfFileChooser =
    std::function<std::optional<QString>(QWidget* owner, const QString& suggestedFile)>;

// The resolution of a job that goes to a PDF file.
inline constexpr int kPdfDotsPerInch = 600;

struct PrintTarget {
    bool toPdf = false;
    QString pdfFile; // the full path when toPdf
};

// Points the printer at the installed default printer or, when none is installed, at a PDF file
// that the user names (suggested: the job's name with ".pdf", in the folder). nullopt when the
// user cancelled that choice; the caller then drops the job quietly.
std::optional<PrintTarget> ChoosePrintTarget(QPrinter& printer, QWidget* owner,
                                             const std::filesystem::path& folder,
                                             const std::string& jobName);

// Answers the PDF file question instead of the save dialog and sends every job to PDF even where
// a printer is installed, so that tests neither block on a dialog nor print on paper. An empty
// chooser restores the dialog.
void SetPdfFileChooserForTests(PdfFileChooser chooser);

} // namespace kelvor::app
