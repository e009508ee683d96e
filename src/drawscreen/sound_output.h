#pragma once

#include <QString>

#include <memory>

namespace drawscreen {

// The three steps of a sound cue: end whatever plays, take the file, play it once.
// None of them blocks; a missing file or no audio device leaves them without effect.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    virtual void stopAll() = 0;
    virtual void load(const QString& path) = 0;
    virtual void playOnce() = 0;
};

// The platform's player: Qt Multimedia, or the system's own on Windows.
std::unique_ptr<SoundOutput> makeSystemSoundOutput();

} // namespace drawscreen
