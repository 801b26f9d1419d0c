// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return kelvor::cli::RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                               std::cerr);
}
