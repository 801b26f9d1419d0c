// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/words.h"

namespace kelvor {

namespace {

bool IsContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The bytes of the UTF-8 character that starts with `lead`; 0 for a byte that cannot start one.
std::size_t Utf8Length(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead < 0xC2) {
        return 0; // a continuation byte, or the start of an overlong form
    }
    if (lead < 0xE0) {
        return 2;
    }
    if (lead < 0xF0) {
        return 3;
    }
    return lead < 0xF5 ? 4 : 0;
}

// Well-formed UTF-8: each lead byte followed by as many continuation bytes as it announces.
bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8Length(static_cast<unsigned char>(text[i]));
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if (!IsContinuationByte(text[i + k])) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

// Characters are 8-bit: bytes from 128 up are letters of the code page, not control characters.
bool IsSpaceOrControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

} // namespace

std::string NthWord(std::string_view line, int n) {
    int wordNumber = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') {
            ++i;
        }
        if (i == line.size()) {
            break;
        }
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ') {
            ++i;
        }
        if (++wordNumber == n) {
            return std::string(line.substr(start, i - start));
        }
    }
    return {};
}

std::string CentreText(std::string_view text, int width) {
    const auto length = static_cast<long long>(text.size());
    const long long pad = length < width ? (width - length) / 2 : 0;
    std::string result(static_cast<std::size_t>(pad), ' ');
    result += text;
    result.append(static_cast<std::size_t>(pad), ' ');
    if (static_cast<long long>(result.size()) < width) {
        result += ' ';
    }
    return result;
}

bool ReplaceChar(std::string& text, char from, char to) {
    bool replaced = false;
    for (char& c : text) {
        if (c == from) {
            c = to;
            replaced = true;
        }
    }
    return replaced;
}

std::string TrimSpacesAndControls(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsSpaceOrControl(text[begin])) {
        ++begin;
    }
    while (end > begin && IsSpaceOrControl(text[end - 1])) {
        --end;
    }
    return std::string(text.substr(begin, end - begin));
}

std::string TrimSpaces(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) {
        return {};
    }
    const std::size_t end = text.find_last_not_of(' ');
    return std::string(text.substr(begin, end - begin + 1));
}

std::string CutText(std::string_view text, std::size_t capacity) {
    return std::string(text.substr(0, capacity));
}

std::string CutFileName(std::string_view name, std::size_t capacity) {
    if (name.size() <= capacity || !IsUtf8(name)) {
        return CutText(name, capacity);
    }
    std::size_t end = capacity;
    while (end > 0 && IsContinuationByte(name[end])) {
        --end; // back to the first byte of the character that does not fit
    }
    return std::string(name.substr(0, end));
}

std::string RightAlign(std::string_view text, int width) {
    const auto length = static_cast<long long>(text.size());
    std::string result;
    if (length < width) {
        result.assign(static_cast<std::size_t>(width - length), ' ');
    }
    result += text;
    return result;
}

} // namespace kelvor
