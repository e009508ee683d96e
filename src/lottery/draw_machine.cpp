#include "lottery/draw_machine.h"

#include "lottery/file_text.h"
#include "lottery/participant_file.h"
#include "lottery/prize_file.h"
#include "lottery/results_chain.h"
#include "lottery/results_file.h"
#include "lottery/results_log.h"
#include "lottery/results_reader.h"
#include "lottery/results_records.h"
#include "lottery/safe_file.h"
#include "lottery/sha256.h"
#include "lottery/status_texts.h"
#include "lottery/winner_selection.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace lottery {

DrawMachine::DrawMachine(LotteryData& data, const EventPaths& paths, core::CoreServices& services,
                         DrawClock& clock)
    : data_(data), paths_(paths), services_(services), clock_(clock) {
    fingerprintParticipants();
}

// Taken when the list is read, so that the fingerprint shown before the first press is the
// one recorded at it, whatever happens to the file in between.
void DrawMachine::fingerprintParticipants() {
    picture_.participantsFingerprint = sha256OfFile(paths_.participantFile);
    picture_.participantCount = data_.participants.count();
}

void DrawMachine::savePrizesIfChanged() {
    std::string file;
    if (savePrizes_ &&
        (!readWholeFile(paths_.prizeFile, file) || file != prizeFileBytes(data_.prizeTable)))
        savePrizes_();
}

void DrawMachine::addView(DrawView& view) {
    views_.push_back(&view);
}

void DrawMachine::removeView(DrawView& view) {
    views_.erase(std::remove(views_.begin(), views_.end(), &view), views_.end());
}

void DrawMachine::advance() {
    switch (data_.options.state()) {
    case DrawState::Ready:
        startDraw();
        break;
    case DrawState::Rolling:
        stopRoll();
        break;
    case DrawState::ShowingResult:
        moveOn();
        break;
    }
    reportPendingProblem();
}

void DrawMachine::tick() {
    if (data_.options.state() != DrawState::Rolling)
        return;
    // Every rolling frame is a genuine draw; the stop records the last one unchanged.
    const int prize = currentIndex();
    if (redrawing_) {
        const std::vector<std::string_view> keep(round_.begin(), round_.end());
        drawWinners(data_, prize, static_cast<int>(open_.size()), keep, services_);
    } else {
        drawWinners(data_, prize, roundSize(prize), {}, services_);
    }
    // By text at once: the list may be read again before the stop.
    rolled_.clear();
    for (int i = 0; i < data_.pool.winnerCount; ++i)
        rolled_.emplace_back(data_.participants.rawText(data_.pool.winnerAt(i)));
    show(DrawPicture::Screen::Rolling);
}

void DrawMachine::present() {
    switch (data_.options.state()) {
    case DrawState::Ready:
        show(DrawPicture::Screen::Ready);
        break;
    case DrawState::Rolling:
        show(DrawPicture::Screen::Rolling);
        break;
    case DrawState::ShowingResult:
        show(finished_ ? DrawPicture::Screen::Finished : DrawPicture::Screen::Result);
        break;
    }
}

// A round that rolls for the first time is not counted in the progress yet.
void DrawMachine::countPrize(int prizeIndex, bool roundUncounted) {
    picture_.roundsInAll = prizeIndex >= 0 ? roundsInAll(prizeIndex) : 0;
    picture_.positionsLeft = 0;
    if (prizeIndex < 0)
        return;
    const int total = data_.prizeTable.prizes[static_cast<std::size_t>(prizeIndex)].total;
    picture_.positionsLeft = std::max(0, total - progressOf(prizeIndex).positions -
                                             (roundUncounted ? roundSize(prizeIndex) : 0));
}

ShownEntry DrawMachine::shown(const std::string& raw) const {
    return raw.empty() ? ShownEntry{} : ShownEntry{raw, maskedText(raw, data_.options)};
}

