#pragma once

#include <filesystem>
#include <string>

// Every call of the lottery layer that differs between operating systems sits here.
namespace lottery::platform {

// Asks the system to put the bytes already written to the file on the disk.
// False, with the system's reason in *reason when given, if the file cannot be opened
// or the system refuses the flush.
bool flushToDisk(const std::filesystem::path& path, std::string* reason);

// Moves from onto to, replacing to in one step if it exists. False, with the reason,
// when that fails; to is then as it was.
bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to,
                 std::string* reason);

} // namespace lottery::platform
