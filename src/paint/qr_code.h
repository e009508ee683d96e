#pragma once

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QRectF>

namespace paint {

// The QR code of text (byte mode, error correction M) with its four-module quiet zone, one
// pixel a module, black on white; a null image when the text cannot be encoded.
QImage qrCodeImage(const QByteArray& text);

// Draws code into the largest square of area that holds a whole number of device pixels a
// module where possible, centred, so that a camera or scanner sees sharp modules.
void drawQrCode(QPainter& painter, const QImage& code, const QRectF& area);

} // namespace paint
