#include "drawscreen/cue_player.h"

#include "core/path_conversion.h"
#include "drawscreen/sound_output.h"

namespace drawscreen {

CuePlayer::CuePlayer(const lottery::DrawOptions& options, const QString& appFolder,
                     SoundOutput& output)
    : options_(options), paths_(lottery::EventPaths::forFolder(core::toFsPath(appFolder))),
      output_(output) {}

void CuePlayer::playCue(lottery::SoundCue cue) {
    if (options_.muse)
        return;
    const QString path =
        core::toQString(cue == lottery::SoundCue::Rolling ? paths_.rollingCue : paths_.resultCue);
    // The result cue cuts the rolling music off.
    output_.stopAll();
    output_.load(path);
    output_.playOnce();
}

} // namespace drawscreen
