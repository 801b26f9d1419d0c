#include "cli/picture_output.h"

#include "cli/cli_support.h"
#include "kelvor_error.h"

#include <QSaveFile>
#include <QString>
#include <algorithm>
#include <cctype>
#include <filesystem>

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
    QSaveFile file(QString::fromLocal8Bit(path.c_str()));
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, format) || !file.commit()) {
        throw KelvorError("cannot write " + path);
    }
}

} // namespace kelvor::cli
