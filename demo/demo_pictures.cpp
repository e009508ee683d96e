#include "demo_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdint>

namespace {

constexpr double kPi = 3.141592653589793;
const QColor kGold(255, 205, 80);

// A fixed sequence, so the picture is the same at every build.
class Dice {
public:
    double next() {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state_ >> 11) / 9007199254740992.0;
    }

private:
    std::uint64_t state_ = 20260101;
};

QPainterPath star(QPointF centre, double outer, double inner) {
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 ? inner : outer;
        const double a = -kPi / 2 + i * kPi / 5;
        const QPointF p(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

void paintLantern(QPainter& p, QPointF top, double width) {
    const double height = width * 0.8;
    p.setPen(QPen(kGold, 3));
    p.drawLine(QPointF(top.x(), 0), top);
    const QRectF body(top.x() - width / 2, top.y() + width * 0.12, width, height);
    QRadialGradient glow(body.center(), width * 0.6);
    glow.setColorAt(0, QColor(255, 90, 50));
    glow.setColorAt(1, QColor(170, 10, 20));
    p.setBrush(glow);
    p.setPen(QPen(QColor(120, 0, 10), 2));
    p.drawEllipse(body);
    p.setPen(QPen(QColor(230, 160, 60, 160), 2));
    p.setBrush(Qt::NoBrush);
    for (double f : {0.25, 0.5, 0.75}) {
        const double w = width * std::sin(f * kPi) * 0.5;
        p.drawEllipse(QRectF(body.center().x() - w / 2, body.top(), w, body.height()));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    const double cap = width * 0.45;
    p.drawRoundedRect(QRectF(top.x() - cap / 2, top.y(), cap, width * 0.14), 4, 4);
    p.drawRoundedRect(QRectF(top.x() - cap / 2, body.bottom() - 4, cap, width * 0.14), 4, 4);
    p.setPen(QPen(kGold, 2));
    const double tasselTop = body.bottom() + width * 0.1;
    for (int i = -2; i <= 2; ++i)
        p.drawLine(QPointF(top.x() + i * 3, tasselTop), QPointF(top.x() + i * 4, tasselTop + 60));
}

} // namespace

QImage paintBackground(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(110, 0, 20));
    sky.setColorAt(0.55, QColor(190, 20, 40));
    sky.setColorAt(1, QColor(120, 5, 25));
    p.fillRect(image.rect(), sky);

    QRadialGradient halo(QPointF(w / 2, h * 0.55), h * 0.7);
    halo.setColorAt(0, QColor(255, 150, 60, 110));
    halo.setColorAt(1, QColor(255, 150, 60, 0));
    p.fillRect(image.rect(), halo);

    Dice dice;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 90; ++i) {
        const QPointF c(dice.next() * w, dice.next() * h);
        const double r = 6 + dice.next() * 40;
        QRadialGradient dot(c, r);
        dot.setColorAt(0, QColor(255, 220, 120, 90 + static_cast<int>(dice.next() * 80)));
        dot.setColorAt(1, QColor(255, 220, 120, 0));
        p.setBrush(dot);
        p.drawEllipse(c, r, r);
    }
    for (int i = 0; i < 40; ++i) {
        const QPointF c(dice.next() * w, dice.next() * h);
        const double r = 8 + dice.next() * 18;
        p.setBrush(QColor(255, 215, 90, 120 + static_cast<int>(dice.next() * 100)));
        p.drawPath(star(c, r, r * 0.42));
    }

    // Gold ribbons along the top and the bottom.
    for (int band = 0; band < 2; ++band) {
        QPainterPath ribbon;
        const double base = band == 0 ? h * 0.06 : h * 0.94;
        const double swing = band == 0 ? 30 : -30;
        ribbon.moveTo(0, base);
        for (int k = 0; k < 8; ++k)
            ribbon.quadTo(w * (k + 0.5) / 8, base + (k % 2 ? -swing : swing), w * (k + 1) / 8,
                          base);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 200, 70, 200), 10, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(ribbon);
        p.setPen(QPen(QColor(255, 240, 180, 160), 3));
        p.drawPath(ribbon);
    }

    paintLantern(p, QPointF(w * 0.05, h * 0.12), w * 0.06);
    paintLantern(p, QPointF(w * 0.95, h * 0.12), w * 0.06);
    paintLantern(p, QPointF(w * 0.13, h * 0.06), w * 0.045);
    paintLantern(p, QPointF(w * 0.87, h * 0.06), w * 0.045);
    return image;
}

QImage paintSmile(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = side;
    const QRectF face(s * 0.05, s * 0.05, s * 0.9, s * 0.9);

    QRadialGradient skin(QPointF(s * 0.4, s * 0.35), s * 0.6);
    skin.setColorAt(0, QColor(255, 240, 120));
    skin.setColorAt(1, QColor(250, 180, 20));
    p.setBrush(skin);
    p.setPen(QPen(QColor(200, 110, 0), s * 0.03));
    p.drawEllipse(face);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 120, 120, 130));
    p.drawEllipse(QRectF(s * 0.17, s * 0.52, s * 0.16, s * 0.1));
    p.drawEllipse(QRectF(s * 0.67, s * 0.52, s * 0.16, s * 0.1));

    p.setBrush(QColor(70, 35, 10));
    p.drawEllipse(QRectF(s * 0.3, s * 0.28, s * 0.11, s * 0.17));
    p.drawEllipse(QRectF(s * 0.59, s * 0.28, s * 0.11, s * 0.17));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(s * 0.33, s * 0.3, s * 0.04, s * 0.05));
    p.drawEllipse(QRectF(s * 0.62, s * 0.3, s * 0.04, s * 0.05));

    QPainterPath mouth;
    mouth.moveTo(s * 0.27, s * 0.58);
    mouth.quadTo(s * 0.5, s * 0.9, s * 0.73, s * 0.58);
    mouth.quadTo(s * 0.5, s * 0.7, s * 0.27, s * 0.58);
    p.setBrush(QColor(170, 40, 30));
    p.setPen(QPen(QColor(110, 40, 0), s * 0.025, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(mouth);
    return image;
}
