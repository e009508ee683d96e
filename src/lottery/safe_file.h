#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace lottery {

// Writes bytes to a temporary file beside path, flushes it, then renames it over path.
// On failure path is untouched and *problem (UTF-8) says what failed.
bool writeFileSafely(const std::filesystem::path& path, std::string_view bytes,
                     std::string* problem);

// Appends bytes and flushes them to disk before returning. On failure the file is as it was.
bool appendToFile(const std::filesystem::path& path, std::string_view bytes, std::string* problem);

// Hands the file to take in pieces of at most 64 KiB, in order; false when it cannot be read.
bool readFileInPieces(const std::filesystem::path& path,
                      const std::function<void(std::string_view)>& take);

// The whole file; false when it cannot be read.
bool readWholeFile(const std::filesystem::path& path, std::string& bytes);

} // namespace lottery
