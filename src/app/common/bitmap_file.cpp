#include "app/common/bitmap_file.h"

#include "app/common/qt_text.h"

#include <QSaveFile>

namespace kelvor::app {

bool SaveBitmapFile(const QImage& picture, const std::filesystem::path& path) {
    QSaveFile file(PathToQt(path));
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (!picture.save(&file, "BMP")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace kelvor::app
