#include "core/message_box_hook.h"

#include <QStringList>

namespace core {

namespace {
MessageBoxHook* installed = nullptr;
} // namespace

MessageBoxHook::MessageBoxHook(Answer answer) : answer_(std::move(answer)), previous_(installed) {
    installed = this;
}

MessageBoxHook::~MessageBoxHook() {
    installed = previous_;
}

MessageBoxHook* MessageBoxHook::current() {
    return installed;
}

QStringList MessageBoxHook::texts() const {
    QStringList result;
    for (const Message& m : messages_)
        result << m.text;
    return result;
}

QMessageBox::StandardButton MessageBoxHook::handle(MessageKind kind, const QString& text,
                                                   QMessageBox::StandardButton defaultAnswer) {
    messages_.push_back({kind, text, defaultAnswer});
    if (answer_)
        return answer_(kind, text);
    return QMessageBox::Yes;
}

} // namespace core
