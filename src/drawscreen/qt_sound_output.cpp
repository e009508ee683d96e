#include "drawscreen/qt_sound_output.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace drawscreen {

QtSoundOutput::QtSoundOutput(QObject* parent) : QObject(parent) {}

void QtSoundOutput::stopAll() {
    for (const Cue& cue : std::as_const(cues_))
        cue.effect->stop();
}

void QtSoundOutput::load(const QString& path) {
    current_ = nullptr;
    const QFileInfo file(path);
    if (!file.exists())
        return;
    Cue& cue = cues_[path];
    if (!cue.effect || cue.modified != file.lastModified()) {
        delete cue.effect;
        cue.effect = new QSoundEffect(this);
        cue.effect->setSource(QUrl::fromLocalFile(path));
        cue.modified = file.lastModified();
    }
    current_ = cue.effect;
}

void QtSoundOutput::playOnce() {
    if (!current_)
        return;
    current_->setLoopCount(1);
    // Plays once loaded when decoding has not finished yet; an unusable file or device
    // leaves the effect in its error state, silently.
    current_->play();
}

std::unique_ptr<SoundOutput> makeSystemSoundOutput() {
    return std::make_unique<QtSoundOutput>();
}

} // namespace drawscreen
