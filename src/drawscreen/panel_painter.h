#pragma once

#include "lottery/draw_view.h"

#include <QImage>
#include <QSize>
#include <QString>

class QPainter;

namespace drawscreen {

// Where the white panel and its gold frame lie on a canvas.
struct PanelGeometry {
    int pw = 0;    // panel width
    int ph = 0;    // panel height
    int px = 0;    // panel left
    double py = 0; // panel top, not rounded
    int P = 0;     // width of the heavy bars
    int yTop = 0;
    int xLeft = 0;
    int xRight = 0;
    int yBottom = 0;
    int thinPen = 0;   // width of the uprights
    int titleSize = 0; // em size of the title
};

// The ready and finished screens' panel: white card, gold frame, red title, picture.
class PanelPainter {
public:
    static PanelGeometry geometry(QSize canvas, float displayScale);
    static QString title(lottery::DrawPicture::Screen screen);
    // A null or zero-width picture is left out.
    static void draw(QPainter& painter, const PanelGeometry& g, lottery::DrawPicture::Screen screen,
                     const QString& family, const QImage& picture);
};

} // namespace drawscreen
