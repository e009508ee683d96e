#pragma once

#include <QString>

namespace tickets {

// Where tickets print, kept in the settings file beside the options.
struct TicketSettings {
    QString printer; // empty: the system's default printer
    int paperWidthMm = 58;

    static TicketSettings load(const QString& settingsFile);
    // False when the settings file could not be written.
    bool save(const QString& settingsFile) const;
};

} // namespace tickets
