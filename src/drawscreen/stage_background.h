#pragma once

#include "lottery/stage_options.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace drawscreen {

// What lies under the 大屏 screen: the event's own picture scaled to cover the screen, cropped
// with its aspect kept, or the theme's generated one when the event has none.
class StageBackground {
public:
    static QImage cover(const QImage& picture, QSize screen);
    static QImage forScreen(const QString& pictureFile, lottery::StageTheme theme, QSize screen);
};

} // namespace drawscreen
