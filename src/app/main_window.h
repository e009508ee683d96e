#pragma once

#include "app/unsaved_results.h"
#include "core/ccore.h"
#include "lottery/lottery_data.h"
#include "paint/paint_element_list.h"
#include "skin/skinned_dialog.h"

#include <QRect>
#include <QString>
#include <QTimer>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QMenu;

namespace drawscreen {
class DrawKeyFilter;
class DrawWindow;
} // namespace drawscreen

namespace app {

// The full-screen window: the background, the event's data, the draw window over its
// middle and the right-click menu. Closing it by any means saves the settings and prizes.
class MainWindow : public skin::SkinnedDialog {
    Q_OBJECT

public:
    // appFolder empty: the executable's folder.
    explicit MainWindow(const QString& appFolder, QSize screenSize);
    ~MainWindow() override;

    // 0.8 on screens at most 1120 pixels wide.
    static float displayScaleFor(int screenWidth);

    lottery::LotteryData& data() { return data_; }
    const lottery::EventPaths& paths() const { return paths_; }
    core::CCore& core() { return core_; }
    drawscreen::DrawWindow* drawWindow() const { return drawWindow_; }
    float displayScale() const { return displayScale_; }
    QRect drawWindowRect() const { return drawWindowRect_; }
    // Runs the shutdown (once): settings, then the prize file.
    void shutdown();
    // Where results the event folder did not take are saved at exit; tests answer here.
    void setSavePathAsker(SavePathAsker ask) { askSavePath_ = std::move(ask); }

    // The menu's commands.
    void OnPrizeList();
    void OnResults();
    void OnAbsent();
    void OnChoosePrize();
    void OnOptions();
    void OnAbout();
    void OnExit();

    // The menu, for tests and the keyboard's context-menu request.
    std::unique_ptr<QMenu> createMenu();

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OnInitDialog();
    void onStartupTimer();
    void createDrawWindow();
    void reloadParticipants();
    void savePrizes();
    void warn(const std::string& utf8Text);
    void warnAll(const std::vector<std::string>& warnings);

    core::CCore core_;
    lottery::EventPaths paths_;
    lottery::LotteryData data_;
    QSize screenSize_;
    float displayScale_;
    QRect drawWindowRect_;
    paint::PaintElementList backgroundList_;
    QTimer startupTimer_;
    drawscreen::DrawWindow* drawWindow_ = nullptr;
    std::unique_ptr<drawscreen::DrawKeyFilter> keyFilter_;
    bool dataLoaded_ = false; // the prize file is only written back once it was read
    bool shutDown_ = false;
    SavePathAsker askSavePath_;
    // Where the prize file as read goes before its first rewrite; empty when nothing is to keep.
    std::filesystem::path prizeBackup_;
};

} // namespace app
