#include "tickets/ticket_settings.h"

#include "tickets/ticket_layout.h"

#include <QSettings>

namespace tickets {

TicketSettings TicketSettings::load(const QString& settingsFile) {
    const QSettings settings(settingsFile, QSettings::IniFormat);
    TicketSettings loaded;
    loaded.printer = settings.value(QStringLiteral("printer")).toString();
    loaded.paperWidthMm = paperWidthOrDefault(settings.value(QStringLiteral("paper")).toInt());
    return loaded;
}

bool TicketSettings::save(const QString& settingsFile) const {
    QSettings settings(settingsFile, QSettings::IniFormat);
    settings.setValue(QStringLiteral("printer"), printer);
    settings.setValue(QStringLiteral("paper"), paperWidthMm);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace tickets
