// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <filesystem>

namespace kelvor::app {

// Paths and file names cross between Qt and the core only here: as bytes in the file system's
// own encoding, so that a name like "café" reaches the disk as the same bytes the file system
// lists, never as Latin-1 text.
std::filesystem::path PathFromQt(const QString& path);
QString PathToQt(const std::filesystem::path& path);

} // namespace kelvor::app
