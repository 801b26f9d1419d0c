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

PictureOutput PictureOutputFromArgument(const std::optional<std::string>& out) {
    if (!out) {
        throw UsageError{"--out FILE.bmp or --out FILE.png is needed"};
    }
    std::string extension = std::filesystem::path(*out).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".bmp") {
        return {*out, "BMP"};
    }
    if (extension == ".png") {
        return {*out, "PNG"};
    }
    throw UsageError{"--out must name a .bmp or .png file"};
}

void SavePicture(const QImage& picture, const PictureOutput& output) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, output.format)) {
        throw KelvorError("Cannot write file " + output.path +
                          " : the picture cannot be encoded as " + output.format);
    }
    WriteFileAtomically(output.path,
                        std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

} // namespace kelvor::cli