void DrawMachine::show(DrawPicture::Screen screen) {
    finished_ = screen == DrawPicture::Screen::Finished;
    const DrawOptions& options = data_.options;
    picture_.screen = screen;
    picture_.prizeIndex = options.prizeIndex < data_.prizeTable.count() ? options.prizeIndex : -1;
    picture_.roundIndex = options.roundIndex;
    picture_.chainCode = chainCode_;
    picture_.selection.clear();
    const bool rolling = screen == DrawPicture::Screen::Rolling;
    countPrize(picture_.prizeIndex, rolling && !redrawing_);
    if (screen == DrawPicture::Screen::Result || (rolling && redrawing_)) {
        for (const std::string& raw : round_)
            picture_.selection.push_back(shown(raw));
    }
    if (rolling) {
        // A redraw's kept names stand still; its open positions show the draw of this frame.
        for (std::size_t i = 0; i < rolled_.size(); ++i) {
            if (!redrawing_)
                picture_.selection.push_back(shown(rolled_[i]));
            else if (i < open_.size())
                picture_.selection[static_cast<std::size_t>(open_[i].position - 1)] =
                    shown(rolled_[i]);
        }
    }
    // The status lines stand still while the names roll: worked out once per roll.
    if (!rolling || !rolledBefore_)
        picture_.status = statusNow();
    rolledBefore_ = rolling;
    for (DrawView* view : views_)
        view->showPicture(picture_);
}

std::string DrawMachine::nextPressLabel() const {
    switch (data_.options.state()) {
    case DrawState::Ready:
        return "开始";
    case DrawState::Rolling:
        return "停止";
    case DrawState::ShowingResult:
        break;
    }
    if (finished_)
        return "已结束";
    if (!open_.empty() && currentIndex() >= 0)
        return "补抽";
    return anyRoundsLeft() ? "下一轮" : "结束";
}

StatusTexts DrawMachine::statusNow() const {
    const auto stepOf = [this](const char* prefix, int index, int round) {
        const PrizeRecord& prize = data_.prizeTable.prizes[static_cast<std::size_t>(index)];
        return stepText(prefix, prize, round, roundsInAll(index), services_);
    };
    if (data_.options.state() == DrawState::Ready) {
        const int first = nextStep();
        return first < 0 ? StatusTexts{} : StatusTexts{{}, stepOf("下一步：", first, 1)};
    }
    const int index = currentIndex();
    if (index < 0)
        return {};
    StatusTexts texts{stepOf("当前：", index, data_.options.roundIndex + 1), {}};
    if (!open_.empty()) {
        texts.next =
            "下一步：" +
            services_.utf8FromGbk(data_.prizeTable.prizes[static_cast<std::size_t>(index)].title) +
            "，补抽 " + std::to_string(open_.size()) + " 人";
        return texts;
    }
    const int next = nextStep();
    texts.next = next < 0 ? "抽奖结束！" : stepOf("下一步：", next, progressOf(next).rounds + 1);
    return texts;
}

void DrawMachine::playCue(SoundCue cue) {
    for (DrawView* view : views_)
        view->playCue(cue);
}

PrizeKey DrawMachine::keyOf(int prizeIndex) const {
    const auto& prizes = data_.prizeTable.prizes;
    if (prizeIndex < 0 || prizeIndex >= data_.prizeTable.count())
        return {};
    const std::string& id = prizes[static_cast<std::size_t>(prizeIndex)].id;
    const auto copy = std::count_if(prizes.begin(), prizes.begin() + prizeIndex,
                                    [&id](const PrizeRecord& p) { return p.id == id; });
    return {id, static_cast<int>(copy)};
}

// One pass over the table, no text built: it runs at every frame of a roll.
int DrawMachine::indexOf(const PrizeKey& key) const {
    if (key.id.empty())
        return -1;
    int seen = 0;
    for (int i = 0; i < data_.prizeTable.count(); ++i)
        if (data_.prizeTable.prizes[static_cast<std::size_t>(i)].id == key.id && seen++ == key.copy)
            return i;
    return -1;
}

