#pragma once

#include <filesystem>
#include <string>

namespace lottery {

// folder/<prefix><stamp>.txt, or with -2, -3 ... added when that name is taken: a backup
// never replaces another.
std::filesystem::path freeBackupPath(const std::filesystem::path& folder, const std::string& prefix,
                                     const std::string& stamp);

} // namespace lottery
