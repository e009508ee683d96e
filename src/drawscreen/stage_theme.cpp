#include "drawscreen/stage_theme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <random>

namespace drawscreen {

StageTheme StageTheme::of(lottery::StageTheme preset) {
    switch (preset) {
    case lottery::StageTheme::DarkTech:
        return {0xFFE6F7FF, 0x5000131F, 0xFF7FF3FF, 0xC0081C33, 0xFF25C9FF, 0xB0061428,
                0xFFFFFFFF, 0xFF8FD8FF, 0xFF25C9FF, 0xFF04101F, 0xFF0B2E4F, QFont::Medium};
    case lottery::StageTheme::MallPromo:
        return {0xFFFFFFFF, 0x60600020, 0xFFFFF25A, 0xD0E0185A, 0xFFFFF25A, 0xD0C2104A,
                0xFFFFFFFF, 0xFFFFF25A, 0xFFFFF25A, 0xFFFF5A36, 0xFFB0126E, QFont::Black};
    case lottery::StageTheme::RedGold:
        break;
    }
    return {0xFFFFE9A8, 0x60300000, 0xFFFFD54A, 0xD08A0A0A, 0xFFFFC93C, 0xC0780000,
            0xFFFFD54A, 0xFFFFE9A8, 0xFFFFC93C, 0xFFB3120F, 0xFF5A0306, QFont::Bold};
}

namespace {

// Soft lanterns of light and a gold rim along the top and bottom.
void paintLanterns(QPainter& painter, QSizeF size, QColor accent, std::mt19937& random) {
    const double w = size.width();
    const double h = size.height();
    for (int i = 0; i < 14; ++i) {
        const QPointF centre(std::uniform_real_distribution<>(0, w)(random),
                             std::uniform_real_distribution<>(0, h)(random));
        const double radius = std::uniform_real_distribution<>(0.05, 0.16)(random) * h;
        QRadialGradient glow(centre, radius);
        accent.setAlpha(46);
        glow.setColorAt(0, accent);
        glow.setColorAt(1, Qt::transparent);
        painter.fillRect(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
                         glow);
    }
    accent.setAlpha(200);
    painter.fillRect(QRectF(0, 0, w, h * 0.008), accent);
    painter.fillRect(QRectF(0, h * 0.992, w, h * 0.008), accent);
}

// A fine grid of lines, brighter towards the middle.
void paintGrid(QPainter& painter, QSizeF size, QColor accent) {
    const double w = size.width();
    const double h = size.height();
    const double step = h / 18;
    accent.setAlpha(28);
    painter.setPen(QPen(accent, std::max(1.0, h / 1080)));
    for (double x = std::fmod(w / 2, step); x < w; x += step)
        painter.drawLine(QPointF(x, 0), QPointF(x, h));
    for (double y = std::fmod(h / 2, step); y < h; y += step)
        painter.drawLine(QPointF(0, y), QPointF(w, y));
    QRadialGradient glow(QPointF(w / 2, h / 2), w * 0.6);
    accent.setAlpha(40);
    glow.setColorAt(0, accent);
    glow.setColorAt(1, Qt::transparent);
    painter.fillRect(QRectF(QPointF(0, 0), size), glow);
}

// Bold diagonal stripes and scattered dots.
void paintStripes(QPainter& painter, QSizeF size, QColor accent, std::mt19937& random) {
    const double w = size.width();
    const double h = size.height();
    accent.setAlpha(34);
    QPainterPath stripes;
    for (double x = -h; x < w; x += h / 5)
        stripes.addPolygon(QPolygonF({QPointF(x, h), QPointF(x + h / 12, h),
                                      QPointF(x + h + h / 12, 0), QPointF(x + h, 0)}));
    painter.fillPath(stripes, accent);
    accent.setAlpha(70);
    painter.setPen(Qt::NoPen);
    painter.setBrush(accent);
    for (int i = 0; i < 60; ++i) {
        const double r = std::uniform_real_distribution<>(0.003, 0.012)(random) * h;
        painter.drawEllipse(QPointF(std::uniform_real_distribution<>(0, w)(random),
                                    std::uniform_real_distribution<>(0, h)(random)),
                            r, r);
    }
}

} // namespace

QImage StageTheme::generatedBackground(QSize size, lottery::StageTheme preset) const {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, QColor::fromRgba(backgroundTop));
    gradient.setColorAt(1, QColor::fromRgba(backgroundBottom));
    painter.fillRect(image.rect(), gradient);
    std::mt19937 random(static_cast<unsigned>(preset) + 1); // the same picture every time
    switch (preset) {
    case lottery::StageTheme::RedGold:
        paintLanterns(painter, size, QColor::fromRgba(accent), random);
        break;
    case lottery::StageTheme::DarkTech:
        paintGrid(painter, size, QColor::fromRgba(accent));
        break;
    case lottery::StageTheme::MallPromo:
        paintStripes(painter, size, QColor::fromRgba(accent), random);
        break;
    }
    return image;
}

} // namespace drawscreen
