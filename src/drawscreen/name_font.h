#pragma once

#include "lottery/lottery_data.h"

#include <QString>
#include <QStringList>

namespace drawscreen {

struct NameFontSize {
    int fontSize = 0;
    int lineHeight = 0;
};

// Sizes the names of a prize so that its winners per round fit the window's height.
class NameFont {
public:
    static NameFontSize compute(int perRound, float displayScale, const QString& family);
    // Sets options.fontSize and options.lineHeight for the prize at options.prizeIndex.
    static void computeNameFont(lottery::LotteryData& data, float displayScale,
                                const QString& family);
    // sized itself when every text, drawn from x 0 with the names' pen, ends inside
    // canvasWidth; otherwise the largest smaller size at which the widest does, with its
    // line height. Unchanged without a family or a canvas.
    static NameFontSize fitWidth(NameFontSize sized, const QStringList& texts,
                                 const QString& family, int canvasWidth);
};

} // namespace drawscreen