PrizeProgress DrawMachine::progressOf(int prizeIndex) const {
    const auto it = progress_.find(keyOf(prizeIndex));
    return it == progress_.end() ? PrizeProgress{} : it->second;
}

int DrawMachine::roundSize(int prizeIndex) const {
    if (prizeIndex < 0 || prizeIndex >= data_.prizeTable.count())
        return 0;
    const PrizeRecord& prize = data_.prizeTable.prizes[static_cast<std::size_t>(prizeIndex)];
    if (roundsFor(prize.total, prize.perRound) == 0)
        return 0;
    return std::max(0, std::min(winnersPerRound(prize.perRound),
                                prize.total - progressOf(prizeIndex).positions));
}

int DrawMachine::roundsLeft(int prizeIndex) const {
    if (prizeIndex < 0 || prizeIndex >= data_.prizeTable.count())
        return 0;
    const PrizeRecord& prize = data_.prizeTable.prizes[static_cast<std::size_t>(prizeIndex)];
    const int left = prize.total - progressOf(prizeIndex).positions;
    return left > 0 ? roundsFor(left, prize.perRound) : 0;
}

int DrawMachine::roundsInAll(int prizeIndex) const {
    return progressOf(prizeIndex).rounds + roundsLeft(prizeIndex);
}

int DrawMachine::nextStep() const {
    const int chosen = indexOf(chosen_);
    if (chosen >= 0 && roundsLeft(chosen) > 0)
        return chosen;
    const int current = currentIndex();
    if (current >= 0 && roundsLeft(current) > 0)
        return current;
    for (int i = 0; i < data_.prizeTable.count(); ++i)
        if (roundsLeft(i) > 0)
            return i;
    return -1;
}

bool DrawMachine::anyRoundsLeft() const {
    return nextStep() >= 0;
}

// The options name the prize and round on screen for the views.
void DrawMachine::follow(int prizeIndex) {
    current_ = keyOf(prizeIndex);
    data_.options.prizeIndex = prizeIndex;
    data_.options.roundIndex = progressOf(prizeIndex).rounds;
}

void DrawMachine::resume(const ResultsLog& log) {
    clock_.setTicking(false);
    clearProgress();
    drawing_ = true;
    chainCode_ = log.chainCode;
    restoreMarks(data_.participants, log);
    const DrawLedger ledger = readLedger(log, data_.prizeTable);
    int lastSize = 0;
    for (const PrizeLedger& prize : ledger.prizes) {
        const int index = indexOf(prize.key);
        if (index < 0)
            continue;
        PrizeProgress& progress = progress_[prize.key];
        // Each round asked for what the rule gave it then; a round cut short still counts whole.
        for (std::size_t r = 0; r < prize.rounds.size(); ++r) {
            const int size = roundSize(index);
            if (prize.key == ledger.lastPrize && static_cast<int>(r) + 1 == ledger.lastRound)
                lastSize = size;
            progress.positions += std::max(size, static_cast<int>(prize.rounds[r].size()));
        }
        progress.rounds = prize.roundsDone();
        progress.held = prize.held();
        progress.closed = prize.closed();
    }
    current_ = ledger.lastPrize;
    const PrizeLedger* last = ledger.find(current_);
    if (last && currentIndex() >= 0 && ledger.lastRound >= 1)
        resumeRoundOnScreen(log, last->rounds[static_cast<std::size_t>(ledger.lastRound - 1)],
                            lastSize);
    if (!log.chosenPrizeId.empty())
        chosen_ = keyOfLine(WinnerRecord{{}, log.chosenPrizeId, {}, 0, 0, {}}, data_.prizeTable);
    const int index = currentIndex();
    data_.options.prizeIndex = index < 0 ? 0 : index;
    data_.options.roundIndex = ledger.lastRound - 1;
    data_.options.setState(DrawState::ShowingResult);
    // The program stopped before writing the end line of a draw that has nothing left.
    if (open_.empty() && !anyRoundsLeft())
        store(endRecord(services_));
    show(DrawPicture::Screen::Result);
    reportPendingProblem();
}

