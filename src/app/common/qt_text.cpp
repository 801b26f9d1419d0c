// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/qt_text.h"

#include "text/words.h"

namespace kelvor::app {

QString BoxText(const std::string& message) {
    QString text = ToQt(CutText(message, 255));
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text;
}

} // namespace kelvor::app
