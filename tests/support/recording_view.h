#pragma once

#include "lottery/draw_view.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// A view and clock that only record what the draw machine hands them: the calls, the names
// of the last picture and the problems told. It selects nothing itself.
class RecordingView : public lottery::DrawView, public lottery::DrawClock {
public:
    void showPicture(const lottery::DrawPicture& picture) override {
        using Screen = lottery::DrawPicture::Screen;
        static const char* names[] = {"ready", "frame", "result", "finished"};
        calls.push_back(names[static_cast<int>(picture.screen)]);
        if (picture.screen == Screen::Ready || picture.screen == Screen::Finished)
            return;
        shown.clear();
        for (const lottery::ShownEntry& entry : picture.selection) // "": a position left empty
            shown.push_back(entry.raw);
        if (picture.screen == Screen::Result && onResult)
            onResult();
    }
    void playCue(lottery::SoundCue cue) override {
        calls.push_back(cue == lottery::SoundCue::Rolling ? "cue0" : "cue1");
    }
    void setTicking(bool ticking) override { calls.push_back(ticking ? "timer on" : "timer off"); }
    void reportProblem(const std::string& message) override { problems.push_back(message); }
    void winnersRecorded(const std::vector<lottery::WinnerRecord>& winners) override {
        recorded.insert(recorded.end(), winners.begin(), winners.end());
    }

    std::vector<std::string> take() { return std::exchange(calls, {}); }

    std::vector<std::string> calls;
    std::vector<std::string> shown;
    std::vector<std::string> problems;
    std::vector<lottery::WinnerRecord> recorded; // handed on after each stop
    std::function<void()> onResult;              // runs after each result picture
};
