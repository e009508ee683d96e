#pragma once

#include "lottery/draw_view.h"
#include "lottery/lottery_data.h"

#include <QString>

namespace drawscreen {

class SoundOutput;

// Plays music/rolling.wav or music/ok.wav of the program folder unless music is off.
class CuePlayer {
public:
    CuePlayer(const lottery::DrawOptions& options, const QString& appFolder, SoundOutput& output);

    void playCue(lottery::SoundCue cue);

private:
    const lottery::DrawOptions& options_;
    QString musicFolder_;
    SoundOutput& output_;
};

} // namespace drawscreen
