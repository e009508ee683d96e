#pragma once

#include "core/core_services.h"
#include "lottery/draw_view.h"
#include "lottery/lottery_data.h"
#include "lottery/results_log.h"

#include <deque>
#include <string>
#include <vector>

namespace lottery {

// The draw run by the space bar: Ready -> Rolling -> ShowingResult -> Rolling ... -> end.
// Its state lives in data.options (prizeIndex, roundIndex, drawState). It selects the winners
// at every frame, records them, and hands every view the same picture of the draw.
class DrawMachine {
public:
    DrawMachine(LotteryData& data, const EventPaths& paths, core::CoreServices& services,
                DrawClock& clock);

    // Views are shown the draw in the order they were added; each must outlive the machine.
    void addView(DrawView& view);

    // One key-down of the draw key.
    void advance();
    // One frame of the clock: while rolling, a fresh selection is shown.
    void tick();
    // Shows the current picture again (the window was placed, the names re-read).
    void present();
    const DrawPicture& picture() const { return picture_; }
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
    void show(DrawPicture::Screen screen);
    void computeNameFont();
    void playCue(SoundCue cue);
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
    DrawClock& clock_;
    std::vector<DrawView*> views_;
    DrawPicture picture_;
    bool finished_ = false; // the finished screen is up
    // Records not yet on disk, oldest first: a write never overtakes an earlier one, so the
    // file keeps the order of the draw.
    std::deque<ResultsRecord> unsaved_;
    std::string pendingProblem_;
};

} // namespace lottery
