#include "drawscreen/font_chooser.h"

#include <QFontDatabase>

namespace drawscreen {

QStringList FontChooser::candidates() {
    return {QStringLiteral("SimHei"), QStringLiteral("Microsoft YaHei"),
            QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
            QStringLiteral("WenQuanYi Zen Hei")};
}

QString FontChooser::cjkSansFamily() {
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : candidates()) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return {};
}

} // namespace drawscreen
