#include "core/ccore.h"

#include "core/gbk_codec.h"
#include "core/local_time.h"
#include "core/message_box.h"
#include "core/path_conversion.h"
#include "core/settings_file.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
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

} // namespace

CCore::CCore(const QString& appFolder)
    : appFolder_(QDir::cleanPath(
          QDir(appFolder.isEmpty() ? QCoreApplication::applicationDirPath() : appFolder)
              .absolutePath())),
      generator_(seededGenerator()) {}

CCore::~CCore() = default;

Settings& CCore::settings() {
    if (!settings_)
        settings_ = std::make_unique<Settings>(QDir(appFolder_).filePath(kSettingsFileName));
    return *settings_;
}

std::filesystem::path CCore::getAppPath() const {
    return toFsPath(appFolder_);
}

bool CCore::hasSetting(Setting setting) {
    return settings().contains(setting);
}

int CCore::settingNumber(Setting setting) {
    return settings().number(setting);
}

std::string CCore::settingText(Setting setting) {
    return settings().text(setting).toStdString();
}

void CCore::setSetting(Setting setting, int value) {
    settings().set(setting, value);
}

void CCore::setSetting(Setting setting, const std::string& utf8) {
    settings().set(setting, QString::fromStdString(utf8));
}

bool CCore::flushSettings() {
    return settings().sync();
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
