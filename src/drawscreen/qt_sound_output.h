#pragma once

#include "drawscreen/sound_output.h"

#include <QDateTime>
#include <QHash>
#include <QObject>

class QSoundEffect;

namespace drawscreen {

// WAV cues through QSoundEffect. Each file is decoded once and kept, so a cue starts
// without delay the next time it is loaded; a file replaced meanwhile is decoded again.
class QtSoundOutput : public QObject, public SoundOutput {
    Q_OBJECT
public:
    explicit QtSoundOutput(QObject* parent = nullptr);

    void stopAll() override;
    void load(const QString& path) override;
    void playOnce() override;

private:
    struct Cue {
        QSoundEffect* effect = nullptr;
        QDateTime modified;
    };
    QHash<QString, Cue> cues_;
    QSoundEffect* current_ = nullptr;
};

} // namespace drawscreen
