#include "tickets/ticket_service.h"

#include "lottery/draw_machine.h"
#include "tickets/ticket_printer.h"
#include "tickets/ticket_settings.h"

#include <QPrinterInfo>

namespace tickets {

namespace {

bool anyPrinter() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

} // namespace

TicketService::TicketService(lottery::DrawMachine& machine, const lottery::DrawOptions& options,
                             std::function<void(const QString&)> report)
    : machine_(machine), options_(options), report_(std::move(report)),
      view_(options, spooler_, report_) {
    machine_.addView(view_);
}

TicketService::~TicketService() {
    machine_.removeView(view_);
}

void TicketService::usePrinterOf(const core::Settings& settings) {
    const TicketSettings chosen = TicketSettings::load(settings);
    spooler_.setPrinter(std::make_shared<QtTicketPrinter>(chosen.printer, chosen.paperWidthMm));
    view_.setPrinterAvailable(anyPrinter());
}

void TicketService::reprint(const std::vector<lottery::WinnerRecord>& winners) {
    if (!anyPrinter()) {
        report_(QStringLiteral("本机没有可用的打印机，无法打印奖券。"));
        return;
    }
    spooler_.enqueue(ticketsFor(winners, options_));
}

} // namespace tickets
