// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/bitmap_file.h"

#include "files/file_io.h"
#include "kelvor_error.h"

#include <QBuffer>
#include <QByteArray>
#include <string_view>

namespace kelvor::app {

void WriteBitmapFile(const QImage& picture, const std::filesystem::path& path) {
    QByteArray bitmap;
    QBuffer buffer(&bitmap);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "BMP")) {
        throw KelvorError("Cannot save " + path.filename().string());
    }
    WriteFileAtomically(
        path, std::string_view(bitmap.constData(), static_cast<std::size_t>(bitmap.size())));
}

} // namespace kelvor::app