void DrawMachine::resumeRoundOnScreen(const ResultsLog& log, const std::vector<SeatState>& seats,
                                      int size) {
    round_.assign(std::max(seats.size(), static_cast<std::size_t>(size)), std::string());
    for (std::size_t i = 0; i < round_.size(); ++i) {
        const int position = static_cast<int>(i) + 1;
        const SeatState::State state =
            i < seats.size() ? seats[i].state : SeatState::State::Unrecorded;
        if (state == SeatState::State::Held)
            round_[i] = log.winners[static_cast<std::size_t>(seats[i].holder)].rawText;
        else if (state == SeatState::State::Open)
            open_.push_back({position, WinnerStatus::Replacement});
        else if (state == SeatState::State::Unrecorded)
            open_.push_back({position, WinnerStatus::Winner}); // its line was cut off
    }
}

void DrawMachine::reset() {
    clock_.setTicking(false);
    if (drawing_ && !ended_)
        store(endRecord(services_, true));
    // Set aside at once: no later start may offer to continue it.
    if (drawing_ && unsaved_.empty()) {
        std::string problem;
        if (!setResultsAside(paths_, services_.getTimeNowStr("%Y%m%d%H%M%S"), &problem))
            noteFailure(problem);
    }
    drawing_ = false;
    chainCode_.clear();
    resetProgress(data_.options);
    clearProgress();
    show(DrawPicture::Screen::Ready);
    reportPendingProblem();
}

void DrawMachine::clearProgress() {
    finished_ = false;
    progress_.clear();
    current_ = {};
    chosen_ = {};
    round_.clear();
    open_.clear();
    rolled_.clear();
    redrawing_ = false;
}

void DrawMachine::resetProgress(DrawOptions& options) {
    options.prizeIndex = 0;
    options.roundIndex = 0;
    options.setState(DrawState::Ready);
}

void DrawMachine::prizesChanged() {
    sortPrizes(data_.prizeTable);
    const int index = currentIndex();
    if (index >= 0) {
        data_.options.prizeIndex = index;
    } else if (data_.options.state() == DrawState::Ready) {
        const int first = nextStep();
        data_.options.prizeIndex = first < 0 ? 0 : first;
    }
}

std::string DrawMachine::whyNoAbsentMarks() const {
    if (data_.options.state() == DrawState::Rolling)
        return "正在抽取，请先停止。";
    if (data_.options.state() == DrawState::Ready || round_.empty() || currentIndex() < 0)
        return "屏幕上没有本轮的中奖者。";
    if (finished_)
        return "抽奖已结束。";
    return {};
}

std::string DrawMachine::whyNoPrizeChoice() const {
    if (data_.options.state() == DrawState::Rolling)
        return "正在抽取，请先停止。";
    if (finished_)
        return "抽奖已结束。";
    if (!open_.empty())
        return "请先补抽缺席者的位置。";
    if (!anyRoundsLeft())
        return "所有奖项都已抽完。";
    return {};
}

void DrawMachine::declareAbsent(const std::vector<int>& positions) {
    if (!whyNoAbsentMarks().empty())
        return;
    std::vector<Seat> absent;
    for (const int position : positions) {
        const std::size_t at = static_cast<std::size_t>(position - 1);
        if (position >= 1 && at < round_.size() && !round_[at].empty())
            absent.push_back({position, round_[at]});
    }
    if (absent.empty())
        return;
    // On disk before the screen changes.
    const PrizeRecord& prize = data_.prizeTable.prizes[static_cast<std::size_t>(currentIndex())];
    ResultsRecord record = positionsRecord(prize, data_.options.roundIndex + 1, absent,
                                           WinnerStatus::Absent, services_);
    markWinners(record.winners);
    store(std::move(record));
    PrizeProgress& progress = progress_[current_];
    for (const Seat& seat : absent) {
        round_[static_cast<std::size_t>(seat.position - 1)].clear();
        open_.push_back({seat.position, WinnerStatus::Replacement});
        --progress.held;
    }
    std::sort(open_.begin(), open_.end(),
              [](const OpenSeat& a, const OpenSeat& b) { return a.position < b.position; });
    show(DrawPicture::Screen::Result);
    reportPendingProblem();
}

