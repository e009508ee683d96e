#include "drawscreen/name_path.h"

#include "drawscreen/text_outline.h"

#include <QPainter>
#include <QRawFont>

namespace drawscreen {

int NamePath::columnTop(int canvasHeight, int lineHeight, int count) {
    return (canvasHeight - lineHeight * count) / 2 - lineHeight / 2;
}

QPainterPath NamePath::build(const QStringList& names, const QString& family, int fontSize,
                             int lineHeight, int canvasHeight) {
    QPainterPath path;
    if (family.isEmpty() || fontSize <= 0)
        return path;
    const QFont font = TextOutline::font(family, fontSize);
    const qreal ascent = QRawFont::fromFont(font).ascent();
    const int count = static_cast<int>(names.size());
    const int top = columnTop(canvasHeight, lineHeight, count);
    for (int i = 0; i < count; ++i)
        path.addText(QPointF(0, top + i * lineHeight + ascent), font, names[i]);
    path.setFillRule(Qt::WindingFill); // see TextOutline::outline
    return path;
}

void NamePath::paint(QPainter& painter, const QPainterPath& path) {
    QPen pen(QColor::fromRgba(TextOutline::kShadeColour));
    pen.setWidth(kPenWidth);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.strokePath(path, pen);
    painter.fillPath(path, QColor::fromRgba(kFill));
}

} // namespace drawscreen
