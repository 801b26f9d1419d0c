// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <optional>
#include <string>

namespace kelvor::cli {

// Where a drawing command writes its picture, and in which image format: "BMP" or "PNG".
struct PictureOutput {
    std::string path;
    const char* format;
};

// The picture file of --out, which the drawing commands need: a UsageError when it is missing
// or its extension is neither .bmp nor .png.
PictureOutput PictureOutputFromArgument(const std::optional<std::string>& out);

// Writes through the atomic writer, so that a failed save never leaves half a picture behind.
// Throws KelvorError naming the file and the reason when it cannot be written.
void SavePicture(const QImage& picture, const PictureOutput& output);

} // namespace kelvor::cli
