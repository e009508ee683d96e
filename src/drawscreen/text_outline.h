#pragma once

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPointF>
#include <QSize>
#include <QString>

class QPainter;

namespace drawscreen {

// Text as glyph outlines. A layout point is the top-left of the text's line (the baseline
// lies one font ascent below it); an empty family yields empty outlines.
class TextOutline {
public:
    // Regular style at em size pixelSize, unhinted, without kerning.
    static QFont font(const QString& family, int pixelSize);
    static QPainterPath outline(const QString& family, int pixelSize, const QString& text,
                                QPointF topLeft);
    // Whole-pixel size of the outline bounds, not of the font's line metrics.
    static QSize measureText(const QString& family, int pixelSize, const QString& text);
    // Strokes of widths 1 .. passes-1 in the translucent dark colour, then the fill.
    static void drawOutlinedText(QPainter& painter, int x, int y, int dx, const QString& text,
                                 const QString& family, QRgb colour, int pixelSize, int passes);

    static constexpr QRgb kShadeColour = 0x3E000202;
};

} // namespace drawscreen
