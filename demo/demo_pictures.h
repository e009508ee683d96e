#pragma once

#include <QImage>
#include <QSize>

// A festive red and gold background with lanterns, glowing dots and stars.
QImage paintBackground(QSize size);
// A smiling face on a transparent square of side pixels.
QImage paintSmile(int side);
