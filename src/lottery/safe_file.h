#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace lottery {

// Writes bytes to a new temporary file beside path (made by this call, never one that was
// there, never through a link), syncs it to the disk, renames it over path and syncs the
// folder. On failure path holds its old bytes and *problem (UTF-8) says what failed; only a
// failed sync of the folder comes after path already holds the new bytes, and says so.
bool writeFileSafely(const std::filesystem::path& path, std::string_view bytes,
                     std::string* problem);

// Appends bytes and syncs them to disk before returning; a link at path is refused, never
// followed. On failure the file is as it was.
bool appendToFile(const std::filesystem::path& path, std::string_view bytes, std::string* problem);

// Hands the file to take in pieces of at most 64 KiB, in order; false when it cannot be read.
bool readFileInPieces(const std::filesystem::path& path,
                      const std::function<void(std::string_view)>& take);

// The whole file; false when it cannot be read.
bool readWholeFile(const std::filesystem::path& path, std::string& bytes);

// The steps of the writes above, in their order.
enum class WriteStep { Create, Write, Sync, Rename, SyncFolder };

// Called before every step of every write; a false answer makes that step fail as if the
// system had refused it. Fault injection only: null (the default) lets every step run.
void setWriteStepProbe(std::function<bool(WriteStep)> probe);

} // namespace lottery
