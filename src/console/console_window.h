#pragma once

#include "lottery/draw_machine.h"
#include "lottery/draw_view.h"
#include "lottery/lottery_data.h"
#include "lottery/results_log.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace Ui {
class ConsoleWindow;
}

namespace console {

// The commands the console's buttons run; the program gives them (the menu's own commands).
struct ConsoleCommands {
    std::function<void()> press; // what a press of the space bar does
    std::function<void()> absent, choosePrize, prizeList, options, results, about, exit,
        swapScreens;
};

class ConsoleKeyFilter;

// The operator's window on the laptop's own screen: the event at a glance, the round on
// screen in full, the draw key as a button beside the menu's commands, a small copy of the
// audience screen, the results and the problems. It only shows what the machine hands it.
class ConsoleWindow : public QWidget, public lottery::DrawView {
    Q_OBJECT
public:
    // audienceCanvas: the picture the audience sees now, for the preview.
    ConsoleWindow(const lottery::LotteryData& data, const lottery::DrawMachine& machine,
                  ConsoleCommands commands, std::function<QImage()> audienceCanvas,
                  QWidget* parent = nullptr);
    ~ConsoleWindow() override;

    void showPicture(const lottery::DrawPicture& picture) override;
    void playCue(lottery::SoundCue) override {}
    // Added to the problems list with the time, newest first; never a dialog.
    void reportProblem(const std::string& utf8Message) override;
    // Listed, and shown in a message on the operator's screen.
    void reportNotice(const std::string& utf8Message) override;

    // 交换屏幕 only with two screens.
    void setSwapAvailable(bool available);
    // The recorded winners, newest first; also marks the replacements of the round on screen.
    void refreshResults(const lottery::ResultsLog& log);

    static constexpr int kPreviewPeriodMs = 250;

private:
    void refreshPrizeTable(const lottery::DrawPicture& picture);
    void refreshRound(const lottery::DrawPicture& picture);
    void refreshPreview();
    void showChainCode(const std::string& code);

    std::unique_ptr<Ui::ConsoleWindow> ui_;
    const lottery::LotteryData& data_;
    const lottery::DrawMachine& machine_;
    ConsoleCommands commands_;
    std::function<QImage()> audienceCanvas_;
    lottery::ResultsLog log_;
    lottery::DrawLedger ledger_; // of log_
    QTimer previewTimer_;
    std::optional<std::string> shownChainCode_; // none before the first picture
    ConsoleKeyFilter* keys_;
};

} // namespace console
