#include "drawscreen/windows_sound_output.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <memory>

#include <windows.h>
// windows.h first: the multimedia header builds on its types.
#include <mmsystem.h>

namespace drawscreen {

namespace {

const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

void mci(const QString& command) {
    mciSendStringW(wide(command), nullptr, 0, nullptr);
}

} // namespace

WindowsSoundOutput::~WindowsSoundOutput() {
    stopAll();
}

void WindowsSoundOutput::stopAll() {
    PlaySoundW(nullptr, nullptr, 0);
    if (mciOpen_)
        mci(QStringLiteral("close prizedraw_cue"));
    mciOpen_ = false;
}

void WindowsSoundOutput::load(const QString& path) {
    path_ = QFileInfo::exists(path) ? QDir::toNativeSeparators(path) : QString();
}

void WindowsSoundOutput::play(Playback playback) {
    const bool looped = playback == Playback::Looped;
    if (path_.isEmpty())
        return;
    if (path_.endsWith(QStringLiteral(".wav"), Qt::CaseInsensitive)) {
        // The wave volume of this program, both channels alike.
        const DWORD level = static_cast<DWORD>(volume()) * 0xFFFFu / 100u;
        waveOutSetVolume(nullptr, level | (level << 16));
        PlaySoundW(wide(path_), nullptr,
                   SND_FILENAME | SND_ASYNC | SND_NODEFAULT | (looped ? SND_LOOP : 0));
        return;
    }
    if (mciOpen_)
        mci(QStringLiteral("close prizedraw_cue"));
    mciOpen_ =
        mciSendStringW(
            wide(QStringLiteral("open \"%1\" type mpegvideo alias prizedraw_cue").arg(path_)),
            nullptr, 0, nullptr) == 0;
    if (!mciOpen_)
        return;
    mci(QStringLiteral("setaudio prizedraw_cue volume to %1").arg(volume() * 10));
    mci(looped ? QStringLiteral("play prizedraw_cue repeat")
               : QStringLiteral("play prizedraw_cue"));
}

std::unique_ptr<SoundOutput> makeSystemSoundOutput() {
    return std::make_unique<WindowsSoundOutput>();
}

} // namespace drawscreen
