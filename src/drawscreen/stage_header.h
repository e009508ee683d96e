#pragma once

#include "drawscreen/stage_theme.h"

#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

namespace drawscreen {

// The band across the top of the 大屏 screen: the prize's picture, its title, and a line with
// the round and what remains.
struct StageHeaderText {
    QString title;
    QString detail;
};

class StageHeader {
public:
    // A null picture is left out; a long title shrinks to the band's width.
    static void paint(QPainter& painter, const QRect& band, const StageTheme& theme,
                      const QString& family, const StageHeaderText& text, const QImage& picture);
};

} // namespace drawscreen
