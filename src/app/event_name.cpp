#include "app/event_name.h"

#include <QDir>
#include <QFileInfo>

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
    if (QFileInfo::exists(QDir(parent).filePath(name)))
        return QStringLiteral("已经有一个名为“%1”的活动（%2），请换一个名称。")
            .arg(name, QDir::toNativeSeparators(QDir(parent).filePath(name)));
    return {};
}

} // namespace app
