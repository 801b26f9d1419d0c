// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "messages.h"

class QWidget;

namespace kelvor::app {

// The real message boxes: information without sound, a warning after one beep, an error after
// beep, a 500 ms pause and another beep. Texts are cut to 255 characters.
class MessageBoxes : public MessageSink {
public:
    void ShowInfo(const std::string& message) override;
    void ShowWarning(const std::string& message) override;
    void ShowError(const std::string& message) override;
    Answer Ask(const std::string& question, QuestionButtons buttons) override;
};

} // namespace kelvor::app
