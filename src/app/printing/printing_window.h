// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

class QLabel;
class QPushButton;

namespace kelvor::app {

struct AppState;

// Tells the user which job is printing while it prints, and lets them cancel it. Shown without
// waiting; the job in progress polls CancelRequested between lines and pages.
class TFormPrinting : public QDialog {
    Q_OBJECT

public:
    explicit TFormPrinting(AppState& state, QWidget* parent = nullptr);

    // Set from the moment Cancel is clicked until the window is next shown.
    bool CancelRequested() const { return cancelRequested_; }

    // The job goes to a PDF file because no printer is installed: the label names that file.
    void ShowPdfFile(const QString& pdfFileName);

    // The label's text as the next paint sets it.
    QString PrintingText() const;

    QLabel* LabelPrinting = nullptr;
    QPushButton* ButtonCancel = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormPaint();
    void ButtonCancelClick();

    AppState& state_;
    bool cancelRequested_ = false;
    QString pdfFileName_;
};

// True when the user has cancelled the job that the printing window is showing.
bool PrintCancelRequested(AppState& state);

// The printing window, shown for the length of one job and closed however the job ends. A job
// that outlives the window (the program ends while it prints, and the main window takes its
// children with it) leaves it be.
class PrintingWindowShown {
public:
    explicit PrintingWindowShown(AppState& state);
    ~PrintingWindowShown();
    PrintingWindowShown(const PrintingWindowShown&) = delete;
    PrintingWindowShown& operator=(const PrintingWindowShown&) = delete;

    TFormPrinting& window() { return *window_; }

private:
    QPointer<TFormPrinting> window_;
};

} // namespace kelvor::app
