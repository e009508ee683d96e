#include "drawscreen/panel_painter.h"

#include "drawscreen/text_outline.h"

#include <QPainter>

namespace drawscreen {

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kGold = 0xFFFFD700;
constexpr QRgb kRed = 0xFFFF0000;

void drawLine(QPainter& painter, int width, int x1, int y1, int x2, int y2) {
    QPen pen(QColor::fromRgba(kGold));
    pen.setWidth(width);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(x1, y1, x2, y2);
}

} // namespace

PanelGeometry PanelPainter::geometry(QSize canvas, float displayScale) {
    const double s = displayScale;
    const int W = canvas.width();
    const int H = canvas.height();
    PanelGeometry g;
    g.pw = static_cast<int>(W * static_cast<double>(0.7f));
    g.ph = static_cast<int>(H * 0.5);
    if (s < 1.0) {
        g.pw = static_cast<int>(g.pw * 0.9);
        g.ph = static_cast<int>(g.ph * 0.8);
    }
    g.px = (W - g.pw) / 2;
    g.py = (H - g.ph) * 0.3 + 50;
    g.P = static_cast<int>(s * 12);
    g.yTop = static_cast<int>(g.py - g.P / 2);
    g.xLeft = g.px - g.P;
    g.xRight = g.px + g.pw + g.P;
    g.yBottom = g.yTop + g.P + g.ph;
    g.thinPen = g.P / 3;
    g.titleSize = static_cast<int>(s * 120);
    if (s < 1.0)
        g.titleSize = static_cast<int>(g.titleSize * 0.8);
    return g;
}

QString PanelPainter::title(lottery::DrawPicture::Screen screen) {
    return screen == lottery::DrawPicture::Screen::Ready ? QStringLiteral("准备抽奖！")
                                                         : QStringLiteral("抽奖结束！");
}

void PanelPainter::draw(QPainter& painter, const PanelGeometry& g,
                        lottery::DrawPicture::Screen screen, const QString& family,
                        const QImage& picture) {
    painter.fillRect(QRectF(g.px, g.py, g.pw, g.ph), QColor::fromRgba(kWhite));
    drawLine(painter, g.P, g.xLeft, g.yTop, g.xRight, g.yTop);
    drawLine(painter, g.P, g.xLeft, g.yBottom, g.xRight, g.yBottom);
    drawLine(painter, g.thinPen, g.xLeft + g.P, g.yTop, g.xLeft + g.P, g.yBottom);
    drawLine(painter, g.thinPen, g.xRight - g.P, g.yTop, g.xRight - g.P, g.yBottom);
    painter.setPen(Qt::NoPen);

    const QString text = title(screen);
    const QSize t = TextOutline::measureText(family, g.titleSize, text);
    const int x = (g.pw - t.width()) / 2 + g.xLeft + g.P - 10;
    const int y = static_cast<int>(g.yTop + (g.ph - t.height()) / 2 - t.height() * 0.3);
    TextOutline::drawOutlinedText(painter, x, y, 0, text, family, kRed, g.titleSize, 0);

    if (picture.isNull() || picture.width() == 0)
        return;
    const int w = picture.width();
    const int h = picture.height();
    painter.drawImage(QRect(g.xRight - g.P - w / 2, g.yTop - h / 3, w, h), picture);
}

} // namespace drawscreen
