#pragma once

#include "drawscreen/sound_output.h"

namespace drawscreen {

// Cues through the system's own players: PlaySound for WAV files, MCI for the others
// (MP3). Both play in the background; a file or device that does not work stays silent.
class WindowsSoundOutput : public SoundOutput {
public:
    ~WindowsSoundOutput() override;

    void stopAll() override;
    void load(const QString& path) override;
    void play(Playback playback) override;

private:
    QString path_;
    bool mciOpen_ = false;
};

} // namespace drawscreen
