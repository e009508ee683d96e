#pragma once

#include "core/setting.h"

#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

namespace core {

// The one way to a settings file: typed keys, each read and written as its kind says.
class Settings {
public:
    // An event's prizedraw.ini.
    explicit Settings(const QString& iniFile);
    // The user's own settings (on Linux ~/.config/prizedraw/prizedraw.ini).
    static Settings user();
    Settings(Settings&&) noexcept;
    ~Settings();

    bool contains(Setting setting) const;
    int number(Setting setting) const;
    QString text(Setting setting) const;
    QStringList list(Setting setting) const;

    void set(Setting setting, int value);
    void set(Setting setting, const QString& value);
    void set(Setting setting, const QStringList& value);
    // Writes pending changes; false when the file could not be written.
    bool sync();

private:
    explicit Settings(std::unique_ptr<QSettings> store);

    std::unique_ptr<QSettings> store_;
};

} // namespace core
