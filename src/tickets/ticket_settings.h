#pragma once

#include <QString>

namespace core {
class Settings;
}

namespace tickets {

// Where tickets print, kept in the settings file beside the options.
struct TicketSettings {
    QString printer; // empty: the system's default printer
    int paperWidthMm = 58;

    static TicketSettings load(const core::Settings& settings);
    // False when the settings file could not be written.
    bool save(core::Settings& settings) const;
};

} // namespace tickets
