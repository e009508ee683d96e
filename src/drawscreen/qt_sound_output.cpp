#include "drawscreen/qt_sound_output.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace drawscreen {

QtSoundOutput::QtSoundOutput(QObject* parent) : QObject(parent) {}

void QtSoundOutput::stopAll() {
    for (QSoundEffect* effect : std::as_const(effects_))
        effect->stop();
}

void QtSoundOutput::load(const QString& path) {
    current_ = nullptr;
    if (!QFileInfo::exists(path))
        return;
    QSoundEffect*& effect = effects_[path];
    if (!effect) {
        effect = new QSoundEffect(this);
        effect->setSource(QUrl::fromLocalFile(path));
    }
    current_ = effect;
}

void QtSoundOutput::playOnce() {
    if (!current_)
        return;
    current_->setLoopCount(1);
    // Plays once loaded when decoding has not finished yet; an unusable file or device
    // leaves the effect in its error state, silently.
    current_->play();
}

} // namespace drawscreen
