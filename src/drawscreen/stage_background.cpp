#include "drawscreen/stage_background.h"

#include "drawscreen/stage_theme.h"

namespace drawscreen {

QImage StageBackground::cover(const QImage& picture, QSize screen) {
    if (picture.isNull() || screen.isEmpty())
        return {};
    const QImage scaled =
        picture.scaled(screen, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    return scaled
        .copy((scaled.width() - screen.width()) / 2, (scaled.height() - screen.height()) / 2,
              screen.width(), screen.height())
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage StageBackground::forScreen(const QString& pictureFile, lottery::StageTheme theme,
                                  QSize screen) {
    const QImage own = cover(QImage(pictureFile), screen);
    if (!own.isNull())
        return own;
    return StageTheme::of(theme).generatedBackground(screen, theme);
}

} // namespace drawscreen
