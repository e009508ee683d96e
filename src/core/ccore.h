#pragma once

#include "core/core_services.h"
#include "core/message_box.h"

#include <QString>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <string_view>

class QSettings;
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

    // Opens prizedraw.ini (INI format) in the program folder; settings calls open it
    // themselves when this was not called.
    void autoFileConfig();

    std::filesystem::path getAppPath() const override;

    int getConfigFlag(const std::string& key) override;
    int getConfigInt(const std::string& key) override;
    void saveConfigFlag(const std::string& key, int value) override;
    void saveConfigInt(const std::string& key, int value) override;
    bool hasConfig(const std::string& key) override;
    std::string getConfigText(const std::string& key) override;
    void saveConfigText(const std::string& key, const std::string& utf8) override;
    bool flushConfig() override;

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
    QSettings& settings();

    QString appFolder_;
    std::unique_ptr<QSettings> settings_;
    std::mt19937_64 generator_;
};

} // namespace core
