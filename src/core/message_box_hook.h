#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>
#include <vector>

namespace core {

enum class MessageKind { Confirm, Info, Warning };

// While one exists no message box is shown: each box goes to the newest hook, which
// records it and answers in its place. Tests of every layer use it.
class MessageBoxHook {
public:
    struct Message {
        MessageKind kind;
        QString text;
        QMessageBox::StandardButton
            defaultAnswer; // what Space or Return would have chosen in a real Confirm box
    };
    using Answer = std::function<QMessageBox::StandardButton(MessageKind, const QString&)>;

    // Without an answer every confirmation is answered Yes.
    explicit MessageBoxHook(Answer answer = {});
    ~MessageBoxHook();
    MessageBoxHook(const MessageBoxHook&) = delete;
    MessageBoxHook& operator=(const MessageBoxHook&) = delete;

    const std::vector<Message>& messages() const { return messages_; }
    QStringList texts() const;

    // The installed hook, or nullptr.
    static MessageBoxHook* current();
    QMessageBox::StandardButton handle(MessageKind kind, const QString& text,
                                       QMessageBox::StandardButton defaultAnswer);

private:
    Answer answer_;
    std::vector<Message> messages_;
    MessageBoxHook* previous_;
};

} // namespace core
