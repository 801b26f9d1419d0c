#pragma once

#include <QFile>
#include <QString>
#include <filesystem>
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

// A path as the file system spells it: bytes of its own encoding, not 8-bit text.
inline QString PathToQt(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray(path.c_str()));
}

// A message as a box shows it: cut to 255 characters, CR LF pairs as line breaks.
QString BoxText(const std::string& message);

} // namespace kelvor::app
