#include "app/shell/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace kelvor::app {
namespace {

std::optional<QString> SelectedFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

} // namespace

std::optional<QString> DesktopDialogs::ChooseDatafile(QWidget* owner, const QString& folder,
                                                      const QString& name) {
    QFileDialog dialog(owner, "Open Existing Datafile / To Create New One Type New Name", folder,
                       "Datafiles (*.dat)");
    // A name that does not exist is allowed: it becomes a new Datafile.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix("dat");
    dialog.selectFile(name);
    return SelectedFile(dialog);
}

std::optional<QString> DesktopDialogs::ChooseBitmapFile(QWidget* owner,
                                                        const QString& proposedPath) {
    QFileDialog dialog(owner, QString(), proposedPath, "Graphfiles (*.bmp)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("bmp");
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setSizeGripEnabled(true);
    return SelectedFile(dialog);
}

QColor DesktopDialogs::ChooseColour(QWidget* owner, const QColor& current) {
    const QColor chosen = QColorDialog::getColor(current, owner);
    return chosen.isValid() ? chosen : current;
}

bool DesktopDialogs::PrinterInstalled() {
    return !QPrinterInfo::availablePrinters().isEmpty();
}

bool DesktopDialogs::SetUpPrinter(QPrinter& printer, QWidget* owner) {
    QPrintDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QString> DesktopDialogs::ChoosePdfFile(QWidget* owner, const QString& suggestedFile) {
    QString chosen = QFileDialog::getSaveFileName(owner, "Print to PDF File", suggestedFile,
                                                  "PDF files (*.pdf)");
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    if (QFileInfo(chosen).suffix().isEmpty()) {
        chosen += ".pdf";
    }
    return chosen;
}

void DesktopDialogs::OpenDocument(const std::filesystem::path& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(QByteArray(path.c_str()))));
}

void DesktopDialogs::Beep() {
    QApplication::beep();
}

std::optional<QString> DesktopDialogs::AskProgramName(QWidget* owner, const QString& proposed) {
    bool accepted = false;
    const QString text =
        QInputDialog::getText(owner, "    WINDOWS APPLICATION", "      Type program name :-",
                              QLineEdit::Normal, proposed, &accepted);
    return accepted ? std::optional<QString>(text) : std::nullopt;
}

bool DesktopDialogs::StartProgram(const QString& program, const QStringList& arguments,
                                  const QString& folder) {
    return QProcess::startDetached(program, arguments, folder);
}

bool DesktopDialogs::ProgramInstalled(const QString& program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

} // namespace kelvor::app
