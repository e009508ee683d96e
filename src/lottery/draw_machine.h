#pragma once

#include "core/core_services.h"
#include "lottery/draw_view.h"
#include "lottery/lottery_data.h"
#include "lottery/results_log.h"

#include <deque>
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

    // Writes what could not be written so far, in order; true when nothing is left unsaved.
    bool retryUnsaved();
    bool hasUnsaved() const { return !unsaved_.empty(); }
    // The results as they would be on disk had every write succeeded: log (read from the file)
    // with the unsaved winners added, marked saved = false.
    ResultsLog withUnsaved(ResultsLog log) const;
    // The whole results file as it should be, for saving it somewhere else: the file's bytes
    // (unless the draw's start itself is unsaved) followed by every unsaved record.
    std::string resultsWithUnsaved() const;
    // The participant list was re-read: the winners not yet on disk keep their marks too.
    void participantsReloaded();

private:
    void startDraw();
    void startRoll();
    void stopRoll();
    void moveOn();
    // Queues record behind any unsaved ones and writes what it can.
    void store(ResultsRecord record);
    bool flushUnsaved();
    bool isLastRoundOfDraw() const;
    int roundsAt(int prizeIndex) const;
    int unsavedRounds() const;
    void noteFailure(const std::string& problem);
    void reportPendingProblem();

    LotteryData& data_;
    EventPaths paths_;
    core::CoreServices& services_;
    DrawView& view_;
    // Records not yet on disk, oldest first: a write never overtakes an earlier one, so the
    // file keeps the order of the draw.
    std::deque<ResultsRecord> unsaved_;
    std::string pendingProblem_;
};

} // namespace lottery
