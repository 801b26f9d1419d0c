// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell/system_facts.h"

#include "app/common/screen_checks.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <sys/utsname.h>
#include <system_error>
#include <unistd.h>

namespace kelvor::app {
namespace {

constexpr uint64_t kBytesPerMegabyte = 1048576;

// The value of `key` in os-release text, its quotes removed; empty when absent.
std::string OsReleaseValue(const std::string& text, const std::string& key) {
    std::istringstream lines(text);
    std::string line;
    const std::string prefix = key + "=";
    while (std::getline(lines, line)) {
        if (line.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        std::string value = line.substr(prefix.size());
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        return value;
    }
    return {};
}

std::string ReadWholeFile(const char* path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

std::string OperatingSystemText(const std::string& osRelease, const std::string& kernelName,
                                const std::string& kernelRelease) {
    std::string distribution = OsReleaseValue(osRelease, "PRETTY_NAME");
    if (distribution.empty()) {
        distribution = OsReleaseValue(osRelease, "NAME");
    }
    std::string kernel = kernelName;
    if (!kernelRelease.empty()) {
        kernel += (kernel.empty() ? "" : " ") + kernelRelease;
    }
    if (distribution.empty() || kernel.empty()) {
        return distribution + kernel;
    }
    return distribution + " / " + kernel;
}

std::string DesktopSystemFacts::UserName() const {
    const passwd* user = getpwuid(getuid());
    return user != nullptr && user->pw_name != nullptr ? user->pw_name : "";
}

std::string DesktopSystemFacts::OperatingSystem() const {
    std::string osRelease = ReadWholeFile("/etc/os-release");
    if (osRelease.empty()) {
        osRelease = ReadWholeFile("/usr/lib/os-release");
    }
    utsname kernel{};
    if (uname(&kernel) != 0) {
        return OperatingSystemText(osRelease, "", "");
    }
    return OperatingSystemText(osRelease, kernel.sysname, kernel.release);
}

ScreenFacts DesktopSystemFacts::Screen() const {
    const DisplayFacts display = CurrentDisplay(nullptr);
    const auto devicePixels = [&display](int logical) {
        return static_cast<int>(std::lround(logical * display.devicePixelRatio));
    };
    return {devicePixels(display.width), devicePixels(display.height), display.dotsPerInch};
}

std::optional<uint64_t>
DesktopSystemFacts::FreeMegabytes(const std::filesystem::path& folder) const {
    std::error_code error;
    const std::filesystem::space_info space = std::filesystem::space(folder, error);
    if (error) {
        return std::nullopt;
    }
    return static_cast<uint64_t>(space.available) / kBytesPerMegabyte;
}

std::optional<PrinterResolution> DesktopSystemFacts::DefaultPrinter() const {
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) {
        return std::nullopt;
    }
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    return PrinterResolution{printer.logicalDpiX(), printer.logicalDpiY()};
}

} // namespace kelvor::app
