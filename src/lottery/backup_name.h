#pragma once

#include <filesystem>
#include <string>

namespace lottery {

// folder/<prefix><stamp><extension>, or with -2, -3 ... added when that name is taken: a
// backup never replaces another.
std::filesystem::path freeBackupPath(const std::filesystem::path& folder, const std::string& prefix,
                                     const std::string& stamp,
                                     const std::string& extension = ".txt");

// Copies file to a free backup name beside it, written as safely as the file itself; the
// file stays where it is, so a complete one is there at every instant. *backup is the
// copy's path; on failure *problem (UTF-8) names the copy and says why.
bool backUpFile(const std::filesystem::path& file, const std::string& prefix,
                const std::string& stamp, std::filesystem::path* backup, std::string* problem,
                const std::string& extension = ".txt");

} // namespace lottery
