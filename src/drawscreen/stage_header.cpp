#include "drawscreen/stage_header.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace drawscreen {

namespace {

QFont sized(const QString& family, QFont::Weight weight, double pixels) {
    QFont font(family);
    font.setPixelSize(std::max(1, static_cast<int>(pixels)));
    font.setWeight(weight);
    return font;
}

// Shrinks the font until text fits width.
QFont fitted(QFont font, const QString& text, double width) {
    const double advance = QFontMetricsF(font).horizontalAdvance(text);
    if (advance > width && advance > 0)
        font.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * width / advance)));
    return font;
}

} // namespace

void StageHeader::paint(QPainter& painter, const QRect& band, const StageTheme& theme,
                        const QString& family, const StageHeaderText& text, const QImage& picture) {
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                           QPainter::TextAntialiasing);
    QLinearGradient shade(band.topLeft(), band.bottomLeft());
    shade.setColorAt(0, QColor::fromRgba(theme.headerPanel));
    QColor fade = QColor::fromRgba(theme.headerPanel);
    fade.setAlpha(fade.alpha() / 3);
    shade.setColorAt(1, fade);
    painter.fillRect(band, shade);
    const int rule = std::max(2, band.height() / 40);
    painter.fillRect(QRect(band.left(), band.bottom() - rule + 1, band.width(), rule),
                     QColor::fromRgba(theme.accent));

    const int margin = band.height() / 10;
    QRect room = band.adjusted(margin * 3, margin, -margin * 3, -margin - rule);
    if (!picture.isNull() && picture.height() > 0) {
        const QSize shown = picture.size().scaled(room.size() * 0.95, Qt::KeepAspectRatio);
        const QRect at(room.left(), room.top() + (room.height() - shown.height()) / 2,
                       shown.width(), shown.height());
        painter.drawImage(at, picture);
        painter.setPen(QPen(QColor::fromRgba(theme.accent), rule));
        painter.drawRect(at);
        room.setLeft(at.right() + margin * 2);
    }
    if (family.isEmpty())
        return painter.restore();

    const QFont title =
        fitted(sized(family, theme.weight, room.height() * 0.58), text.title, room.width());
    const QFont detail =
        fitted(sized(family, QFont::Medium, room.height() * 0.26), text.detail, room.width());
    const QRect titleRect(room.left(), room.top(), room.width(), room.height() * 64 / 100);
    const QRect detailRect(room.left(), titleRect.bottom(), room.width(),
                           room.bottom() - titleRect.bottom());
    // The title as an outline, so it keeps its edge over any background.
    QPainterPath path;
    const QFontMetricsF metrics(title);
    const double x = titleRect.center().x() - metrics.horizontalAdvance(text.title) / 2;
    const double y = titleRect.center().y() + (metrics.ascent() - metrics.descent()) / 2;
    path.addText(QPointF(x, y), title, text.title);
    painter.strokePath(path, QPen(QColor::fromRgba(theme.nameStroke), title.pixelSize() / 12.0,
                                  Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(path, QColor::fromRgba(theme.headerText));
    painter.setFont(detail);
    painter.setPen(QColor::fromRgba(theme.headerDetail));
    painter.drawText(detailRect, Qt::AlignHCenter | Qt::AlignVCenter, text.detail);
    painter.restore();
}

} // namespace drawscreen
