// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/replace_question.h"

namespace kelvor::app {

bool MayReplaceFile(MessageSink& messages, const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return true;
    }
    return messages.Ask("\r\n   " + path.filename().string() +
                            " already exists.   \r\n\r\n   Replace it?   ",
                        QuestionButtons::YesNo) == Answer::Yes;
}

} // namespace kelvor::app
