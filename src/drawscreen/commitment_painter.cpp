#include "drawscreen/commitment_painter.h"

#include "drawscreen/text_outline.h"
#include "lottery/sha256.h"
#include "paint/qr_code.h"

namespace drawscreen {

namespace {

constexpr QRgb kYellow = 0xFFFFFF00;
constexpr int kPasses = 5;

} // namespace

QStringList CommitmentPainter::lines(const std::string& fingerprint, int entryCount) {
    return {QStringLiteral("名单 %1 条").arg(entryCount),
            QStringLiteral("指纹 ") +
                QString::fromStdString(lottery::shortFingerprint(fingerprint))};
}

void CommitmentPainter::draw(QPainter& painter, const PanelGeometry& panel, int bottom,
                             const std::string& fingerprint, int entryCount, int fontSize,
                             const QString& family) {
    if (fingerprint.empty())
        return;
    const int gap = panel.P;
    const int top = panel.yBottom + gap;
    const int side = bottom - gap - top;
    if (side <= 0)
        return;
    const QRect code(panel.xLeft, top, side, side);
    paint::drawQrCode(painter, paint::qrCodeImage(QByteArray::fromStdString(fingerprint)), code);
    const QStringList texts = lines(fingerprint, entryCount);
    const int lineHeight = fontSize * 3 / 2;
    int y = code.center().y() - lineHeight * static_cast<int>(texts.size()) / 2;
    for (const QString& text : texts) {
        TextOutline::drawOutlinedText(painter, code.right() + gap, y, 0, text, family, kYellow,
                                      fontSize, kPasses);
        y += lineHeight;
    }
}

} // namespace drawscreen
