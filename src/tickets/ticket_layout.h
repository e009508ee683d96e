#pragma once

#include "tickets/ticket.h"

#include <QPageSize>
#include <QPainter>
#include <QRectF>

namespace tickets {

// Receipt paper is 58 or 80 mm wide; anything else reads as 58.
int paperWidthOrDefault(int millimetres);

// One ticket a page: the paper's width, long enough for the ticket.
QPageSize ticketPageSize(int paperWidthMm);

// Paints ticket into page (device pixels of a page of ticketPageSize) in black on white:
// the prize, the entry, round and position, the time, and the code as text and as a QR code.
void paintTicket(QPainter& painter, const Ticket& ticket, const QRectF& page);

} // namespace tickets
