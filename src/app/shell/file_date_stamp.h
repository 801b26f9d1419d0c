// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

namespace kelvor {
class MessageSink;
}

namespace kelvor::app {

// The date "Set File Date" stamps on its file: 9 Sep 2009, 05:05:05 local time.
QDateTime FileDateStamp();

// A date and time as this locale writes them, seconds included.
QString LocaleDateTimeText(const QDateTime& moment);

// Opens the file for writing without truncating it (it is created when missing), shows its
// last-modified date and time, and sets that to FileDateStamp(). A file that cannot be opened,
// or whose date cannot be set, is reported; its contents are never touched.
void StampFileDate(const QString& path, MessageSink& messages);

} // namespace kelvor::app
