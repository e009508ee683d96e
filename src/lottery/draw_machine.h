#pragma once

#include "core/core_services.h"
#include "lottery/draw_view.h"
#include "lottery/lottery_data.h"
#include "lottery/results_log.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace lottery {

// What a draw has done for one prize.
struct PrizeProgress {
    int rounds = 0; // rounds stopped
    int slots = 0;  // positions those rounds asked for; a round short of candidates counts whole
    int held = 0;   // positions held now: winners and replacements, less the absent
};

// The draw run by the space bar: Ready -> Rolling -> ShowingResult -> Rolling ... -> end.
// It selects the winners at every frame, records them, and hands every view the same picture.
// Progress is kept per prize, by identity, so that editing, re-sorting or choosing prizes
// never moves the draw onto another prize. data.options.prizeIndex and roundIndex follow the
// prize and round on screen, for the views.
class DrawMachine {
public:
    DrawMachine(LotteryData& data, const EventPaths& paths, core::CoreServices& services,
                DrawClock& clock);

    // Views are shown the draw in the order they were added; each must outlive the machine.
    void addView(DrawView& view);
    void removeView(DrawView& view);

    // One key-down of the draw key.
    void advance();
    // One frame of the clock: while rolling, a fresh selection is shown.
    void tick();
    // Shows the current picture again (the window was placed, the names re-read).
    void present();
    const DrawPicture& picture() const { return picture_; }
    // What the next press does, for a button that stands for the draw key (UTF-8):
    // 开始, 停止, 补抽, 下一轮, 结束 (the finished screen comes next) or 已结束.
    std::string nextPressLabel() const;

    // Goes on with the unfinished draw log records: each prize's progress, the absent entries
    // and the round last shown, as it was. The marks must already be restored.
    void resume(const ResultsLog& log);
    // Back to the start with the roll stopped; the caller then shows the ready screen.
    void reset();
    // The field part of reset, for when there is no draw window.
    static void resetProgress(DrawOptions& options);

    // The prize table changed (edited, added to, re-sorted): the draw follows its prizes.
    void prizesChanged();
    // Whether the operator may mark winners absent now, and choose the next prize now; an
    // empty text means yes, otherwise it says why not (UTF-8).
    std::string whyNoAbsentMarks() const;
    std::string whyNoPrizeChoice() const;
    // Marks the winners at these positions (from 1) of the round on screen absent, on disk at
    // once; the next press redraws their positions.
    void markAbsent(const std::vector<int>& positions);
    // The prize at this index of the table is the next step (before the first press: the first).
    void choosePrize(int prizeIndex);
    // Rounds and positions of the prize at index: done so far and in all (after edits).
    PrizeProgress progressOf(int prizeIndex) const;
    int roundsInAll(int prizeIndex) const;
    // The prize being rolled, or holding winners in this draw, may not be deleted or get a
    // total below its winners: an empty text when the edit is fine, else why not (UTF-8).
    std::string whyNotDelete(int prizeIndex) const;
    std::string whyNotTotal(int prizeIndex, int total) const;
    // The results file names winners by id: a new id would lose the prize's progress.
    std::string whyNotChangeId(int prizeIndex) const;
    // The round on screen, position by position: entry index, -1 for a freed position.
    const std::vector<int>& roundOnScreen() const { return round_; }

    // Writes what could not be written so far, in order; true when nothing is left unsaved.
    bool retryUnsaved();
    bool hasUnsaved() const { return !unsaved_.empty(); }
    // The results as they would be on disk had every write succeeded: log (read from the file)
    // with the unsaved winners added, marked saved = false.
    ResultsLog withUnsaved(ResultsLog log) const;
    // The whole results file as it should be, for saving it somewhere else: the file's bytes
    // (unless the draw's start itself is unsaved) followed by every unsaved record.
    std::string resultsWithUnsaved() const;
    // The participant list was re-read: the winners not yet on disk keep their marks too, and
    // the list's fingerprint is taken anew.
    void participantsReloaded();
    // Writes the prize table to its file; called at the first press when the table differs
    // from the file, so that the recorded fingerprint is that of the prizes drawn.
    void setPrizeSaver(std::function<void()> save) { savePrizes_ = std::move(save); }

private:
    void startDraw();
    void clearProgress();
    void startRoll();
    void stopRoll();
    void moveOn();
    void show(DrawPicture::Screen screen);
    void computeNameFont();
    void playCue(SoundCue cue);
    StatusTexts statusNow() const;
    // Key of the prize at index: its id, and which of the prizes of that id it is.
    std::string keyOf(int prizeIndex) const;
    int indexOf(const std::string& key) const;
    int currentIndex() const { return indexOf(current_); }
    int roundsLeft(int prizeIndex) const;
    int roundSize(int prizeIndex) const;
    // The next step: the chosen prize, else the same prize's next round, else the first prize
    // in draw order with rounds left; -1 when none is left.
    int nextStep() const;
    bool anyRoundsLeft() const;
    void follow(int prizeIndex);
    // Queues record behind any unsaved ones and writes what it can.
    // Returns the record's winners with their chain codes.
    std::vector<WinnerRecord> store(ResultsRecord record);
    void fingerprintParticipants();
    void savePrizesIfChanged();
    bool flushUnsaved();
    int unsavedRounds() const;
    void noteFailure(const std::string& problem);
    void reportPendingProblem();

    LotteryData& data_;
    EventPaths paths_;
    core::CoreServices& services_;
    DrawClock& clock_;
    std::vector<DrawView*> views_;
    DrawPicture picture_;
    bool finished_ = false;     // the finished screen is up
    bool rolledBefore_ = false; // the picture before this one was a rolling frame
    std::map<std::string, PrizeProgress> progress_;
    std::string current_;    // key of the prize on screen; empty before the first press
    std::string chosen_;     // key of the prize the operator chose as the next step
    std::vector<int> round_; // the round on screen, by position
    std::vector<int> freed_; // positions (from 1) waiting for their redraw
    bool redrawing_ = false; // the roll fills freed positions only
    // Records not yet on disk, oldest first: a write never overtakes an earlier one, so the
    // file keeps the order of the draw.
    std::deque<ResultsRecord> unsaved_;
    // The chain code of the last line made, on disk or queued: the next line chains from it.
    std::string chainCode_;
    std::function<void()> savePrizes_;
    std::string pendingProblem_;
    std::string notice_; // something the operator must know that is no failure
};

} // namespace lottery
