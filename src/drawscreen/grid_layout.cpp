#include "drawscreen/grid_layout.h"

#include <algorithm>
#include <cmath>

namespace drawscreen {

GridLayout GridLayoutMaker::make(const QRect& area, int count, double nominalEm) {
    GridLayout layout;
    layout.area = area;
    layout.nominalEm = nominalEm;
    if (count < 1 || area.width() < 1 || area.height() < 1)
        return layout;
    const double width = std::max(nominalEm, 1.0) + kSideEm;
    double best = -1;
    for (int columns = 1; columns <= count; ++columns) {
        const int rows = (count + columns - 1) / columns;
        // A column more that leaves the rows as they are only narrows the cells.
        if (columns > 1 && (count + columns - 2) / (columns - 1) == rows)
            continue;
        const double em =
            std::min(area.width() / (columns * width), area.height() / (rows * kRowEm));
        if (em > best) {
            best = em;
            layout.columns = columns;
            layout.rows = rows;
        }
    }
    const double em = std::min(best, area.height() * kMostEmOfHeight);
    layout.fontSize = std::max(1, static_cast<int>(em));
    // The cells take the room the glyphs leave, up to a quarter more than they need.
    const int cellWidth =
        std::min(area.width() / layout.columns, static_cast<int>(em * width * 1.25));
    const int cellHeight =
        std::min(area.height() / layout.rows, static_cast<int>(em * kRowEm * 1.25));
    layout.innerWidth = cellWidth - static_cast<int>(std::ceil(em * kSideEm));
    // Whole pixels must not push the nominal entry into a smaller step, nor a row past its cell.
    layout.fontSize =
        std::max(1, std::min({layout.fontSize,
                              static_cast<int>(layout.innerWidth / std::max(nominalEm, 1.0)),
                              static_cast<int>(cellHeight / kRowEm)}));
    const int top = area.top() + (area.height() - cellHeight * layout.rows) / 2;
    for (int i = 0; i < count; ++i) {
        const int row = i / layout.columns;
        const int inRow = std::min(layout.columns, count - row * layout.columns);
        const int left = area.left() + (area.width() - cellWidth * inRow) / 2;
        layout.cells.emplace_back(left + (i % layout.columns) * cellWidth, top + row * cellHeight,
                                  cellWidth, cellHeight);
    }
    return layout;
}

int GridLayoutMaker::fontSizeFor(const GridLayout& layout, double entryEm) {
    if (entryEm * layout.fontSize <= layout.innerWidth)
        return layout.fontSize;
    const double fits = layout.innerWidth / entryEm;
    const int eighths = static_cast<int>(8 * fits / layout.fontSize);
    const int stepped = layout.fontSize * eighths / 8;
    return std::max(1, stepped > 0 ? stepped : static_cast<int>(fits));
}

int GridLayoutMaker::glyphHeight(int fontSize) {
    return static_cast<int>(fontSize * kGlyphPerEm);
}

} // namespace drawscreen
