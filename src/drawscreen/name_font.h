#pragma once

#include <QString>
#include <QStringList>

namespace drawscreen {

struct NameFontSize {
    int fontSize = 0;
    int lineHeight = 0;
};

// Sizes the names of a round so that they fit the window's height.
class NameFont {
public:
    // count: the names of the round on screen, as many as it really shows.
    static NameFontSize compute(int count, float displayScale, const QString& family);
    // sized itself when every text, drawn from x 0 with the names' pen, ends inside
    // canvasWidth; otherwise the largest smaller size at which the widest does, with its
    // line height. Unchanged without a family or a canvas.
    static NameFontSize fitWidth(NameFontSize sized, const QStringList& texts,
                                 const QString& family, int canvasWidth);
};

} // namespace drawscreen
