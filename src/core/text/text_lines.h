// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

namespace kelvor {

// Lines of a text one at a time, so that files from any platform read alike: CR LF, LF alone
// and CR alone each end one line, and a line end at the very end of the text does not begin
// another line.
class TextLines {
public:
    explicit TextLines(std::string_view text) : text_(text) {}

    bool AtEnd() const { return position_ >= text_.size(); }

    // The next line without its line end; call only before AtEnd.
    std::string_view Next() {
        std::size_t end = text_.find_first_of("\r\n", position_);
        if (end == std::string_view::npos) {
            end = text_.size();
        }
        const std::string_view line = text_.substr(position_, end - position_);
        position_ = end;
        if (position_ < text_.size() && text_[position_] == '\r') {
            ++position_;
            if (position_ < text_.size() && text_[position_] == '\n') {
                ++position_;
            }
        } else if (position_ < text_.size()) {
            ++position_; // LF
        }
        return line;
    }

private:
    std::string_view text_;
    std::size_t position_ = 0;
};

} // namespace kelvor
