#pragma once

#include <QRect>

#include <vector>

namespace drawscreen {

// Where a round's names sit on the 大屏 screen: one cell each, in rows filled left to right,
// the last row centred, the whole block centred in the names' area.
struct GridLayout {
    QRect area;           // what it was made for
    double nominalEm = 0; // the width it was made for
    int columns = 0;
    int rows = 0;
    int fontSize = 0;         // em size of an entry as wide as the nominal one
    int innerWidth = 0;       // what a cell leaves for its text
    std::vector<QRect> cells; // in reading order
};

// Pure geometry: widths are given in ems (a text's advance divided by its em size), so the
// caller measures and this only divides.
class GridLayoutMaker {
public:
    // The columns that give an entry nominalEm wide the largest glyphs in area.
    static GridLayout make(const QRect& area, int count, double nominalEm);
    // The em size an entry entryEm wide takes in the layout's cells: the layout's own when it
    // fits, else a smaller one in steps of an eighth, so that few sizes occur.
    static int fontSizeFor(const GridLayout& layout, double entryEm);
    // The height of a Chinese character at em size fontSize.
    static int glyphHeight(int fontSize);

    // Room in a cell around its text, in ems: left and right together, and the row height.
    static constexpr double kSideEm = 0.7;
    static constexpr double kRowEm = 1.6;
    // A CJK sans face's ideographs are about this tall for their em size.
    static constexpr double kGlyphPerEm = 0.88;
    // A single name still leaves the room some air.
    static constexpr double kMostEmOfHeight = 0.42;
};

} // namespace drawscreen
