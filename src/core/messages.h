// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kelvor {

enum class Answer { Yes, No, Cancel };
// OkCancel answers Yes for OK.
enum class QuestionButtons { YesNo, YesNoCancel, OkCancel };

// Every message and question of the program goes through this interface, so that the core and
// the tests never block on a modal box. The application implements it with real boxes.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Information box, no sound.
    virtual void ShowInfo(const std::string& message) = 0;
    // One beep, then a warning box.
    virtual void ShowWarning(const std::string& message) = 0;
    // Beep, 500 ms pause, beep, then an error box.
    virtual void ShowError(const std::string& message) = 0;
    virtual Answer Ask(const std::string& question, QuestionButtons buttons) = 0;
};

// For computations whose messages have been shown already, or that nobody is there to read.
class QuietMessages : public MessageSink {
public:
    void ShowInfo(const std::string&) override {}
    void ShowWarning(const std::string&) override {}
    void ShowError(const std::string&) override {}
    Answer Ask(const std::string&, QuestionButtons) override { return Answer::No; }
};

} // namespace kelvor
