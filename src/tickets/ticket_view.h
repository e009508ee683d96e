#pragma once

#include "lottery/draw_view.h"
#include "lottery/lottery_data.h"
#include "tickets/ticket.h"
#include "tickets/ticket_spooler.h"

#include <functional>
#include <string>
#include <vector>

namespace tickets {

// The ticket of a recorded winner: the entry masked as the screen shows it.
Ticket ticketFor(const lottery::WinnerRecord& winner, const lottery::DrawOptions& options);
std::vector<Ticket> ticketsFor(const std::vector<lottery::WinnerRecord>& winners,
                               const lottery::DrawOptions& options);

// Prints a ticket for every winner the machine records while options.print is on, and tells
// the operator of the first printing failure of each draw only.
class TicketView : public lottery::DrawView {
public:
    TicketView(const lottery::DrawOptions& options, TicketSpooler& spooler,
               std::function<void(const QString&)> report);
    ~TicketView() override;
    TicketView(const TicketView&) = delete;
    TicketView& operator=(const TicketView&) = delete;

    // No printer at all: nothing is printed.
    void setPrinterAvailable(bool available) { printerAvailable_ = available; }

    void showPicture(const lottery::DrawPicture& picture) override;
    void playCue(lottery::SoundCue) override {}
    void reportProblem(const std::string&) override {}
    void winnersRecorded(const std::vector<lottery::WinnerRecord>& winners) override;

private:
    const lottery::DrawOptions& options_;
    TicketSpooler& spooler_;
    bool printerAvailable_ = true;
    bool reported_ = false; // a failure of this draw was told
    QMetaObject::Connection failures_;
};

} // namespace tickets
