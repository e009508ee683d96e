#pragma once

#include <QByteArray>
#include <QSize>

namespace app {

// The look and sound a new event starts with, made here so that the program needs no media
// of anyone else's: a red and gold background, a gift box, and two short synthesised tunes.
QByteArray defaultBackgroundJpeg(QSize size);
QByteArray defaultPicturePng();
enum class DefaultTune { Rolling, Result };
QByteArray defaultTuneWav(DefaultTune tune);

} // namespace app
