// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/picture_output.h"

#include "cli/cli_support.h"
#include "files/file_io.h"
#include "kelvor_error.h"

#include <QBuffer>
#include <QByteArray>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>

namespace kelvor::cli {

const char* PictureFormat(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".bmp") {
        return "BMP";
    }
    if (extension == ".png") {
        return "PNG";
    }
    throw UsageError{"--out must name a .bmp or .png file"};
}

void SavePicture(const QImage& picture, const std::string& path, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, format)) {
        throw KelvorError("Cannot write file " + path + " : the picture cannot be encoded as " +
                          format);
    }
    WriteFileAtomically(path, std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

} // namespace kelvor::cli
