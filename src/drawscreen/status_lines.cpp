#include "drawscreen/status_lines.h"

#include "drawscreen/text_outline.h"

#include <algorithm>
#include <cmath>

namespace drawscreen {

namespace {

constexpr QRgb kYellow = 0xFFFFFF00;
constexpr int kPasses = 5;

} // namespace

void StatusLines::draw(QPainter& painter, const StatusTexts& texts, QSize canvas, int fontSize,
                       const QString& family) {
    const QSize right = TextOutline::measureText(family, fontSize, texts.right);
    int y = canvas.height() - right.height();
    // Faces with a tall ascent push the glyphs' feet past the bottom edge; lift the lines
    // just enough to keep them, outline included, on the canvas.
    const qreal outlineHalfWidth = (kPasses - 1) / 2.0 + 0.5; // half a pixel of smoothing
    qreal bottom = 0;
    for (const QString& text : {texts.left, texts.right})
        bottom = std::max(
            bottom,
            TextOutline::outline(family, fontSize, text, QPointF(0, y)).boundingRect().bottom());
    y -= std::max(0, static_cast<int>(std::ceil(bottom + outlineHalfWidth - canvas.height())));
    TextOutline::drawOutlinedText(painter, 0, y, 0, texts.left, family, kYellow, fontSize, kPasses);
    const int x = static_cast<int>(canvas.width() - right.width() * static_cast<double>(1.01f));
    TextOutline::drawOutlinedText(painter, x, y, 0, texts.right, family, kYellow, fontSize,
                                  kPasses);
}

} // namespace drawscreen
