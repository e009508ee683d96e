#include "core/message_box.h"

#include <QMessageBox>
#include <QPushButton>

namespace core {

QMessageBox::StandardButton showMessageBox(MessageKind kind, QWidget* owner, const QString& text,
                                           QMessageBox::StandardButton defaultAnswer) {
    if (MessageBoxHook* hook = MessageBoxHook::current())
        return hook->handle(kind, text, defaultAnswer);

    QMessageBox box(owner);
    box.setText(text);
    // Without an owner nothing keeps the box above a full-screen window.
    if (!owner)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (kind == MessageKind::Confirm) {
        box.setIcon(QMessageBox::Question);
        box.setWindowTitle(QStringLiteral("请确认"));
        QPushButton* yes = box.addButton(QStringLiteral("是"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("否"), QMessageBox::NoRole);
        box.setDefaultButton(defaultAnswer == QMessageBox::Yes ? yes : no);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? QMessageBox::Yes : QMessageBox::No;
    }
    const bool warning = kind == MessageKind::Warning;
    box.setIcon(warning ? QMessageBox::Warning : QMessageBox::Information);
    box.setWindowTitle(warning ? QStringLiteral("警告") : QStringLiteral("提示"));
    QPushButton* ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return QMessageBox::Yes;
}

} // namespace core
