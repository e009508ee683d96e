#pragma once

#include <QString>

#include <filesystem>

namespace core {

// Paths cross between Qt and the standard library here only, so that non-ASCII folder
// names survive on every platform (UTF-16 on Windows, the file-name encoding elsewhere).
std::filesystem::path toFsPath(const QString& path);
QString toQString(const std::filesystem::path& path);

} // namespace core
