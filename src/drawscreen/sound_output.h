#pragma once

#include <QString>

#include <algorithm>

#include <memory>

namespace drawscreen {

// The steps of a sound cue: end whatever plays, take the file, play it once or until the next
// stop. None of them blocks; a missing file or no audio device leaves them without effect.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    virtual void stopAll() = 0;
    virtual void load(const QString& path) = 0;
    enum class Playback { Once, Looped };
    virtual void play(Playback playback) = 0;
    // 0 .. 100, for what plays from now on.
    void setVolume(int percent) { volume_ = std::clamp(percent, 0, 100); }

protected:
    int volume() const { return volume_; }

private:
    int volume_ = 100;
};

// The platform's player: Qt Multimedia, or the system's own on Windows.
std::unique_ptr<SoundOutput> makeSystemSoundOutput();

} // namespace drawscreen
