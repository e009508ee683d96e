#include "app/event_name.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace app {

QString eventNameProblem(const QString& name, const QString& parent) {
    if (name.trimmed().isEmpty())
        return QStringLiteral("请输入活动名称。");
    // The characters Windows refuses, so that the event can be copied there too.
    const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (const QChar c : name)
        if (forbidden.contains(c) || c.unicode() < 0x20)
            return QStringLiteral("活动名称不能包含以下字符：/ \\ : * ? \" < > |");
    if (name.contains(QStringLiteral("..")) || name.trimmed() == QStringLiteral("."))
        return QStringLiteral("活动名称不能包含“..”。");
    if (name != name.trimmed())
        return QStringLiteral("活动名称的开头和结尾不能是空格。");
    // Windows drops a final dot and keeps device names for itself: the folder would not be the
    // one named, or could not be made.
    if (name.endsWith(QLatin1Char('.')))
        return QStringLiteral("活动名称的结尾不能是“.”。");
    static const QRegularExpression device(
        QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    if (device.match(name).hasMatch())
        return QStringLiteral("“%1”是 Windows 保留的名称，请换一个名称。").arg(name);
    // Folder names are limited to 255 bytes; a name this long also stays readable in lists.
    if (name.size() > kMaxEventNameLength)
        return QStringLiteral("活动名称太长，最多 %1 个字。").arg(kMaxEventNameLength);
    if (QFileInfo::exists(QDir(parent).filePath(name)))
        return QStringLiteral("已经有一个名为“%1”的活动（%2），请换一个名称。")
            .arg(name, QDir::toNativeSeparators(QDir(parent).filePath(name)));
    return {};
}

} // namespace app
