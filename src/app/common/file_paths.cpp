// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/file_paths.h"

#include <QFile>

namespace kelvor::app {

std::filesystem::path PathFromQt(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString PathToQt(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

} // namespace kelvor::app
