#pragma once

#include "lottery/lottery_data.h"

#include <QSize>
#include <QString>

class QPainter;

namespace drawscreen {

struct StatusTexts {
    QString left;  // the current step
    QString right; // the next step
};

// The two lines along the bottom edge naming the current and the next step of the draw.
class StatusLines {
public:
    static void draw(QPainter& painter, const StatusTexts& texts, QSize canvas, int fontSize,
                     const QString& family);
};

} // namespace drawscreen
