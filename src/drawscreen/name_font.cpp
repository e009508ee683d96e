#include "drawscreen/name_font.h"

#include "drawscreen/name_path.h"
#include "drawscreen/text_outline.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace drawscreen {

namespace {

int lineHeightFor(const QString& family, int size) {
    const int h = TextOutline::measureText(family, size, QStringLiteral("一二三")).height();
    return static_cast<int>(h * static_cast<double>(1.2f));
}

// The pen's outer edge on the right of the widest text; the advance covers a glyph whose
// outline ends short of it, the outline one that reaches past it.
int rightEdge(const QString& family, int size, const QStringList& texts) {
    const QFontMetricsF metrics(TextOutline::font(family, size));
    qreal right = 0;
    for (const QString& text : texts)
        right = std::max({right, metrics.horizontalAdvance(text),
                          TextOutline::outline(family, size, text, {}).boundingRect().right()});
    return static_cast<int>(std::ceil(right)) + NamePath::kPenWidth / 2;
}

} // namespace

NameFontSize NameFont::compute(int count, float displayScale, const QString& family) {
    int size = count <= 4 ? 160 : 640 / count;
    size = static_cast<int>(size * static_cast<double>(displayScale));
    return {size, lineHeightFor(family, size)};
}

NameFontSize NameFont::fitWidth(NameFontSize sized, const QStringList& texts, const QString& family,
                                int canvasWidth) {
    if (family.isEmpty() || canvasWidth <= 0 || sized.fontSize <= 1 || texts.isEmpty())
        return sized;
    // A clear pen's width between the outline and the edge.
    const int room = canvasWidth - NamePath::kPenWidth / 2;
    const int right = rightEdge(family, sized.fontSize, texts);
    if (right <= room)
        return sized;
    // Widths follow the size closely (unhinted, no kerning): start near the answer.
    int size = std::clamp(static_cast<int>(static_cast<double>(sized.fontSize) * room / right), 1,
                          sized.fontSize - 1);
    while (size > 1 && rightEdge(family, size, texts) > room)
        --size;
    while (size + 1 < sized.fontSize && rightEdge(family, size + 1, texts) <= room)
        ++size;
    return {size, lineHeightFor(family, size)};
}

} // namespace drawscreen