void DrawMachine::choosePrize(int prizeIndex) {
    if (!whyNoPrizeChoice().empty() || !canChoose(prizeIndex))
        return;
    chosen_ = keyOf(prizeIndex);
    if (data_.options.state() == DrawState::Ready)
        data_.options.prizeIndex = prizeIndex;
    else if (drawing_) // on disk before it shows, so that a restart goes on with it
        store(
            choiceRecord(data_.prizeTable.prizes[static_cast<std::size_t>(prizeIndex)], services_));
    present();
    reportPendingProblem();
}

// The marks follow every record the moment it is made, whatever the disk does, so that the
// names shown are never drawn again.
void DrawMachine::markWinners(const std::vector<WinnerRecord>& winners) {
    for (const WinnerRecord& winner : winners)
        markRecord(data_.participants, winner);
}

std::string DrawMachine::whyNotDelete(int prizeIndex) const {
    const bool rolling =
        data_.options.state() == DrawState::Rolling && prizeIndex == currentIndex();
    if (rolling)
        return "这个奖项正在抽取，不能删除。";
    if (data_.options.state() != DrawState::Ready && progressOf(prizeIndex).rounds > 0)
        return "这个奖项在本次抽奖中已有中奖者，不能删除。";
    return {};
}

std::string DrawMachine::whyNotChangeId(int prizeIndex) const {
    if (data_.options.state() == DrawState::Rolling && prizeIndex == currentIndex())
        return "这个奖项正在抽取，不能修改唯一编号。";
    if (progressOf(prizeIndex).rounds > 0)
        return "这个奖项在本次抽奖中已有中奖者，不能修改唯一编号。";
    return {};
}

std::string DrawMachine::whyNotTotal(int prizeIndex, int total) const {
    if (data_.options.state() == DrawState::Ready)
        return {};
    const PrizeProgress progress = progressOf(prizeIndex);
    if (total < progress.held)
        return "这个奖项在本次抽奖中已有 " + std::to_string(progress.held) +
               " 名中奖者，抽取总人数不能少于这个数。";
    return {};
}

void DrawMachine::startDraw() {
    const PrizeKey chosen = chosen_;
    clearProgress();
    chosen_ = chosen; // chosen before the first press: the first prize
    const int first = nextStep();
    if (first < 0) {
        show(DrawPicture::Screen::Ready);
        return;
    }
    // A file that cannot be read may hold a draw: moving it aside unread could lose it.
    if (readResultsLog(paths_.resultFile, services_).unreadable) {
        noteFailure(
            "抽奖结果文件 " + pathText(paths_.resultFile) +
            " 无法读取，为免丢失其中的记录，没有开始新的抽奖。请检查该文件后重新启动本程序。");
        show(DrawPicture::Screen::Ready);
        return;
    }
    follow(first);
    drawing_ = true;
    store(startRecord(services_));
    // The files of the draw: anyone holding them can check it.
    savePrizesIfChanged();
    store(fingerprintRecord(picture_.participantsFingerprint, picture_.participantCount,
                            paths_.prizeFile, services_));
    data_.participants.clearMarks();
    startRoll();
}

void DrawMachine::startRoll() {
    playCue(SoundCue::Rolling);
    data_.options.setState(DrawState::Rolling);
    tick();
    clock_.setTicking(true);
}

