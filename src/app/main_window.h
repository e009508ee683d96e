#pragma once

#include "app/picture_listener.h"
#include "app/prize_store.h"
#include "app/screen_roles.h"
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

class QScreen;

namespace console {
class ConsoleWindow;
} // namespace console

namespace drawscreen {
class DrawKeyFilter;
class DrawWindow;
} // namespace drawscreen

namespace tickets {
class TicketService;
} // namespace tickets

namespace app {

class DrawSession;

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
    // The draw, once the event is loaded; null before or when it could not be.
    DrawSession* session() const { return session_.get(); }
    float displayScale() const { return displayScale_; }
    QRect drawWindowRect() const { return drawWindowRect_; }
    // Runs the shutdown (once): settings, then the prize file.
    void shutdown();
    // Places the presenter on the audience screen and, with two screens or consoleAsked, the
    // operator's console on the other; follows screens that come and go.
    void useScreens(bool consoleAsked);
    console::ConsoleWindow* console() const { return console_.get(); }
    void OnSwapScreens();

    // Told before the load's own messages, in the same box.
    void addStartupProblem(const std::string& utf8Text) { startupProblems_.push_back(utf8Text); }

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
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnInitDialog();
    void onStartupTimer();
    void placeDrawWindow();
    // The session and the views of a loaded event.
    void openDraw();
    // Without a draw yet: reads the list and opens the draw once there are prizes and entries.
    void openDrawOnceReady();
    static QList<ScreenInfo> currentScreens();
    QString storedAudience();
    void followScreens();
    QScreen* screenAt(int index) const;
    void placePresenter();
    void openConsole();
    void placeConsole();
    void closeConsole();
    // Sizes, the background, the draw window and displayScale for a screen of that size.
    void layOutFor(QSize screen);
    bool bigScreen() const;
    // The draw key, from any window: it finishes the 大屏 reveal, else goes to the draw.
    void press();
    // What the audience sees, background included, at a quarter of its size.
    QImage audienceView();
    void reloadParticipants();
    void savePrizes();
    // Every dialog and message box opens over the operator's window: the console when there
    // is one, so the audience screen shows only the draw.
    QWidget* dialogOwner();
    void warn(const std::string& utf8Text);
    void warnAll(const std::vector<std::string>& warnings);
    // What goes wrong during the draw: into the console's problems when there is one.
    void reportProblem(const QString& text);

    core::CCore core_;
    lottery::EventPaths paths_;
    lottery::LotteryData data_;
    QSize screenSize_;
    float displayScale_;
    QRect drawWindowRect_;
    paint::PaintElementList backgroundList_;
    QImage stageBackground_;   // 大屏: the whole screen's background
    QImage previewBackground_; // the same at the preview's size
    QTimer startupTimer_;
    std::unique_ptr<DrawSession> session_;
    drawscreen::DrawWindow* drawWindow_ = nullptr;
    std::unique_ptr<console::ConsoleWindow> console_;
    std::unique_ptr<PictureListener> resultsFeed_; // the console's results after each round
    std::unique_ptr<tickets::TicketService> tickets_;
    QList<ScreenInfo> screens_;
    ScreenRoles roles_;
    bool consoleAsked_ = false;
    std::unique_ptr<drawscreen::DrawKeyFilter> keyFilter_;
    bool shutDown_ = false;
    SavePathAsker askSavePath_;
    PrizeStore prizeStore_;
    std::vector<std::string> startupProblems_;
};

} // namespace app
