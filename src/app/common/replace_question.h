// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "messages.h"

#include <filesystem>

namespace kelvor::app {

// True when nothing stands under the path yet or the user agrees to replace what does.
bool MayReplaceFile(MessageSink& messages, const std::filesystem::path& path);

} // namespace kelvor::app