void DrawMachine::stopRoll() {
    DrawOptions& options = data_.options;
    options.setState(DrawState::ShowingResult);
    playCue(SoundCue::Result);
    clock_.setTicking(false);
    const int index = currentIndex();
    if (index < 0) {
        // The prize went from the table during the roll: nothing to record or show.
        redrawing_ = false;
        show(DrawPicture::Screen::Finished);
        return;
    }
    options.prizeIndex = index;
    const PrizeRecord& prize = data_.prizeTable.prizes[static_cast<std::size_t>(index)];
    PrizeProgress& progress = progress_[current_];
    // Recorded before the result is shown, so what the operator sees is already on disk.
    std::vector<WinnerRecord> recorded;
    if (redrawing_) {
        recorded = stopRedraw(prize);
    } else {
        const int size = roundSize(index);
        const int round = progress.rounds + 1;
        std::vector<Seat> seats;
        for (const std::string& raw : rolled_)
            seats.push_back({static_cast<int>(seats.size()) + 1, raw});
        ResultsRecord record =
            positionsRecord(prize, round, seats, WinnerStatus::Winner, services_);
        std::vector<int> missing;
        for (int position = static_cast<int>(seats.size()) + 1; position <= size; ++position)
            missing.push_back(position);
        recordShort(prize, round, missing, size, record);
        markWinners(record.winners);
        recorded = store(std::move(record));
        progress.rounds = round;
        progress.positions += size;
        progress.held += static_cast<int>(seats.size());
        progress.closed += static_cast<int>(missing.size());
        round_ = rolled_;
    }
    if (!anyRoundsLeft())
        store(endRecord(services_));
    show(DrawPicture::Screen::Result);
    if (!recorded.empty())
        for (DrawView* view : views_)
            view->winnersRecorded(recorded);
}

std::vector<WinnerRecord> DrawMachine::stopRedraw(const PrizeRecord& prize) {
    const int round = data_.options.roundIndex + 1;
    std::vector<Seat> replacements;
    std::vector<Seat> winners; // positions whose line was cut off
    std::vector<int> unfilled;
    for (std::size_t i = 0; i < open_.size(); ++i) {
        if (i >= rolled_.size()) {
            unfilled.push_back(open_[i].position);
            continue;
        }
        const Seat seat{open_[i].position, rolled_[i]};
        (open_[i].fillAs == WinnerStatus::Winner ? winners : replacements).push_back(seat);
        round_[static_cast<std::size_t>(seat.position - 1)] = seat.rawText;
    }
    ResultsRecord record =
        positionsRecord(prize, round, replacements, WinnerStatus::Replacement, services_);
    const ResultsRecord drawn =
        positionsRecord(prize, round, winners, WinnerStatus::Winner, services_);
    record.bytes += drawn.bytes;
    record.winners.insert(record.winners.end(), drawn.winners.begin(), drawn.winners.end());
    recordShort(prize, round, unfilled, static_cast<int>(open_.size()), record);
    markWinners(record.winners);
    PrizeProgress& progress = progress_[current_];
    progress.held += static_cast<int>(record.winners.size());
    progress.closed += static_cast<int>(unfilled.size());
    open_.clear();
    redrawing_ = false;
    return store(std::move(record));
}

// Positions nobody could be drawn for are closed on disk with the round, and the operator is
// told: a prize is never left short in silence.
void DrawMachine::recordShort(const PrizeRecord& prize, int round,
                              const std::vector<int>& positions, int asked, ResultsRecord& record) {
    if (positions.empty())
        return;
    const int empty = static_cast<int>(positions.size());
    record.bytes += shortRecord(prize, round, positions, "候选人不足", services_).bytes;
    notice_ = "【" + services_.utf8FromGbk(prize.title) + "】第 " + std::to_string(round) +
              " 轮应抽 " + std::to_string(asked) + " 人，只有 " + std::to_string(asked - empty) +
              " 名候选人，" + std::to_string(empty) + " 个位置空缺。";
}

void DrawMachine::moveOn() {
    if (finished_) {
        show(DrawPicture::Screen::Finished);
        return;
    }
    if (!open_.empty() && currentIndex() >= 0) {
        redrawing_ = true;
        startRoll();
        return;
    }
    const int next = nextStep();
    if (next < 0) {
        show(DrawPicture::Screen::Finished);
        return;
    }
    chosen_ = {};
    follow(next);
    round_.clear();
    startRoll();
}

