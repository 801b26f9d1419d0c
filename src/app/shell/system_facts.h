// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace kelvor::app {

struct PrinterResolution {
    int horizontalDpi = 0;
    int verticalDpi = 0;
};

// The screen's size in device pixels (its logical size times the scaling), as the user set the
// display; windows are fitted in logical pixels instead.
struct ScreenFacts {
    int width = 0;
    int height = 0;
    int dotsPerInch = 96;
};

// The facts about this computer that the setup window shows, the ones a user quotes when
// reporting a problem. Behind an interface so that tests do not depend on the machine.
class SystemFacts {
public:
    virtual ~SystemFacts() = default;
    // The logged-on user's name; empty when it cannot be read.
    virtual std::string UserName() const = 0;
    // The running system's name and version; empty when it cannot be read.
    virtual std::string OperatingSystem() const = 0;
    virtual ScreenFacts Screen() const = 0;
    // Free bytes for the user on the file system that holds the folder, in whole megabytes.
    virtual std::optional<uint64_t> FreeMegabytes(const std::filesystem::path& folder) const = 0;
    // The default printer's resolution; nullopt when no printer is installed.
    virtual std::optional<PrinterResolution> DefaultPrinter() const = 0;
};

// This computer: the user database, /etc/os-release and uname, the primary screen, the file
// system and the printing system.
class DesktopSystemFacts : public SystemFacts {
public:
    std::string UserName() const override;
    std::string OperatingSystem() const override;
    ScreenFacts Screen() const override;
    std::optional<uint64_t> FreeMegabytes(const std::filesystem::path& folder) const override;
    std::optional<PrinterResolution> DefaultPrinter() const override;
};

// The distribution's PRETTY_NAME from os-release text (NAME when it has none), then the
// kernel's name and release: "Debian GNU/Linux 12 (bookworm) / Linux 6.1.0-18-amd64".
std::string OperatingSystemText(const std::string& osRelease, const std::string& kernelName,
                                const std::string& kernelRelease);

} // namespace kelvor::app
