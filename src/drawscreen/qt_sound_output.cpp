#include "drawscreen/qt_sound_output.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QSoundEffect>
#include <QUrl>

#include <algorithm>

namespace drawscreen {

QtSoundOutput::QtSoundOutput(QObject* parent) : QObject(parent) {}

QtSoundOutput::~QtSoundOutput() = default;

void QtSoundOutput::stopAll() {
    for (const Cue& cue : std::as_const(cues_))
        cue.effect->stop();
    if (player_)
        player_->stop();
}

void QtSoundOutput::load(const QString& path) {
    current_ = nullptr;
    media_.clear();
    const QFileInfo file(path);
    if (!file.exists())
        return;
    if (file.suffix().compare(QStringLiteral("wav"), Qt::CaseInsensitive) != 0) {
        media_ = path;
        return;
    }
    Cue& cue = cues_[path];
    if (!cue.effect || cue.modified != file.lastModified()) {
        delete cue.effect;
        cue.effect = new QSoundEffect(this);
        cue.effect->setSource(QUrl::fromLocalFile(path));
        cue.modified = file.lastModified();
    }
    current_ = cue.effect;
}

QMediaPlayer* QtSoundOutput::player() {
    if (!player_) {
        player_ = new QMediaPlayer(this);
        audio_ = new QAudioOutput(this);
        player_->setAudioOutput(audio_);
    }
    return player_;
}

void QtSoundOutput::play(Playback playback) {
    const bool looped = playback == Playback::Looped;
    // An unusable file or device leaves the effect or player in its error state, silently.
    if (current_) {
        current_->setLoopCount(looped ? QSoundEffect::Infinite : 1);
        current_->setVolume(static_cast<float>(volume()) / 100.0f);
        // Plays once loaded when decoding has not finished yet.
        current_->play();
    } else if (!media_.isEmpty()) {
        QMediaPlayer* media = player();
        audio_->setVolume(static_cast<float>(volume()) / 100.0f);
        media->setLoops(looped ? QMediaPlayer::Infinite : QMediaPlayer::Once);
        media->setSource(QUrl::fromLocalFile(media_));
        media->play();
    }
}

std::unique_ptr<SoundOutput> makeSystemSoundOutput() {
    return std::make_unique<QtSoundOutput>();
}

} // namespace drawscreen
