#pragma once

#include "lottery/lottery_data.h"

#include <QString>

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
};

} // namespace drawscreen
