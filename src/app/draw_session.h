#pragma once

#include "core/core_services.h"
#include "lottery/draw_machine.h"
#include "lottery/lottery_data.h"

#include <QObject>
#include <QTimer>

#include <vector>

namespace app {

// The draw of one event, outside every window: the machine, its 40 ms clock and the retry of
// results the disk did not take. The draw window, the console and the dialogs are its views
// and send their commands through it.
class DrawSession : public QObject, private lottery::DrawClock {
    Q_OBJECT
public:
    DrawSession(lottery::LotteryData& data, const lottery::EventPaths& paths,
                core::CoreServices& services);

    lottery::DrawMachine& machine() { return machine_; }
    const lottery::DrawMachine& machine() const { return machine_; }

    // The commands that write results: each may leave some unsaved, retried until written.
    void advance();
    void declareAbsent(const std::vector<int>& positions);
    void choosePrize(int prizeIndex);
    void reset();
    void resume(const lottery::ResultsLog& log);

    bool isTicking() const { return frameTimer_.isActive(); }

    static constexpr int kFramePeriodMs = 40;
    static constexpr int kUnsavedRetryMs = 2000;

private:
    void setTicking(bool ticking) override;
    // Unsaved results are written as soon as the disk takes them, not only at the next press.
    void watchUnsaved();

    QTimer frameTimer_;
    QTimer unsavedTimer_;
    lottery::DrawMachine machine_;
};

} // namespace app
