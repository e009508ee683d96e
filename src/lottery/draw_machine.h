#pragma once

#include "core/core_services.h"
#include "lottery/draw_view.h"
#include "lottery/lottery_data.h"

#include <string>

namespace lottery {

// The draw run by the space bar: Ready -> Rolling -> ShowingResult -> Rolling ... -> end.
// Its state lives in data.options (prizeIndex, roundIndex, drawState).
class DrawMachine {
public:
    DrawMachine(LotteryData& data, const EventPaths& paths, core::CoreServices& services,
                DrawView& view);

    // One key-down of the draw key.
    void advance();
    // After applyResume: shows the restored round's result, and writes the end line at once
    // when that round was the draw's last (the program stopped before writing it).
    void resume();
    // Back to the start with the roll stopped; the caller then shows the ready screen.
    void reset();
    // The field part of reset, for when there is no draw window.
    static void resetProgress(DrawOptions& options);

private:
    void startDraw();
    void startRoll();
    void stopRoll();
    void moveOn();
    // Rotates the results file; true when it now ends with this draw's start line.
    bool startResultsLog();
    bool isLastRoundOfDraw() const;
    int roundsAt(int prizeIndex) const;
    void noteFailure(const std::string& problem);
    void reportPendingProblem();

    LotteryData& data_;
    EventPaths paths_;
    core::CoreServices& services_;
    DrawView& view_;
    // A failed write is told once per draw, so a broken disk does not stop every press.
    bool problemReported_ = false;
    std::string pendingProblem_;
    // The start line is not written yet: tried again before each round is recorded, so that
    // winners recorded once the disk works again belong to this draw, not the one before.
    bool startLogPending_ = false;
};

} // namespace lottery
