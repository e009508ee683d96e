#include "lottery/draw_machine.h"

#include "lottery/drawable_prize.h"
#include "lottery/file_text.h"
#include "lottery/results_log.h"
#include "lottery/safe_file.h"
#include "lottery/status_texts.h"
#include "lottery/winner_selection.h"

#include <algorithm>
#include <utility>

namespace lottery {

DrawMachine::DrawMachine(LotteryData& data, const EventPaths& paths, core::CoreServices& services,
                         DrawClock& clock)
    : data_(data), paths_(paths), services_(services), clock_(clock) {}

void DrawMachine::addView(DrawView& view) {
    views_.push_back(&view);
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
    selectWinners(data_, services_);
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
    if (screen == DrawPicture::Screen::Rolling || screen == DrawPicture::Screen::Result) {
        for (int i = 0; i < data_.pool.winnerCount; ++i)
            picture_.selection.push_back(data_.pool.winnerAt(i));
    }
    picture_.status = statusTexts(data_.prizeTable, options, services_);
    for (DrawView* view : views_)
        view->showPicture(picture_);
}

void DrawMachine::computeNameFont() {
    for (DrawView* view : views_)
        view->computeNameFont();
}

void DrawMachine::playCue(SoundCue cue) {
    for (DrawView* view : views_)
        view->playCue(cue);
}

void DrawMachine::resume() {
    clock_.setTicking(false);
    computeNameFont();
    if (isLastRoundOfDraw())
        store(endRecord(services_));
    show(DrawPicture::Screen::Result);
    reportPendingProblem();
}

void DrawMachine::reset() {
    resetProgress(data_.options);
    clock_.setTicking(false);
    finished_ = false;
}

void DrawMachine::resetProgress(DrawOptions& options) {
    options.prizeIndex = 0;
    options.roundIndex = 0;
    options.setState(DrawState::Ready);
}

void DrawMachine::startDraw() {
    const int first = nextDrawablePrize(data_.prizeTable, 0);
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
    DrawOptions& options = data_.options;
    options.prizeIndex = first;
    options.roundIndex = 0;
    computeNameFont();
    store(startRecord(services_));
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
    if (options.prizeIndex >= data_.prizeTable.count()) {
        // The prize went from the table during the roll: nothing to record or show.
        show(DrawPicture::Screen::Finished);
        return;
    }
    // Recorded before the result is shown, so what the operator sees is already on disk.
    store(roundRecord(data_, services_));
    if (isLastRoundOfDraw())
        store(endRecord(services_));
    show(DrawPicture::Screen::Result);
}

void DrawMachine::moveOn() {
    DrawOptions& options = data_.options;
    if (options.roundIndex + 1 < roundsAt(options.prizeIndex)) {
        ++options.roundIndex;
        startRoll();
        return;
    }
    const int next = nextDrawablePrize(data_.prizeTable, options.prizeIndex + 1);
    if (next < 0) {
        show(DrawPicture::Screen::Finished);
        return;
    }
    options.prizeIndex = next;
    options.roundIndex = 0;
    computeNameFont();
    startRoll();
}

void DrawMachine::store(ResultsRecord record) {
    if (record.bytes.empty())
        return;
    unsaved_.push_back(std::move(record));
    flushUnsaved();
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
    if (!startUnsaved)
        readWholeFile(paths_.resultFile, bytes);
    for (const ResultsRecord& record : unsaved_)
        bytes += record.bytes;
    return bytes;
}

void DrawMachine::participantsReloaded() {
    const ResultsLog log = withUnsaved({});
    if (!log.started) {
        for (const WinnerRecord& winner : log.winners)
            markWinner(data_.participants, winner.rawText, winner.prizeId);
        return;
    }
    // The draw's start is not on disk either: the file's marks belong to an earlier draw.
    restoreWinnerMarks(data_.participants, log);
}

bool DrawMachine::isLastRoundOfDraw() const {
    const DrawOptions& options = data_.options;
    return options.roundIndex + 1 >= roundsAt(options.prizeIndex) &&
           nextDrawablePrize(data_.prizeTable, options.prizeIndex + 1) < 0;
}

int DrawMachine::roundsAt(int prizeIndex) const {
    if (prizeIndex < 0 || prizeIndex >= data_.prizeTable.count())
        return 0;
    return data_.prizeTable.prizes[static_cast<std::size_t>(prizeIndex)].rounds;
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
