#include "drawscreen/font_chooser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>

namespace drawscreen {

namespace {

QString firstInstalled() {
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : FontChooser::candidates()) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return {};
}

// The faces in the fonts folder beside the program, which the Windows packages carry for a
// system without a Chinese face.
void addBundledFaces() {
    const QDir folder(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"));
    for (const QString& name : folder.entryList(
             {QStringLiteral("*.ttf"), QStringLiteral("*.ttc"), QStringLiteral("*.otf")},
             QDir::Files))
        QFontDatabase::addApplicationFont(folder.filePath(name));
}

} // namespace

QStringList FontChooser::candidates() {
    // Windows may list its faces under their Chinese names.
    return {QStringLiteral("SimHei"),
            QStringLiteral("黑体"),
            QStringLiteral("Microsoft YaHei"),
            QStringLiteral("微软雅黑"),
            QStringLiteral("Noto Sans CJK SC"),
            QStringLiteral("Source Han Sans SC"),
            QStringLiteral("WenQuanYi Zen Hei"),
            QStringLiteral("WenQuanYi Micro Hei")};
}

QString FontChooser::cjkSansFamily() {
    const QString family = firstInstalled();
    if (!family.isEmpty())
        return family;
    static const bool added = (addBundledFaces(), true);
    return added ? firstInstalled() : QString();
}

} // namespace drawscreen
