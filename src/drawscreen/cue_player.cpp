#include "drawscreen/cue_player.h"

#include "core/path_conversion.h"
#include "drawscreen/sound_output.h"

#include <QFileInfo>

namespace drawscreen {

CuePlayer::CuePlayer(const lottery::DrawOptions& options, const QString& appFolder,
                     SoundOutput& output)
    : options_(options), paths_(lottery::EventPaths::forFolder(core::toFsPath(appFolder))),
      output_(output) {}

QString CuePlayer::fileOf(const QString& wavPath) {
    if (QFileInfo::exists(wavPath))
        return wavPath;
    const QString stem = wavPath.left(wavPath.size() - QFileInfo(wavPath).suffix().size());
    for (const char* suffix : {"mp3", "ogg"}) {
        const QString other = stem + QLatin1String(suffix);
        if (QFileInfo::exists(other))
            return other;
    }
    return wavPath;
}

void CuePlayer::playCue(lottery::SoundCue cue) {
    if (options_.muteMusic)
        return;
    const bool rolling = cue == lottery::SoundCue::Rolling;
    const QString path = fileOf(core::toQString(rolling ? paths_.rollingCue : paths_.resultCue));
    // The result cue cuts the rolling music off.
    output_.stopAll();
    output_.load(path);
    output_.setVolume(options_.stage.volume);
    const bool loop = rolling && options_.stage.layout == lottery::ScreenLayout::BigScreen;
    output_.play(loop ? SoundOutput::Playback::Looped : SoundOutput::Playback::Once);
}

} // namespace drawscreen
