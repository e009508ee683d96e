#pragma once

#include "core/core_services.h"
#include "core/message_box.h"
#include "core/settings.h"

#include <QString>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <string_view>

class QWidget;

namespace core {

// The Qt implementation of the core services, one per process.
class CCore : public CoreServices {
public:
    // appFolder empty: the executable's folder.
    explicit CCore(const QString& appFolder = {});
    ~CCore() override;
    CCore(const CCore&) = delete;
    CCore& operator=(const CCore&) = delete;

    std::filesystem::path getAppPath() const override;

    bool hasSetting(Setting setting) override;
    int settingNumber(Setting setting) override;
    std::string settingText(Setting setting) override;
    void setSetting(Setting setting, int value) override;
    void setSetting(Setting setting, const std::string& utf8) override;
    bool flushSettings() override;
    // prizedraw.ini in the program folder, opened at the first use.
    Settings& settings();

    // low > high is a caller error and gives low.
    int getRandInt(int low, int high) override;
    std::string getTimeNowStr(const std::string& format) override;
    bool fileExists(const std::filesystem::path& path) override;

    std::string gbkFromUtf8(std::string_view utf8, int* unmappable = nullptr) override;
    std::string utf8FromGbk(std::string_view gbk) override;

    // Hands the file to the desktop's default open action; does not wait.
    bool openUrl(const std::filesystem::path& path);

    // Yes or No; defaultAnswer is the one Space and Return give.
    static QMessageBox::StandardButton
    msgboxConfirm(QWidget* owner, const QString& text,
                  QMessageBox::StandardButton defaultAnswer = QMessageBox::No);
    static void msgboxInfo(QWidget* owner, const QString& text);
    static void msgboxWarning(QWidget* owner, const QString& text);

private:
    QString appFolder_;
    std::unique_ptr<Settings> settings_;
    std::mt19937_64 generator_;
};

} // namespace core
