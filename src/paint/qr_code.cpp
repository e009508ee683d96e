#include "paint/qr_code.h"

#include <qrencode.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace paint {

namespace {

constexpr int kQuietModules = 4;

} // namespace

QImage qrCodeImage(const QByteArray& text) {
    if (text.isEmpty())
        return {};
    const std::unique_ptr<QRcode, void (*)(QRcode*)> code(
        QRcode_encodeData(static_cast<int>(text.size()),
                          reinterpret_cast<const unsigned char*>(text.constData()), 0,
                          QR_ECLEVEL_M),
        QRcode_free);
    if (!code)
        return {};
    const int width = code->width;
    QImage image(width + 2 * kQuietModules, width + 2 * kQuietModules, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    for (int y = 0; y < width; ++y) {
        uchar* line = image.scanLine(y + kQuietModules) + kQuietModules;
        for (int x = 0; x < width; ++x)
            if (code->data[y * width + x] & 1)
                line[x] = 0;
    }
    return image;
}

void drawQrCode(QPainter& painter, const QImage& code, const QRectF& area) {
    if (code.isNull() || area.isEmpty())
        return;
    const qreal side = std::min(area.width(), area.height());
    const qreal scale = painter.deviceTransform().m11();
    // Whole device pixels a module where there is room for at least one.
    const qreal devicePixels = std::floor(side * scale / code.width());
    const qreal module = devicePixels >= 1 ? devicePixels / scale : side / code.width();
    const qreal drawn = module * code.width();
    const QRectF target(area.center().x() - drawn / 2, area.center().y() - drawn / 2, drawn, drawn);
    const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, code);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}

} // namespace paint
