#include "dialogs/dialog_fields.h"

#include "core/ccore.h"
#include "core/gbk_codec.h"
#include "core/leading_int.h"

#include <QLineEdit>

namespace dialogs {

void focusField(QLineEdit* edit) {
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
}

std::optional<std::string> gbkFieldText(QWidget* owner, QLineEdit* edit, const QString& fieldName,
                                        std::size_t maxBytes) {
    std::optional<std::string> bytes = core::GbkCodec::toGbkStrict(edit->text());
    if (!bytes) {
        core::CCore::msgboxWarning(
            owner, QStringLiteral("%1中含有无法保存的字符（如表情符号），请修改！").arg(fieldName));
    } else if (bytes->size() > maxBytes) {
        core::CCore::msgboxWarning(owner,
                                   QStringLiteral("%1不能超过%2个字节（一个汉字占2个字节）！")
                                       .arg(fieldName)
                                       .arg(maxBytes));
        bytes.reset();
    }
    if (!bytes)
        focusField(edit);
    return bytes;
}

bool separatorFree(QWidget* owner, QLineEdit* edit, const QString& fieldName) {
    const QString text = edit->text();
    if (!text.contains(u'`') && !text.contains(u'\r') && !text.contains(u'\n'))
        return true;
    core::CCore::msgboxWarning(owner, QStringLiteral("%1不能包含字符 ` 或换行。").arg(fieldName));
    focusField(edit);
    return false;
}

int fieldNumber(const QLineEdit* edit) {
    return core::parseLeadingInt(edit->text().toStdString());
}

} // namespace dialogs
