// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

namespace kelvor::app {

// The core's texts are 8-bit: bytes map to the first 256 code points, as the Datafiles were
// written on an 8-bit system.
inline QString ToQt(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQt(const QString& text) {
    return text.toLatin1().toStdString();
}

// A message as a box shows it: cut to 255 characters, CR LF pairs as line breaks.
QString BoxText(const std::string& message);

} // namespace kelvor::app
