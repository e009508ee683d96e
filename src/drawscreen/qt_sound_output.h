#pragma once

#include "drawscreen/sound_output.h"

#include <QDateTime>
#include <QHash>
#include <QObject>

class QAudioOutput;
class QMediaPlayer;
class QSoundEffect;

namespace drawscreen {

// WAV cues through QSoundEffect, each file decoded once and kept, so a cue starts without
// delay the next time it is loaded (a file replaced meanwhile is decoded again); other
// formats (mp3, ogg) through QMediaPlayer, where the platform's media backend plays them.
class QtSoundOutput : public QObject, public SoundOutput {
    Q_OBJECT
public:
    explicit QtSoundOutput(QObject* parent = nullptr);
    ~QtSoundOutput() override;

    void stopAll() override;
    void load(const QString& path) override;
    void play(Playback playback) override;

private:
    struct Cue {
        QSoundEffect* effect = nullptr;
        QDateTime modified;
    };
    QMediaPlayer* player();

    QHash<QString, Cue> cues_;
    QSoundEffect* current_ = nullptr;
    QString media_; // the file the player plays next; empty: a WAV cue or none
    QMediaPlayer* player_ = nullptr;
    QAudioOutput* audio_ = nullptr;
};

} // namespace drawscreen
