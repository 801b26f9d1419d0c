#pragma once

#include <QImage>
#include <filesystem>

namespace kelvor::app {

// Saves the picture as a Windows bitmap file through a temporary file, so that a failed save
// never leaves half a bitmap behind; false when it fails.
bool SaveBitmapFile(const QImage& picture, const std::filesystem::path& path);

} // namespace kelvor::app
