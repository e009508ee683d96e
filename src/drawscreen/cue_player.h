#pragma once

#include "lottery/draw_view.h"
#include "lottery/lottery_data.h"

#include <QString>

namespace drawscreen {

class SoundOutput;

// Plays the event folder's rolling or result cue (EventPaths) unless music is off.
class CuePlayer {
public:
    CuePlayer(const lottery::DrawOptions& options, const QString& appFolder, SoundOutput& output);

    void playCue(lottery::SoundCue cue);

private:
    const lottery::DrawOptions& options_;
    lottery::EventPaths paths_;
    SoundOutput& output_;
};

} // namespace drawscreen
