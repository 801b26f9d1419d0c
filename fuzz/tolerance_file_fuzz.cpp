// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/tolerance_file.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any bytes must read as tolerance settings, and what is written from them must read back as the
// very same settings, with nothing left unread.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kelvor::ToleranceSettings settings =
        kelvor::ParseToleranceFileText(bytes, "fuzz.tol").settings;
    const std::string written = kelvor::ToleranceFileText(settings, "FUZZ.DAT");
    const kelvor::ToleranceFileReading reread = kelvor::ParseToleranceFileText(written, "fuzz.tol");
    if (!reread.problem.empty() || !(reread.settings == settings)) {
        std::abort();
    }
    return 0;
}
