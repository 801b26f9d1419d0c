// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/support/app_test_main.h"

#include <cstdio>
#include <map>
#include <string>

namespace kelvor::testing {
namespace {

std::map<std::string, AppTestRun, std::less<>>& Registry() {
    static std::map<std::string, AppTestRun, std::less<>> registry;
    return registry;
}

} // namespace

bool RegisterAppTest(std::string_view sourceFile, AppTestRun run) {
    std::string_view name = sourceFile.substr(sourceFile.find_last_of('/') + 1);
    name = name.substr(0, name.rfind(".cpp"));
    Registry().emplace(name, run);
    return true;
}

} // namespace kelvor::testing

int main(int argc, char** argv) {
    const auto& registry = kelvor::testing::Registry();
    const auto found = argc > 1 ? registry.find(std::string_view(argv[1])) : registry.end();
    if (found == registry.end()) {
        std::fprintf(stderr, "Usage: %s TEST_FILE [Qt Test options]\nTest files:\n", argv[0]);
        for (const auto& [name, run] : registry) {
            std::fprintf(stderr, "  %s\n", name.c_str());
        }
        return 2;
    }
    // The test sees its own name where the program's stood, and its options after it.
    argv[1] = argv[0];
    return found->second(argc - 1, argv + 1);
}
