#include "lottery/draw_machine.h"

#include "lottery/file_text.h"
#include "lottery/prize_file.h"
#include "lottery/results_log.h"
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
    // Every rolling frame is a genuine draw; the stop shows the last one unchanged.
    const int prize = currentIndex();
    if (redrawing_) {
        std::vector<int> keep;
        std::copy_if(round_.begin(), round_.end(), std::back_inserter(keep),
                     [](int j) { return j >= 0; });
        drawWinners(data_, prize, static_cast<int>(freed_.size()), keep, services_);
    } else {
        drawWinners(data_, prize, roundSize(prize), {}, services_);
    }
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

void DrawMachine::show(DrawPicture::Screen screen) {
    finished_ = screen == DrawPicture::Screen::Finished;
    const DrawOptions& options = data_.options;
    picture_.screen = screen;
    picture_.prizeIndex = options.prizeIndex < data_.prizeTable.count() ? options.prizeIndex : -1;
    picture_.roundIndex = options.roundIndex;
    picture_.selection.clear();
    if (screen == DrawPicture::Screen::Rolling && redrawing_) {
        // The kept names stand still; the freed positions show the draw of this frame.
        picture_.selection = round_;
        int next = 0;
        for (int& j : picture_.selection)
            if (j < 0 && next < data_.pool.winnerCount)
                j = data_.pool.winnerAt(next++);
    } else if (screen == DrawPicture::Screen::Rolling) {
        for (int i = 0; i < data_.pool.winnerCount; ++i)
            picture_.selection.push_back(data_.pool.winnerAt(i));
    } else if (screen == DrawPicture::Screen::Result) {
        picture_.selection = round_;
    }
    // The status lines stand still while the names roll: worked out once per roll.
    if (screen != DrawPicture::Screen::Rolling || !rolledBefore_)
        picture_.status = statusNow();
    rolledBefore_ = screen == DrawPicture::Screen::Rolling;
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
    if (!freed_.empty() && currentIndex() >= 0)
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
    if (!freed_.empty()) {
        texts.next =
            "下一步：" +
            services_.utf8FromGbk(data_.prizeTable.prizes[static_cast<std::size_t>(index)].title) +
            "，补抽 " + std::to_string(freed_.size()) + " 人";
        return texts;
    }
    const int next = nextStep();
    texts.next = next < 0 ? "抽奖结束！" : stepOf("下一步：", next, progressOf(next).rounds + 1);
    return texts;
}

void DrawMachine::computeNameFont() {
    for (DrawView* view : views_)
        view->computeNameFont();
}

void DrawMachine::playCue(SoundCue cue) {
    for (DrawView* view : views_)
        view->playCue(cue);
}

std::string DrawMachine::keyOf(int prizeIndex) const {
    const auto& prizes = data_.prizeTable.prizes;
    if (prizeIndex < 0 || prizeIndex >= data_.prizeTable.count())
        return {};
    const std::string& id = prizes[static_cast<std::size_t>(prizeIndex)].id;
    const auto same = std::count_if(prizes.begin(), prizes.begin() + prizeIndex,
                                    [&id](const PrizeRecord& p) { return p.id == id; });
    return id + '\x1F' + std::to_string(same);
}

// One pass over the table, no text built: it runs at every frame of a roll.
int DrawMachine::indexOf(const std::string& key) const {
    const std::size_t mark = key.rfind('\x1F');
    if (mark == std::string::npos)
        return -1;
    const std::string_view id = std::string_view(key).substr(0, mark);
    const int occurrence = std::stoi(key.substr(mark + 1));
    int seen = 0;
    for (int i = 0; i < data_.prizeTable.count(); ++i)
        if (data_.prizeTable.prizes[static_cast<std::size_t>(i)].id == id && seen++ == occurrence)
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
    return std::max(
        0, std::min(winnersPerRound(prize.perRound), prize.total - progressOf(prizeIndex).slots));
}

