#pragma once

#include "drawscreen/panel_painter.h"
#include "lottery/draw_view.h"

#include <QPainter>
#include <QSize>
#include <QString>
#include <QStringList>

#include <string>

namespace drawscreen {

// A digest the room can photograph, under a panel: a QR code of the whole digest and
// short text lines beside it. The ready screen shows the list's fingerprint, the finished
// screen the draw's last chain code.
class CommitmentPainter {
public:
    // The picture's own digest: the list's on the ready screen, the chain's on the others.
    // bottom: where the status lines begin.
    static void draw(QPainter& painter, const PanelGeometry& panel, int bottom,
                     const lottery::DrawPicture& picture, int fontSize, const QString& family);
    // "名单 N 条" and "指纹 xxxx xxxx xxxx xxxx".
    static QStringList listLines(const std::string& fingerprint, int entryCount);
    // "最终链码" and its first 16 hex digits, as --verify prints it in full.
    static QStringList chainLines(const std::string& chainCode);
};

} // namespace drawscreen
