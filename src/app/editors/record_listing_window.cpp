// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editors/record_listing_window.h"

#include "app/common/qt_text.h"
#include "app/common/screen_checks.h"
#include "app/common/window_fonts.h"
#include "circuit/record_listing.h"
#include "files/delete_file_reported.h"
#include "files/file_io.h"
#include "kelvor_error.h"

#include <QPlainTextEdit>
#include <QShowEvent>

namespace kelvor::app {

TFormChk::TFormChk(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setWindowTitle("   DISPLAY  RECORD  FILE");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(747, 574);
    TextBox = new QPlainTextEdit(this);
    TextBox->setGeometry(0, 0, 747, 574);
    TextBox->setReadOnly(true);
    TextBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    TextBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextBox->setFont(PixelFont("Courier New", 13, true));
    TextBox->setStyleSheet("color: navy; background-color: white;");
}

void TFormChk::showEvent(QShowEvent* event) {
    LoadListing();
    if (!event->spontaneous()) {
        CentreOnScreen(this);
    }
    QDialog::showEvent(event);
}

// The listing goes through CHKFILE.TMP, which is deleted as soon as it has been loaded.
void TFormChk::LoadListing() {
    TextBox->clear();
    const std::filesystem::path listingFile = state_.File(kListingFileName);
    try {
        WriteRecordListing(state_.workingFolder, state_.shell.DatafileName, state_.circuit);
        QString text = ShownText(ReadWholeFile(listingFile));
        text.replace("\r\n", "\n");
        TextBox->setPlainText(text);
    } catch (const KelvorError& error) {
        state_.messages.ShowError(error.what());
    }
    DeleteFileReported(listingFile, "Chk", state_.messages);
}

} // namespace kelvor::app
