#include "drawscreen/text_outline.h"

#include <QPainter>
#include <QRawFont>

#include <cmath>

namespace drawscreen {

QFont TextOutline::font(const QString& family, int pixelSize) {
    QFont font(family);
    font.setPixelSize(pixelSize > 0 ? pixelSize : 1);
    font.setStyle(QFont::StyleNormal);
    font.setWeight(QFont::Normal);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QPainterPath TextOutline::outline(const QString& family, int pixelSize, const QString& text,
                                  QPointF topLeft) {
    // Many CJK faces draw a character from overlapping contours; an odd-even fill would
    // cut holes where they cross.
    QPainterPath path;
    if (family.isEmpty() || text.isEmpty() || pixelSize <= 0)
        return path;
    const QFont f = font(family, pixelSize);
    const qreal ascent = QRawFont::fromFont(f).ascent();
    path.addText(topLeft + QPointF(0, ascent), f, text);
    path.setFillRule(Qt::WindingFill);
    return path;
}

QSize TextOutline::measureText(const QString& family, int pixelSize, const QString& text) {
    const QRectF bounds = outline(family, pixelSize, text, {}).boundingRect();
    return {static_cast<int>(std::lround(bounds.width())),
            static_cast<int>(std::lround(bounds.height()))};
}

void TextOutline::drawOutlinedText(QPainter& painter, int x, int y, int dx, const QString& text,
                                   const QString& family, QRgb colour, int pixelSize, int passes) {
    const QPainterPath path = outline(family, pixelSize, text, QPointF(x + dx, y));
    if (path.isEmpty())
        return;
    QPen pen(QColor::fromRgba(kShadeColour));
    pen.setJoinStyle(Qt::RoundJoin);
    for (int width = 1; width < passes; ++width) {
        pen.setWidth(width);
        painter.strokePath(path, pen);
    }
    painter.fillPath(path, QColor::fromRgba(colour));
}

} // namespace drawscreen
