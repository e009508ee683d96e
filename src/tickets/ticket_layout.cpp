#include "tickets/ticket_layout.h"

#include "drawscreen/font_chooser.h"
#include "paint/qr_code.h"

#include <QFont>
#include <QFontMetricsF>

#include <algorithm>

namespace tickets {

namespace {

// Heights in paper widths: the layout scales with the paper.
constexpr qreal kPageLength = 1.5;
constexpr qreal kMargin = 0.05;
constexpr qreal kTitleSize = 0.085;
constexpr qreal kTextSize = 0.055;
constexpr qreal kQrSide = 0.5;

QFont ticketFont(qreal pixelSize, bool bold) {
    QFont font;
    font.setFamilies(drawscreen::FontChooser::candidates());
    font.setPixelSize(std::max(1, qRound(pixelSize)));
    font.setBold(bold);
    return font;
}

// Draws text centred on as many lines as it needs; returns the height used.
qreal drawLines(QPainter& painter, const QString& text, const QFont& font, const QRectF& area) {
    painter.setFont(font);
    const QRectF bounds = painter.boundingRect(area, Qt::AlignHCenter | Qt::TextWrapAnywhere, text);
    painter.drawText(area, Qt::AlignHCenter | Qt::TextWrapAnywhere, text);
    return bounds.height();
}

} // namespace

int paperWidthOrDefault(int millimetres) {
    return millimetres == 80 ? 80 : 58;
}

QPageSize ticketPageSize(int paperWidthMm) {
    const int width = paperWidthOrDefault(paperWidthMm);
    return QPageSize(QSizeF(width, width * kPageLength), QPageSize::Millimeter,
                     QStringLiteral("Ticket %1mm").arg(width), QPageSize::ExactMatch);
}

void paintTicket(QPainter& painter, const Ticket& ticket, const QRectF& page) {
    const qreal unit = page.width();
    const qreal margin = unit * kMargin;
    painter.fillRect(page, Qt::white);
    painter.setPen(Qt::black);
    QRectF area = page.adjusted(margin, margin, -margin, -margin);
    const auto advance = [&area](qreal used, qreal gap) { area.setTop(area.top() + used + gap); };

    advance(drawLines(painter, ticket.prizeTitle, ticketFont(unit * kTitleSize, true), area),
            unit * 0.04);
    advance(drawLines(painter, ticket.entry, ticketFont(unit * kTitleSize, true), area),
            unit * 0.04);
    const QFont text = ticketFont(unit * kTextSize, false);
    const QString place = ticket.replacement ? QStringLiteral("第 %1 轮 第 %2 位（补抽）")
                                             : QStringLiteral("第 %1 轮 第 %2 位");
    advance(drawLines(painter, place.arg(ticket.round).arg(ticket.position), text, area),
            unit * 0.02);
    advance(drawLines(painter, ticket.time, text, area), unit * 0.02);
    advance(drawLines(painter, QStringLiteral("校验码 ") + ticket.code, text, area), unit * 0.03);
    const qreal side = std::min(unit * kQrSide, area.height());
    paint::drawQrCode(painter, paint::qrCodeImage(ticket.code.toLatin1()),
                      QRectF(area.center().x() - side / 2, area.top(), side, side));
}

} // namespace tickets
