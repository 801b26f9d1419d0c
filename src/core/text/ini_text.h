// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvor {

// The INI texts the program keeps (KELVOR.INI, NAME.tol): "[Section]" lines, "KEY = VALUE"
// lines and, in the .tol file, comment lines after ';'.

// One line of an INI text that holds something: trimmed of spaces and control characters at
// both ends, with the section it stands in ("" before the first section line).
struct IniLine {
    int number = 0; // counting from 1
    std::string section;
    std::string text;
    // "[Name]" (the closing bracket may be missing): the line starts a section of that name.
    bool startsSection = false;
};

// Every line that holds something, in order; blank lines and, when `comment` is not NUL, lines
// that start with it are left out. A UTF-8 byte-order mark before the first line is skipped, as
// editors that save UTF-8 may write one. CR LF, LF and CR end lines alike.
std::vector<IniLine> ReadIniLines(std::string_view text, char comment);

enum class EqualsSign { First, Last };
// KEY and VALUE of "KEY = VALUE", split at the first or the last "=" and trimmed of spaces and
// control characters; a value ends at a NUL, as it does for the system's own profile reader.
// False when the line has no "=".
bool SplitIniSetting(std::string_view line, EqualsSign at, std::string& key, std::string& value);

// An INI text written line by line, in the order the calls come, each line ended by CR LF.
class IniWriter {
public:
    // Between KEY and VALUE: "=" in KELVOR.INI, " = " in the .tol file.
    explicit IniWriter(std::string_view separator) : separator_(separator) {}

    void Section(std::string_view name);
    void Setting(std::string_view key, std::string_view value);
    void Comment(std::string_view text);
    void Line(std::string_view text); // as it stands; empty for a blank line

    const std::string& Text() const { return text_; }

private:
    std::string separator_;
    std::string text_;
};

} // namespace kelvor
