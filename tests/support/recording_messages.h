// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "messages.h"

#include <deque>
#include <string>
#include <vector>

namespace kelvor::testing {

// Captures every message instead of showing a box, and answers questions from a queue.
class RecordingMessages : public MessageSink {
public:
    struct Entry {
        enum Kind { Info, Warning, Error, Question } kind;
        std::string text;
    };

    void ShowInfo(const std::string& message) override {
        entries.push_back({Entry::Info, message});
    }
    void ShowWarning(const std::string& message) override {
        entries.push_back({Entry::Warning, message});
    }
    void ShowError(const std::string& message) override {
        entries.push_back({Entry::Error, message});
    }
    Answer Ask(const std::string& question, QuestionButtons) override {
        entries.push_back({Entry::Question, question});
        if (answers.empty()) {
            return Answer::No;
        }
        Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // The texts of the messages, in order.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Entry& entry : entries) {
            texts.push_back(entry.text);
        }
        return texts;
    }

    std::vector<Entry> entries;
    std::deque<Answer> answers;
};

} // namespace kelvor::testing
