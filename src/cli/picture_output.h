// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <string>

namespace kelvor::cli {

// The image format of an output file's extension, "BMP" or "PNG"; a UsageError for others.
const char* PictureFormat(const std::string& path);

// Writes through the atomic writer, so that a failed save never leaves half a picture behind.
// Throws KelvorError naming the file and the reason when it cannot be written.
void SavePicture(const QImage& picture, const std::string& path, const char* format);

} // namespace kelvor::cli