int DrawMachine::roundsLeft(int prizeIndex) const {
    if (prizeIndex < 0 || prizeIndex >= data_.prizeTable.count())
        return 0;
    const PrizeRecord& prize = data_.prizeTable.prizes[static_cast<std::size_t>(prizeIndex)];
    const int left = prize.total - progressOf(prizeIndex).slots;
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
    chainCode_ = log.chainCode;
    std::string lastKey;
    int lastRound = 0;
    std::vector<bool> freed; // positions of the last round left by an absent winner
    // Each prize's rounds in the order recorded; a round's positions as its lines leave them.
    for (const WinnerRecord& record : log.winners) {
        int index = -1;
        for (int i = 0; i < data_.prizeTable.count() && index < 0; ++i)
            if (data_.prizeTable.prizes[static_cast<std::size_t>(i)].id == record.prizeId &&
                data_.prizeTable.prizes[static_cast<std::size_t>(i)].title == record.prizeTitle)
                index = i;
        for (int i = 0; i < data_.prizeTable.count() && index < 0; ++i)
            if (data_.prizeTable.prizes[static_cast<std::size_t>(i)].id == record.prizeId)
                index = i;
        if (index < 0)
            continue;
        const std::string key = keyOf(index);
        PrizeProgress& progress = progress_[key];
        if (key != lastKey || record.round != lastRound) {
            if (record.round > progress.rounds) {
                progress.slots += roundSize(index);
                progress.rounds = record.round;
            }
            lastKey = key;
            lastRound = record.round;
            round_.clear();
            freed.clear();
            current_ = key;
        }
        const std::size_t at = static_cast<std::size_t>(record.position - 1);
        if (record.position < 1 || record.position > kMaxWinnersPerRound)
            continue;
        if (round_.size() <= at)
            round_.resize(at + 1, -1);
        const int entry = data_.participants.firstOf(record.rawText);
        if (record.status == WinnerStatus::Absent) {
            --progress.held;
            round_[at] = -1;
            freed.resize(round_.size(), false);
            freed[at] = true;
        } else {
            ++progress.held;
            // A winner no longer in the list keeps the position, shown empty.
            round_[at] = entry;
            freed.resize(round_.size(), false);
            freed[at] = false;
        }
    }
    for (std::size_t i = 0; i < freed.size(); ++i)
        if (freed[i])
            freed_.push_back(static_cast<int>(i) + 1);
    const int index = indexOf(current_);
    data_.options.prizeIndex = index < 0 ? 0 : index;
    data_.options.roundIndex = lastRound - 1;
    data_.options.setState(DrawState::ShowingResult);
    computeNameFont();
    // The program stopped before writing the end line of a draw that has nothing left.
    if (freed_.empty() && !anyRoundsLeft())
        store(endRecord(services_));
    show(DrawPicture::Screen::Result);
    reportPendingProblem();
}

void DrawMachine::reset() {
    resetProgress(data_.options);
    clock_.setTicking(false);
    clearProgress();
}

void DrawMachine::clearProgress() {
    finished_ = false;
    progress_.clear();
    current_.clear();
    chosen_.clear();
    round_.clear();
    freed_.clear();
    redrawing_ = false;
}

void DrawMachine::resetProgress(DrawOptions& options) {
    options.prizeIndex = 0;
    options.roundIndex = 0;
    options.setState(DrawState::Ready);
}

void DrawMachine::prizesChanged() {
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
    if (!freed_.empty())
        return "请先补抽缺席者的位置。";
    if (!anyRoundsLeft())
        return "所有奖项都已抽完。";
    return {};
}

void DrawMachine::markAbsent(const std::vector<int>& positions) {
    if (!whyNoAbsentMarks().empty())
        return;
    std::vector<std::pair<int, int>> absent;
    for (const int position : positions) {
        const std::size_t at = static_cast<std::size_t>(position - 1);
        if (position >= 1 && at < round_.size() && round_[at] >= 0)
            absent.emplace_back(position, round_[at]);
    }
    if (absent.empty())
        return;
    // On disk before the screen changes.
    store(positionsRecord(data_, absent, WinnerStatus::Absent, services_));
    PrizeProgress& progress = progress_[current_];
    for (const auto& [position, entry] : absent) {
        round_[static_cast<std::size_t>(position - 1)] = -1;
        freed_.push_back(position);
        --progress.held;
    }
    std::sort(freed_.begin(), freed_.end());
    show(DrawPicture::Screen::Result);
    reportPendingProblem();
}

