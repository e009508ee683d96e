#include "tickets/ticket_settings.h"

#include "core/settings.h"
#include "tickets/ticket_layout.h"

namespace tickets {

TicketSettings TicketSettings::load(const core::Settings& settings) {
    TicketSettings loaded;
    loaded.printer = settings.text(core::Setting::Printer);
    loaded.paperWidthMm = paperWidthOrDefault(settings.number(core::Setting::PaperWidth));
    return loaded;
}

bool TicketSettings::save(core::Settings& settings) const {
    settings.set(core::Setting::Printer, printer);
    settings.set(core::Setting::PaperWidth, paperWidthMm);
    return settings.sync();
}

} // namespace tickets
