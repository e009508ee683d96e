#include "tickets/ticket_view.h"

#include "core/gbk_codec.h"
#include "lottery/participant_file.h"

namespace tickets {

Ticket ticketFor(const lottery::WinnerRecord& winner, const lottery::DrawOptions& options) {
    Ticket ticket;
    ticket.prizeTitle = core::GbkCodec::fromGbk(winner.prizeTitle);
    ticket.entry = core::GbkCodec::fromGbk(lottery::maskedText(winner.rawText, options));
    ticket.round = winner.round;
    ticket.position = winner.position;
    ticket.replacement = winner.status == lottery::WinnerStatus::Replacement;
    ticket.time = QString::fromStdString(winner.time);
    ticket.code = QString::fromStdString(winner.code);
    return ticket;
}

std::vector<Ticket> ticketsFor(const std::vector<lottery::WinnerRecord>& winners,
                               const lottery::DrawOptions& options) {
    std::vector<Ticket> batch;
    for (const lottery::WinnerRecord& winner : winners)
        batch.push_back(ticketFor(winner, options));
    return batch;
}

TicketView::TicketView(const lottery::DrawOptions& options, TicketSpooler& spooler,
                       std::function<void(const QString&)> report)
    : options_(options), spooler_(spooler) {
    failures_ = QObject::connect(
        &spooler_, &TicketSpooler::failed, &spooler_,
        [this, report = std::move(report)](const QString& problem) {
            if (reported_)
                return;
            reported_ = true;
            report(QStringLiteral("奖券打印失败：%1。抽奖照常进行；可在“抽奖结果”中"
                                  "选中中奖者重新打印。")
                       .arg(problem));
        });
}

TicketView::~TicketView() {
    QObject::disconnect(failures_);
}

void TicketView::showPicture(const lottery::DrawPicture& picture) {
    // A draw begins from the ready screen: its failures are told anew.
    if (picture.screen == lottery::DrawPicture::Screen::Ready)
        reported_ = false;
}

void TicketView::winnersRecorded(const std::vector<lottery::WinnerRecord>& winners) {
    if (options_.print == 0 || !printerAvailable_)
        return;
    spooler_.enqueue(ticketsFor(winners, options_));
}

} // namespace tickets
