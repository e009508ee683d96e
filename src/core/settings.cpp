#include "core/settings.h"

#include "core/leading_int.h"

#include <QSettings>

namespace core {

namespace {

QString keyOf(Setting setting) {
    return QString::fromLatin1(entryOf(setting).name);
}

} // namespace

Settings::Settings(const QString& iniFile)
    : store_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

Settings::Settings(std::unique_ptr<QSettings> store) : store_(std::move(store)) {}

Settings::Settings(Settings&&) noexcept = default;
Settings::~Settings() = default;

Settings Settings::user() {
    return Settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                QStringLiteral("prizedraw"),
                                                QStringLiteral("prizedraw")));
}

bool Settings::contains(Setting setting) const {
    return store_->contains(keyOf(setting));
}

// A hand-edited file may hold anything; QVariant would wrap around.
int Settings::number(Setting setting) const {
    const int value = parseLeadingInt(store_->value(keyOf(setting), 0).toString().toStdString());
    if (entryOf(setting).kind == SettingKind::Flag)
        return value != 0 ? 1 : 0;
    return value;
}

QString Settings::text(Setting setting) const {
    return store_->value(keyOf(setting)).toString();
}

QStringList Settings::list(Setting setting) const {
    return store_->value(keyOf(setting)).toStringList();
}

void Settings::set(Setting setting, int value) {
    if (entryOf(setting).kind == SettingKind::Flag)
        value = value != 0 ? 1 : 0;
    store_->setValue(keyOf(setting), value);
}

void Settings::set(Setting setting, const QString& value) {
    store_->setValue(keyOf(setting), value);
}

void Settings::set(Setting setting, const QStringList& value) {
    store_->setValue(keyOf(setting), value);
}

bool Settings::sync() {
    store_->sync();
    return store_->status() == QSettings::NoError;
}

} // namespace core
