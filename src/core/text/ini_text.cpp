// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/ini_text.h"

#include "text/concat.h"
#include "text/text_lines.h"
#include "text/words.h"

namespace kelvor {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

} // namespace

std::vector<IniLine> ReadIniLines(std::string_view text, char comment) {
    if (text.starts_with(kUtf8ByteOrderMark)) {
        text.remove_prefix(kUtf8ByteOrderMark.size());
    }
    std::vector<IniLine> lines;
    std::string section;
    int number = 0;
    for (TextLines reader(text); !reader.AtEnd();) {
        ++number;
        std::string line = TrimSpacesAndControls(reader.Next());
        if (line.empty() || (comment != '\0' && line.front() == comment)) {
            continue;
        }
        const bool startsSection = line.front() == '[';
        if (startsSection) {
            const std::size_t close = line.find(']');
            const std::size_t length = close == std::string::npos ? close : close - 1;
            section = TrimSpacesAndControls(std::string_view(line).substr(1, length));
        }
        lines.push_back({number, section, std::move(line), startsSection});
    }
    return lines;
}

bool SplitIniSetting(std::string_view line, EqualsSign at, std::string& key, std::string& value) {
    const std::size_t equals = at == EqualsSign::First ? line.find('=') : line.rfind('=');
    if (equals == std::string_view::npos) {
        return false;
    }
    key = TrimSpacesAndControls(line.substr(0, equals));
    const std::string_view rest = line.substr(equals + 1);
    value = TrimSpacesAndControls(rest.substr(0, rest.find('\0')));
    return true;
}

void IniWriter::Section(std::string_view name) {
    Line(Concat({"[", name, "]"}));
}

void IniWriter::Setting(std::string_view key, std::string_view value) {
    Line(std::string(key) + separator_ + std::string(value));
}

void IniWriter::Comment(std::string_view text) {
    Line("; " + std::string(text));
}

void IniWriter::Line(std::string_view text) {
    text_ += text;
    text_ += "\r\n";
}

} // namespace kelvor
