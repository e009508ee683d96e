#pragma once

#include <string>

namespace lottery {

enum class ScreenKind : int { Ready = 0, Finished = 1 };

enum class SoundCue : int { Rolling = 0, Result = 1 };

// What the draw machine drives: the screen, the frame timer and the sound cues.
class DrawView {
public:
    virtual ~DrawView() = default;

    // Sizes the names for the prize at options.prizeIndex.
    virtual void computeNameFont() = 0;
    // Shows the names of the current selection. Only while Rolling does it run
    // lottery::selectWinners first; in ShowingResult it shows the last selection unchanged,
    // so the result frame holds exactly the winners of the last rolling frame.
    virtual void renderFrame() = 0;
    virtual void renderStaticScreen(ScreenKind kind) = 0;
    virtual void playCue(SoundCue cue) = 0;
    // The 40 ms frame timer, which calls renderFrame at every tick.
    virtual void setFrameTimerRunning(bool running) = 0;
    // Tells the operator something went wrong; the draw goes on.
    virtual void reportProblem(const std::string& utf8Message) = 0;
};

} // namespace lottery
