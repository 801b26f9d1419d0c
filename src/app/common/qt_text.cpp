// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/qt_text.h"

#include <QStringDecoder>

namespace kelvor::app {

QString ShownText(std::string_view text, qsizetype capacity) {
    const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
    // Stateless: a sequence cut short at the end is an error too, not left for a next call.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    QString shown = utf8(bytes);
    if (utf8.hasError()) {
        shown = QString::fromLatin1(bytes);
    }
    if (shown.size() > capacity) {
        // A character beyond the first 65536 takes two places: keep both or neither.
        const bool splitsPair = capacity > 0 && shown[capacity - 1].isHighSurrogate();
        shown.truncate(splitsPair ? capacity - 1 : capacity);
    }
    return shown;
}

QString BoxText(const std::string& message) {
    QString text = ShownText(message, 255);
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text;
}

} // namespace kelvor::app
