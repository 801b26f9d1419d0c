// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <limits>
#include <string>
#include <string_view>

namespace kelvor::app {

// The core's texts are 8-bit: bytes map to the first 256 code points, as the Datafiles were
// written on an 8-bit system. Text that goes back into the core (a box's contents) crosses here,
// byte for byte.
inline QString ToQt(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQt(const QString& text) {
    return text.toLatin1().toStdString();
}

// A text that is only read (a message, a caption, a status line), at most `capacity` characters
// and never cut inside one. A path in it is the file system's bytes, UTF-8, while a Datafile's
// texts are 8-bit: text that is valid UTF-8 reads as UTF-8, any other byte by byte.
QString ShownText(std::string_view text,
                  qsizetype capacity = std::numeric_limits<qsizetype>::max());

// Qt's own text (a system error, a printer's name) put into a message: UTF-8, as ShownText reads
// it back.
inline std::string MessageText(const QString& text) {
    return text.toStdString();
}

// A message as a box shows it: cut to 255 characters, CR LF pairs as line breaks.
QString BoxText(const std::string& message);

} // namespace kelvor::app
