#pragma once

#include "core/core_services.h"
#include "lottery/draw_ledger.h"
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
    int rounds = 0;    // rounds stopped
    int positions = 0; // positions those rounds asked for; a round short of candidates counts whole
    int held = 0;      // positions held now: winners and replacements, less the absent
    int closed = 0;    // positions nobody could be drawn for
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
    // A draw has begun and is not over.
    bool inProgress() const { return drawing_ && !ended_; }
    // What the next press does, for a button that stands for the draw key (UTF-8):
    // 开始, 停止, 补抽, 下一轮, 结束 (the finished screen comes next) or 已结束.
    std::string nextPressLabel() const;

    // Goes on with the unfinished draw log records: each prize's progress, the marks, the
    // round last shown and the next step, as they were. A position of that round no line
    // names (cut off by a power cut) is drawn again by the next press.
    void resume(const ResultsLog& log);
    // Back to the start with the roll stopped: a draw in progress is closed and set aside, so
    // that no later start offers to continue it. The ready screen shows.
    void reset();
    // The field part of reset, for when there is no draw.
    static void resetProgress(DrawOptions& options);

    // The prize table changed (edited, added to): sorts it, and the draw follows its prizes.
    void prizesChanged();
    // Whether the operator may mark winners absent now, and choose the next prize now; an
    // empty text means yes, otherwise it says why not (UTF-8).
    std::string whyNoAbsentMarks() const;
    std::string whyNoPrizeChoice() const;
    // Marks the winners at these positions (from 1) of the round on screen absent, on disk at
    // once; the next press redraws their positions.
    void declareAbsent(const std::vector<int>& positions);
    // Whether the prize at this index may be chosen as the next step: it has rounds left.
    bool canChoose(int prizeIndex) const { return roundsLeft(prizeIndex) > 0; }
    // The prize at this index of the table is the next step (before the first press: the first);
    // during a draw the choice is on disk before it shows.
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
    // The round on screen, position by position: who holds it (GBK), empty for nobody.
    const std::vector<std::string>& roundOnScreen() const { return round_; }
    // The prize of the round on screen; -1 before the first press.
    int currentPrize() const { return currentIndex(); }

    // Writes what could not be written so far, in order; true when nothing is left unsaved.
    bool retryUnsaved();
    bool hasUnsaved() const { return !unsaved_.empty(); }
    // The results as they would be on disk had every write succeeded, read from the file and
    // the records not yet on it; the unsaved winners are marked saved = false.
    ResultsLog results() const;
    // The whole results file as it should be, for saving it somewhere else: the file's bytes
    // (unless the draw's start itself is unsaved) followed by every unsaved record.
    std::string resultsWithUnsaved(std::size_t* linesOnDisk = nullptr) const;
    // The participant list was re-read. Names shown and recorded stay as they are; the marks
    // are restored from the results; the list's fingerprint is taken anew and, during a draw,
    // recorded; a roll goes on drawing from the new list at once.
    void participantsReloaded();
    // Writes the prize table to its file; called at the first press when the table differs
    // from the file, so that the recorded fingerprint is that of the prizes drawn.
    void setPrizeSaver(std::function<void()> save) { savePrizes_ = std::move(save); }

private:
    // A position of the round on screen waiting for its draw: freed by an absent winner
    // (filled by a replacement), or never recorded (filled by a winner).
    struct OpenSeat {
        int position = 0;
        WinnerStatus fillAs = WinnerStatus::Replacement;
    };

    void startDraw();
    void clearProgress();
    void startRoll();
    void stopRoll();
    std::vector<WinnerRecord> stopRedraw(const PrizeRecord& prize);
    void recordShort(const PrizeRecord& prize, int round, const std::vector<int>& positions,
                     int asked, ResultsRecord& record);
    void moveOn();
    void show(DrawPicture::Screen screen);
    void playCue(SoundCue cue);
    StatusTexts statusNow() const;
    ShownEntry shown(const std::string& raw) const;
    void markWinners(const std::vector<WinnerRecord>& winners);
    PrizeKey keyOf(int prizeIndex) const;
    int indexOf(const PrizeKey& key) const;
    int currentIndex() const { return indexOf(current_); }
    int roundsLeft(int prizeIndex) const;
    int roundSize(int prizeIndex) const;
    void countPrize(int prizeIndex, bool roundUncounted);
    // The next step: the chosen prize, else the same prize's next round, else the first prize
    // in draw order with rounds left; -1 when none is left.
    int nextStep() const;
    bool anyRoundsLeft() const;
    void follow(int prizeIndex);
    void resumeRoundOnScreen(const ResultsLog& log, const std::vector<SeatState>& seats, int size);
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
    bool drawing_ = false;      // a draw was started or resumed and not reset since
    bool ended_ = false;        // its end line is the last record made
    std::map<PrizeKey, PrizeProgress> progress_;
    PrizeKey current_;                // the prize on screen; empty before the first press
    PrizeKey chosen_;                 // the prize the operator chose as the next step
    std::vector<std::string> round_;  // the round on screen, by position: who holds it
    std::vector<OpenSeat> open_;      // positions of that round waiting for their draw
    bool redrawing_ = false;          // the roll fills open positions only
    std::vector<std::string> rolled_; // the entries of the latest rolling frame
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
