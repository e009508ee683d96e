#include "drawscreen/cue_player.h"

#include "drawscreen/sound_output.h"

#include <QDir>

namespace drawscreen {

CuePlayer::CuePlayer(const lottery::DrawOptions& options, const QString& appFolder,
                     SoundOutput& output)
    : options_(options), musicFolder_(QDir(appFolder).filePath(QStringLiteral("music"))),
      output_(output) {}

void CuePlayer::playCue(lottery::SoundCue cue) {
    if (options_.muse)
        return;
    const QString name = cue == lottery::SoundCue::Rolling ? QStringLiteral("rolling.wav")
                                                           : QStringLiteral("ok.wav");
    const QString path = QDir(musicFolder_).filePath(name);
    // The result cue cuts the rolling music off.
    output_.stopAll();
    output_.load(path);
    output_.playOnce();
}

} // namespace drawscreen