std::vector<WinnerRecord> DrawMachine::store(ResultsRecord record) {
    if (record.bytes.empty())
        return {};
    // Chained when made: queued records and the rescued file chain the same as the disk.
    chainRecord(record, chainCode_);
    if (record.kind == ResultsRecord::Kind::End || record.kind == ResultsRecord::Kind::Round)
        ended_ = record.kind == ResultsRecord::Kind::End;
    std::vector<WinnerRecord> winners = record.winners;
    unsaved_.push_back(std::move(record));
    flushUnsaved();
    return winners;
}

bool DrawMachine::retryUnsaved() {
    // Between presses nobody is waiting for an answer: what still fails was told already.
    const bool done = flushUnsaved();
    pendingProblem_.clear();
    return done;
}

bool DrawMachine::flushUnsaved() {
    while (!unsaved_.empty()) {
        std::string problem;
        const WriteOutcome outcome = writeRecord(paths_, unsaved_.front(), &problem);
        if (outcome != WriteOutcome::Written)
            noteFailure(problem);
        if (outcome == WriteOutcome::Failed)
            return false;
        unsaved_.pop_front();
    }
    return true;
}

ResultsLog DrawMachine::results() const {
    std::size_t linesOnDisk = 0;
    const std::string bytes = resultsWithUnsaved(&linesOnDisk);
    ResultsLog log = parseResultsLog(bytes, services_);
    for (WinnerRecord& winner : log.winners)
        winner.saved = static_cast<std::size_t>(winner.line) <= linesOnDisk;
    return log;
}

std::string DrawMachine::resultsWithUnsaved(std::size_t* linesOnDisk) const {
    std::string bytes;
    const bool startUnsaved =
        std::any_of(unsaved_.begin(), unsaved_.end(), [](const ResultsRecord& record) {
            return record.kind == ResultsRecord::Kind::Start;
        });
    if (!startUnsaved && readWholeFile(paths_.resultFile, bytes))
        bytes = healedResults(std::move(bytes));
    if (linesOnDisk)
        *linesOnDisk = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    for (const ResultsRecord& record : unsaved_)
        bytes += record.bytes;
    return bytes;
}

void DrawMachine::participantsReloaded() {
    fingerprintParticipants();
    if (drawing_) {
        restoreMarks(data_.participants, results());
        // The rounds from here on are drawn from this list: anyone checking needs to know.
        store(listRecord(picture_.participantsFingerprint, picture_.participantCount, services_));
    } else {
        data_.participants.clearMarks();
    }
    if (data_.options.state() == DrawState::Rolling)
        tick();
    else
        present();
    reportPendingProblem();
}

int DrawMachine::unsavedRounds() const {
    return static_cast<int>(
        std::count_if(unsaved_.begin(), unsaved_.end(), [](const ResultsRecord& record) {
            return record.kind == ResultsRecord::Kind::Round;
        }));
}

void DrawMachine::noteFailure(const std::string& problem) {
    if (pendingProblem_.empty())
        pendingProblem_ = problem;
}

// Told at every press that leaves something unsaved: each round shown but not on disk.
void DrawMachine::reportPendingProblem() {
    if (!notice_.empty()) {
        for (DrawView* view : views_)
            view->reportNotice(notice_);
        notice_.clear();
    }
    if (pendingProblem_.empty())
        return;
    std::string message = "抽奖结果未能写入文件，抽奖继续进行。\n" + pendingProblem_;
    pendingProblem_.clear();
    const int rounds = unsavedRounds();
    if (rounds > 0)
        message +=
            "\n\n尚有 " + std::to_string(rounds) +
            " 轮中奖结果只保存在内存中（抽奖结果中标为“未保存”）。已显示的中奖者不会重新抽取；"
            "之后每次写入前都会重试，退出时可另存到别处。";
    for (DrawView* view : views_)
        view->reportProblem(message);
}

} // namespace lottery
