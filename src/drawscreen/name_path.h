#pragma once

#include <QColor>
#include <QPainterPath>
#include <QString>
#include <QStringList>

class QPainter;

namespace drawscreen {

// The names column as one path of all names, stroked once and filled once.
class NamePath {
public:
    // Top of the first line: the block centred by its own count, raised by half a line.
    static int columnTop(int canvasHeight, int lineHeight, int count);
    // Line i starts at x 0, y columnTop + i * lineHeight; an empty name keeps its line.
    static QPainterPath build(const QStringList& names, const QString& family, int fontSize,
                              int lineHeight, int canvasHeight);
    // The 6-pixel translucent dark pen with round joins, then the yellow fill.
    static void paint(QPainter& painter, const QPainterPath& path);

    static constexpr QRgb kFill = 0xFFFFFF00;
    static constexpr int kPenWidth = 6;
};

} // namespace drawscreen
