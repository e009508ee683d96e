#include "drawscreen/name_font.h"

#include "drawscreen/text_outline.h"

namespace drawscreen {

NameFontSize NameFont::compute(int perRound, float displayScale, const QString& family) {
    int size = perRound <= 4 ? 160 : 640 / perRound;
    size = static_cast<int>(size * static_cast<double>(displayScale));
    const int h = TextOutline::measureText(family, size, QStringLiteral("一二三")).height();
    return {size, static_cast<int>(h * static_cast<double>(1.2f))};
}

void NameFont::computeNameFont(lottery::LotteryData& data, float displayScale,
                               const QString& family) {
    const auto& prizes = data.prizeTable.prizes;
    const int index = data.options.prizeIndex;
    // Outside the table (emptied while the window lives) the names take the largest size.
    const int perRound =
        index >= 0 && index < static_cast<int>(prizes.size()) ? prizes[index].perRound : 1;
    const NameFontSize sized = compute(perRound, displayScale, family);
    data.options.fontSize = sized.fontSize;
    data.options.lineHeight = sized.lineHeight;
}

} // namespace drawscreen
