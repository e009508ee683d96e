#pragma once

#include "lottery/draw_view.h"
#include "lottery/lottery_data.h"
#include "lottery/winner_selection.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// A draw view that selects on every rolling frame like the draw window, and remembers the
// calls, the names on the last frame and the problems told.
class SelectingView : public lottery::DrawView {
public:
    SelectingView(lottery::LotteryData& data, core::CoreServices& services)
        : data_(data), services_(services) {}

    void computeNameFont() override { calls.push_back("font"); }
    void renderFrame() override {
        const bool rolling = data_.options.state() == lottery::DrawState::Rolling;
        if (rolling)
            lottery::selectWinners(data_, services_);
        calls.push_back(rolling ? "frame" : "result");
        shown.clear();
        for (int i = 0; i < data_.pool.winnerCount; ++i)
            shown.push_back(data_.participants.entries.at(data_.pool.winnerAt(i)).rawText);
        if (!rolling && onResult)
            onResult();
    }
    void renderStaticScreen(lottery::ScreenKind kind) override {
        calls.push_back(kind == lottery::ScreenKind::Ready ? "ready" : "finished");
    }
    void playCue(lottery::SoundCue cue) override {
        calls.push_back(cue == lottery::SoundCue::Rolling ? "cue0" : "cue1");
    }
    void setFrameTimerRunning(bool running) override {
        calls.push_back(running ? "timer on" : "timer off");
    }
    void reportProblem(const std::string& message) override { problems.push_back(message); }

    std::vector<std::string> take() { return std::exchange(calls, {}); }

    std::vector<std::string> calls;
    std::vector<std::string> shown;
    std::vector<std::string> problems;
    std::function<void()> onResult; // runs after each result frame

private:
    lottery::LotteryData& data_;
    core::CoreServices& services_;
};
