// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "messages.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace kelvor {

// Keeps every message text, so a fuzz target can check what the user would read.
class CollectedMessages : public MessageSink {
public:
    void ShowInfo(const std::string& message) override { texts += message; }
    void ShowWarning(const std::string& message) override { texts += message; }
    void ShowError(const std::string& message) override { texts += message; }
    Answer Ask(const std::string& question, QuestionButtons) override {
        texts += question;
        return Answer::No;
    }
    std::string texts;
};

// A NaN or an infinity must never reach a text the user reads.
inline void RequireNoNonNumber(const std::string& text) {
    for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
        const std::string_view three(text.data() + i, 3);
        if (three == "nan" || three == "NaN" || three == "NAN" || three == "inf" ||
            three == "Inf" || three == "INF") {
            std::abort();
        }
    }
}

} // namespace kelvor
