#include "core/ccore.h"

#include "core/gbk_codec.h"
#include "core/leading_int.h"
#include "core/local_time.h"
#include "core/message_box.h"
#include "core/path_conversion.h"
#include "core/settings_file.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QSettings>
#include <QUrl>

#include <ctime>

namespace core {

namespace {

std::mt19937_64 seededGenerator() {
    std::random_device entropy;
    std::seed_seq seed{entropy(), entropy(), entropy(), entropy(),
                       entropy(), entropy(), entropy(), entropy()};
    return std::mt19937_64(seed);
}

QString keyOf(const std::string& key) {
    return QString::fromStdString(key);
}

// A hand-edited settings file may hold anything; QVariant would wrap around.
int configNumber(const QVariant& value) {
    return parseLeadingInt(value.toString().toStdString());
}

} // namespace

CCore::CCore(const QString& appFolder)
    : appFolder_(QDir::cleanPath(
          QDir(appFolder.isEmpty() ? QCoreApplication::applicationDirPath() : appFolder)
              .absolutePath())),
      generator_(seededGenerator()) {}

CCore::~CCore() = default;

void CCore::autoFileConfig() {
    if (!settings_)
        settings_ = std::make_unique<QSettings>(QDir(appFolder_).filePath(kSettingsFileName),
                                                QSettings::IniFormat);
}

QSettings& CCore::settings() {
    autoFileConfig();
    return *settings_;
}

std::filesystem::path CCore::getAppPath() const {
    return toFsPath(appFolder_);
}

int CCore::getConfigFlag(const std::string& key) {
    return configNumber(settings().value(keyOf(key), 0)) != 0 ? 1 : 0;
}

int CCore::getConfigInt(const std::string& key) {
    return configNumber(settings().value(keyOf(key), 0));
}

void CCore::saveConfigFlag(const std::string& key, int value) {
    settings().setValue(keyOf(key), value != 0 ? 1 : 0);
}

void CCore::saveConfigInt(const std::string& key, int value) {
    settings().setValue(keyOf(key), value);
}

bool CCore::hasConfig(const std::string& key) {
    return settings().contains(keyOf(key));
}

std::string CCore::getConfigText(const std::string& key) {
    return settings().value(keyOf(key)).toString().toStdString();
}

void CCore::saveConfigText(const std::string& key, const std::string& utf8) {
    settings().setValue(keyOf(key), QString::fromStdString(utf8));
}

bool CCore::flushConfig() {
    QSettings& store = settings();
    store.sync();
    return store.status() == QSettings::NoError;
}

int CCore::getRandInt(int low, int high) {
    if (low >= high)
        return low;
    return std::uniform_int_distribution<int>(low, high)(generator_);
}

std::string CCore::getTimeNowStr(const std::string& format) {
    return formatLocalTime(std::time(nullptr), format);
}

bool CCore::fileExists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::string CCore::gbkFromUtf8(std::string_view utf8, int* unmappable) {
    return GbkCodec::fromUtf8(utf8, unmappable);
}

std::string CCore::utf8FromGbk(std::string_view gbk) {
    return GbkCodec::toUtf8(gbk);
}

bool CCore::openUrl(const std::filesystem::path& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(toQString(path)));
}

QMessageBox::StandardButton CCore::msgboxConfirm(QWidget* owner, const QString& text,
                                                 QMessageBox::StandardButton defaultAnswer) {
    return showMessageBox(MessageKind::Confirm, owner, text, defaultAnswer);
}

void CCore::msgboxInfo(QWidget* owner, const QString& text) {
    showMessageBox(MessageKind::Info, owner, text);
}

void CCore::msgboxWarning(QWidget* owner, const QString& text) {
    showMessageBox(MessageKind::Warning, owner, text);
}

} // namespace core
