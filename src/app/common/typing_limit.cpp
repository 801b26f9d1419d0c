// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/typing_limit.h"

#include <QLineEdit>
#include <QObject>

namespace kelvor::app {
namespace {

// The text before the latest change, so that an edit that goes too far can be taken back.
class TypingLimit : public QObject {
public:
    TypingLimit(QLineEdit* box, int limit) : QObject(box), box_(box), limit_(limit) {
        box->setMaxLength(32767);
        previous_ = box->text();
        // The user's edits come first, then every change of the text, the program's too.
        QObject::connect(box, &QLineEdit::textEdited, this, [this] { CheckEdit(); });
        QObject::connect(box, &QLineEdit::textChanged, this, [this] { previous_ = box_->text(); });
    }

private:
    void CheckEdit() {
        const QString text = box_->text();
        if (text.size() <= limit_ || text.size() <= previous_.size()) {
            return;
        }
        const int cursor =
            box_->cursorPosition() - static_cast<int>(text.size() - previous_.size());
        box_->setText(previous_);
        box_->setCursorPosition(std::max(0, cursor));
    }

    QLineEdit* box_;
    int limit_;
    QString previous_;
};

} // namespace

void LimitTyping(QLineEdit* box, int limit) {
    new TypingLimit(box, limit);
}

} // namespace kelvor::app
