#include "lottery/draw_machine.h"

#include "lottery/drawable_prize.h"
#include "lottery/results_log.h"

#include <cstdint>
#include <filesystem>
#include <system_error>
#include <utility>

namespace lottery {

DrawMachine::DrawMachine(LotteryData& data, const EventPaths& paths, core::CoreServices& services,
                         DrawView& view)
    : data_(data), paths_(paths), services_(services), view_(view) {}

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

void DrawMachine::resume() {
    view_.setFrameTimerRunning(false);
    view_.computeNameFont();
    problemReported_ = false;
    std::string problem;
    if (isLastRoundOfDraw() && !recordDrawEnd(paths_, services_, &problem))
        noteFailure(problem);
    view_.renderFrame();
    reportPendingProblem();
}

void DrawMachine::reset() {
    resetProgress(data_.options);
    view_.setFrameTimerRunning(false);
}

void DrawMachine::resetProgress(DrawOptions& options) {
    options.prizeIndex = 0;
    options.roundIndex = 0;
    options.setState(DrawState::Ready);
}

void DrawMachine::startDraw() {
    const int first = nextDrawablePrize(data_.prizeTable, 0);
    if (first < 0) {
        view_.renderStaticScreen(ScreenKind::Ready);
        return;
    }
    DrawOptions& options = data_.options;
    options.prizeIndex = first;
    options.roundIndex = 0;
    view_.computeNameFont();
    problemReported_ = false;
    startLogPending_ = !startResultsLog();
    clearWinnerMarks(data_.participants);
    startRoll();
}

void DrawMachine::startRoll() {
    view_.playCue(SoundCue::Rolling);
    data_.options.setState(DrawState::Rolling);
    view_.renderFrame();
    view_.setFrameTimerRunning(true);
}

void DrawMachine::stopRoll() {
    DrawOptions& options = data_.options;
    options.setState(DrawState::ShowingResult);
    view_.playCue(SoundCue::Result);
    view_.setFrameTimerRunning(false);
    if (options.prizeIndex >= data_.prizeTable.count()) {
        // The prize went from the table during the roll: nothing to record or show.
        view_.renderStaticScreen(ScreenKind::Finished);
        return;
    }
    // Recorded before the result is shown, so what the operator sees is already on disk.
    if (startLogPending_)
        startLogPending_ = !startResultsLog();
    std::string problem;
    if (!recordRound(paths_, data_, services_, &problem))
        noteFailure(problem);
    if (isLastRoundOfDraw() && !recordDrawEnd(paths_, services_, &problem))
        noteFailure(problem);
    view_.renderFrame();
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
        view_.renderStaticScreen(ScreenKind::Finished);
        return;
    }
    options.prizeIndex = next;
    options.roundIndex = 0;
    view_.computeNameFont();
    startRoll();
}

bool DrawMachine::startResultsLog() {
    const auto sizeNow = [this] {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(paths_.resultFile, error);
        return error ? std::uintmax_t{0} : size;
    };
    const std::uintmax_t before = sizeNow();
    std::string problem;
    if (beginResultsLog(paths_, services_, &problem))
        return true;
    noteFailure(problem);
    // The start line may still have gone to the end of the file that could not be moved.
    if (sizeNow() <= before)
        return false;
    const ResultsLog log = readResultsLog(paths_.resultFile, services_);
    return log.started && !log.finished && log.winners.empty();
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

void DrawMachine::noteFailure(const std::string& problem) {
    if (problemReported_ || !pendingProblem_.empty())
        return;
    pendingProblem_ = "抽奖结果未能写入文件，抽奖继续进行。\n" + problem;
}

void DrawMachine::reportPendingProblem() {
    if (pendingProblem_.empty())
        return;
    problemReported_ = true;
    const std::string message = std::move(pendingProblem_);
    pendingProblem_.clear();
    view_.reportProblem(message);
}

} // namespace lottery
