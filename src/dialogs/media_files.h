#pragma once

#include <QString>

#include <filesystem>
#include <optional>
#include <string>

namespace dialogs {

// File dialog filters: the pictures Qt reads here (jpg, png, bmp, and webp when it can) and
// the tunes the sound layer plays (wav, mp3, and ogg where Qt Multimedia plays it).
QString imageFileFilter();
QString tuneFileFilter();

// Copies source into folder under its own name, or name-2 ... when another file holds it;
// the same file already there is used as it is. The name, or nullopt and *problem (UTF-8).
std::optional<QString> copyIntoFolder(const QString& source, const std::filesystem::path& folder,
                                      std::string* problem);

// Puts the picture in source at target, converted to target's format unless it is in it
// already. The file there before stays as bak_<name><time> beside it.
bool installPicture(const QString& source, const std::filesystem::path& target,
                    std::string* problem);

// Puts the tune at targetWav, or at its .mp3 or .ogg namesake for such a file. Every file it
// replaces or that would play before it (a WAV before an mp3) is first kept as a backup.
bool installTune(const QString& source, const std::filesystem::path& targetWav,
                 std::string* problem);

} // namespace dialogs
