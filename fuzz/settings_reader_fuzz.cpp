// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_file.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any bytes must read as settings, and what is written must read back as the same settings.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kelvor::Settings settings = kelvor::ParseSettingsText(bytes);
    const std::string written = kelvor::SettingsText(settings, "7 Dec 2026");
    if (kelvor::SettingsText(kelvor::ParseSettingsText(written), "7 Dec 2026") != written) {
        std::abort();
    }
    return 0;
}