void DrawMachine::choosePrize(int prizeIndex) {
    if (!whyNoPrizeChoice().empty() || roundsLeft(prizeIndex) <= 0)
        return;
    chosen_ = keyOf(prizeIndex);
    if (data_.options.state() == DrawState::Ready)
        data_.options.prizeIndex = prizeIndex;
    present();
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
    const std::string chosen = chosen_;
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
    computeNameFont();
    store(startRecord(services_));
    // The files of the draw: anyone holding them can check it.
    savePrizesIfChanged();
    store(fingerprintRecord(picture_.participantsFingerprint, picture_.participantCount,
                            paths_.prizeFile, services_));
    clearWinnerMarks(data_.participants);
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
    PrizeProgress& progress = progress_[current_];
    // Recorded before the result is shown, so what the operator sees is already on disk.
    std::vector<WinnerRecord> recorded;
    if (redrawing_) {
        std::vector<std::pair<int, int>> filled;
        for (std::size_t i = 0; i < freed_.size() && static_cast<int>(i) < data_.pool.winnerCount;
             ++i)
            filled.emplace_back(freed_[i], data_.pool.winnerAt(static_cast<int>(i)));
        recorded = store(positionsRecord(data_, filled, WinnerStatus::Replacement, services_));
        for (const auto& [position, entry] : filled)
            round_[static_cast<std::size_t>(position - 1)] = entry;
        progress.held += static_cast<int>(filled.size());
        const std::size_t empty = freed_.size() - filled.size();
        if (empty > 0)
            notice_ = "补抽的候选人不足，有 " + std::to_string(empty) + " 个位置空缺。";
        freed_.clear();
        redrawing_ = false;
    } else {
        const int size = roundSize(index);
        recorded = store(roundRecord(data_, services_));
        progress.rounds += 1;
        progress.slots += size;
        progress.held += data_.pool.winnerCount;
        round_.clear();
        for (int i = 0; i < data_.pool.winnerCount; ++i)
            round_.push_back(data_.pool.winnerAt(i));
    }
    if (!anyRoundsLeft())
        store(endRecord(services_));
    show(DrawPicture::Screen::Result);
    if (!recorded.empty())
        for (DrawView* view : views_)
            view->winnersRecorded(recorded);
}

void DrawMachine::moveOn() {
    if (finished_) {
        show(DrawPicture::Screen::Finished);
        return;
    }
    if (!freed_.empty() && currentIndex() >= 0) {
        redrawing_ = true;
        startRoll();
        return;
    }
    const int next = nextStep();
    if (next < 0) {
        show(DrawPicture::Screen::Finished);
        return;
    }
    const bool samePrize = keyOf(next) == current_;
    chosen_.clear();
    follow(next);
    round_.clear();
    if (!samePrize)
        computeNameFont();
    startRoll();
}

std::vector<WinnerRecord> DrawMachine::store(ResultsRecord record) {
    if (record.bytes.empty())
        return {};
    // Chained when made: queued records and the rescued file chain the same as the disk.
    chainRecord(record, chainCode_);
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

ResultsLog DrawMachine::withUnsaved(ResultsLog log) const {
    for (const ResultsRecord& record : unsaved_) {
        switch (record.kind) {
        case ResultsRecord::Kind::Start:
            log = ResultsLog{};
            log.started = true;
            log.startTime = record.time;
            break;
        case ResultsRecord::Kind::Fingerprint:
            break;
        case ResultsRecord::Kind::Round:
            log.winners.insert(log.winners.end(), record.winners.begin(), record.winners.end());
            break;
        case ResultsRecord::Kind::End:
            log.finished = true;
            break;
        }
    }
    return log;
}

std::string DrawMachine::resultsWithUnsaved() const {
    std::string bytes;
    const bool startUnsaved =
        std::any_of(unsaved_.begin(), unsaved_.end(), [](const ResultsRecord& record) {
            return record.kind == ResultsRecord::Kind::Start;
        });
    if (!startUnsaved && readWholeFile(paths_.resultFile, bytes))
        bytes = healedResults(std::move(bytes));
    for (const ResultsRecord& record : unsaved_)
        bytes += record.bytes;
    return bytes;
}

void DrawMachine::participantsReloaded() {
    fingerprintParticipants();
    const ResultsLog log = withUnsaved({});
    if (!log.started) {
        for (const WinnerRecord& winner : log.winners)
            markWinner(data_.participants, winner.rawText, winner.prizeId);
        return;
    }
    // The draw's start is not on disk either: the file's marks belong to an earlier draw.
    restoreWinnerMarks(data_.participants, log);
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
            view->reportProblem(notice_);
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
