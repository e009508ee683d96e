#pragma once

#include "lottery/lottery_data.h"
#include "tickets/ticket_spooler.h"
#include "tickets/ticket_view.h"

#include <QString>

#include <functional>
#include <vector>

namespace core {
class Settings;
}
namespace lottery {
class DrawMachine;
}

namespace tickets {

// A draw's tickets: each round's winners as the machine records them, and reprints asked for
// afterwards, printed in order on the printer the settings name.
class TicketService {
public:
    // report tells the operator of a failure.
    TicketService(lottery::DrawMachine& machine, const lottery::DrawOptions& options,
                  std::function<void(const QString&)> report);
    ~TicketService();
    TicketService(const TicketService&) = delete;
    TicketService& operator=(const TicketService&) = delete;

    // The printer and paper apply from the next ticket on.
    void usePrinterOf(const core::Settings& settings);
    void reprint(const std::vector<lottery::WinnerRecord>& winners);

private:
    lottery::DrawMachine& machine_;
    const lottery::DrawOptions& options_;
    std::function<void(const QString&)> report_;
    TicketSpooler spooler_;
    TicketView view_;
};

} // namespace tickets
