// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell/file_date_stamp.h"

#include "app/common/file_paths.h"
#include "app/common/qt_text.h"
#include "messages.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace kelvor::app {

QDateTime FileDateStamp() {
    return QDateTime(QDate(2009, 9, 9), QTime(5, 5, 5), Qt::LocalTime);
}

QString LocaleDateTimeText(const QDateTime& moment) {
    const QLocale locale;
    // The long time form ends in the time zone's name, which says nothing about a file here.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove('t');
    return locale.toString(moment.date(), QLocale::ShortFormat) + " " +
           locale.toString(moment.time(), timeFormat.trimmed());
}

void StampFileDate(const QString& path, MessageSink& messages) {
    QFile file(path);
    // Read and write: opening for writing alone would truncate the file.
    if (!file.open(QIODevice::ReadWrite)) {
        messages.ShowWarning("\r\n   Cannot open " +
                             PathFromQt(QFileInfo(path).fileName()).string() + "  :  " +
                             MessageText(file.errorString()) + "   ");
        return;
    }
    messages.ShowInfo(MessageText(LocaleDateTimeText(QFileInfo(file).lastModified())));
    if (!file.setFileTime(FileDateStamp(), QFileDevice::FileModificationTime)) {
        messages.ShowInfo("FileSetDate Error in ");
    }
    file.close();
}

} // namespace kelvor::app
