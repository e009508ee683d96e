#pragma once

#include "drawscreen/panel_painter.h"

#include <QPainter>
#include <QSize>
#include <QString>

#include <string>

namespace drawscreen {

// The list's commitment under the ready screen's panel: its entry count and short
// fingerprint, and a QR code of the whole digest for the room to photograph.
class CommitmentPainter {
public:
    // bottom: where the status lines begin.
    static void draw(QPainter& painter, const PanelGeometry& panel, int bottom,
                     const std::string& fingerprint, int entryCount, int fontSize,
                     const QString& family);
    // "名单 N 条" and "指纹 xxxx xxxx xxxx xxxx".
    static QStringList lines(const std::string& fingerprint, int entryCount);
};

} // namespace drawscreen
