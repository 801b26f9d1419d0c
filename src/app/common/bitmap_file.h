// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <filesystem>

namespace kelvor::app {

// Writes the picture as a Windows bitmap file, whole or not at all, like every file of the
// program. A picture that cannot be encoded or a file that cannot be written raises a
// KelvorError that says why.
void WriteBitmapFile(const QImage& picture, const std::filesystem::path& path);

} // namespace kelvor::app
