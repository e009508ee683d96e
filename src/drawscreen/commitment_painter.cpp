#include "drawscreen/commitment_painter.h"

#include "drawscreen/text_outline.h"
#include "lottery/sha256.h"
#include "paint/qr_code.h"

namespace drawscreen {

namespace {

constexpr QRgb kYellow = 0xFFFFFF00;
constexpr int kPasses = 5;

} // namespace

QStringList CommitmentPainter::listLines(const std::string& fingerprint, int entryCount) {
    return {QStringLiteral("名单 %1 条").arg(entryCount),
            QStringLiteral("指纹 ") +
                QString::fromStdString(lottery::shortFingerprint(fingerprint))};
}

QStringList CommitmentPainter::chainLines(const std::string& chainCode) {
    return {QStringLiteral("最终链码"),
            QString::fromStdString(lottery::shortFingerprint(chainCode))};
}

void CommitmentPainter::draw(QPainter& painter, const PanelGeometry& panel, int bottom,
                             const lottery::DrawPicture& picture, int fontSize,
                             const QString& family) {
    const bool ready = picture.screen == lottery::DrawPicture::Screen::Ready;
    const std::string& digest = ready ? picture.participantsFingerprint : picture.chainCode;
    if (digest.empty())
        return;
    const QStringList texts =
        ready ? listLines(digest, picture.participantCount) : chainLines(digest);
    const int gap = panel.P;
    const int top = panel.yBottom + gap;
    const int side = bottom - gap - top;
    if (side <= 0)
        return;
    const QRect code(panel.xLeft, top, side, side);
    paint::drawQrCode(painter, paint::qrCodeImage(QByteArray::fromStdString(digest)), code);
    const int lineHeight = fontSize * 3 / 2;
    int y = code.center().y() - lineHeight * static_cast<int>(texts.size()) / 2;
    for (const QString& text : texts) {
        TextOutline::drawOutlinedText(painter, code.right() + gap, y, 0, text, family, kYellow,
                                      fontSize, kPasses);
        y += lineHeight;
    }
}

} // namespace drawscreen
