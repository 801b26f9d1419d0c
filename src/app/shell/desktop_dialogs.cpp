// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell/desktop_dialogs.h"

#include "app/bode/step_window.h"
#include "app/common/file_paths.h"
#include "app/interchange/example_chooser_window.h"
#include "app/interchange/spice_nodes_window.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

namespace kelvor::app {
namespace {

std::optional<QString> SelectedFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

// A save dialog that asks nothing before replacing: the command asks its own question.
std::optional<QString> ChooseTarget(QWidget* owner, const FileKind& kind,
                                    const QString& suggestedPath) {
    QFileDialog dialog(owner, kind.caption, suggestedPath, kind.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(kind.suffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setSizeGripEnabled(true);
    return SelectedFile(dialog);
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
    return ChooseTarget(owner, {QString(), "Graphfiles (*.bmp)", "bmp"}, proposedPath);
}

std::optional<QString> DesktopDialogs::ChooseFileToRead(QWidget* owner, const FileKind& kind,
                                                        const QString& folder) {
    QFileDialog dialog(owner, kind.caption, folder, kind.filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    return SelectedFile(dialog);
}

std::optional<QString> DesktopDialogs::ChooseFileToWrite(QWidget* owner, const FileKind& kind,
                                                         const QString& suggestedPath) {
    return ChooseTarget(owner, kind, suggestedPath);
}

std::optional<int> DesktopDialogs::ChooseExample(QWidget* owner,
                                                 const std::vector<ExampleEntry>& examples) {
    TFormExamples window(examples, owner);
    window.exec();
    return window.Chosen();
}

std::optional<SpiceNodeRoles>
DesktopDialogs::ChooseSpiceNodes(QWidget* owner, const std::vector<std::string>& nodes,
                                 const SpiceNodeRoles& proposed) {
    TFormSpiceNodes window(nodes, proposed, owner);
    if (window.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return window.Roles();
}

std::optional<std::pair<QString, QString>> DesktopDialogs::AskFrequencyRange(QWidget* owner,
                                                                             const QString& caption,
                                                                             const QString& start,
                                                                             const QString& end) {
    QDialog window(owner);
    window.setWindowTitle(caption);
    auto* layout = new QFormLayout(&window);
    auto* startBox = new QLineEdit(start, &window);
    auto* endBox = new QLineEdit(end, &window);
    layout->addRow("S&tart (Hz)", startBox);
    layout->addRow("&End (Hz)", endBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &window);
    layout->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    if (window.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return std::make_pair(startBox->text().trimmed(), endBox->text().trimmed());
}

std::optional<StepRequest> DesktopDialogs::ChooseStep(QWidget* owner,
                                                      const std::vector<SteppableLine>& lines) {
    TFormStep window(lines, owner);
    if (window.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return window.Request();
}

void DesktopDialogs::ShowLongText(QWidget* owner, const QString& title, const QString& text) {
    QDialog window(owner);
    window.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&window);
    auto* view = new QPlainTextEdit(text, &window);
    view->setReadOnly(true);
    view->setMinimumSize(640, 300);
    layout->addWidget(view);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &window);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    layout->addWidget(buttons);
    window.exec();
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
    QDesktopServices::openUrl(QUrl::fromLocalFile(PathToQt(path)));
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
