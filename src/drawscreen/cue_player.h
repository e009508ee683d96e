#pragma once

#include "lottery/draw_view.h"
#include "lottery/lottery_data.h"

#include <QString>

namespace drawscreen {

class SoundOutput;

// Plays the event folder's rolling or result cue (EventPaths, or the same name ending in .mp3
// or .ogg when there is no WAV file) unless music is off, at the options' volume. In the 大屏
// layout the rolling tune loops until the stop.
class CuePlayer {
public:
    CuePlayer(const lottery::DrawOptions& options, const QString& appFolder, SoundOutput& output);

    void playCue(lottery::SoundCue cue);
    // The first of the cue's file and its mp3 and ogg namesakes that exists; the cue's own
    // when none does.
    static QString fileOf(const QString& wavPath);

private:
    const lottery::DrawOptions& options_;
    lottery::EventPaths paths_;
    SoundOutput& output_;
};

} // namespace drawscreen
