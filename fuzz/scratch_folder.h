#pragma once

#include <filesystem>

namespace fuzzchecks {

// A folder of this process for the files the checks write, removed at exit. A memory file
// system when there is one: the safe writes flush to disk at every run.
const std::filesystem::path& scratchFolder();

} // namespace fuzzchecks
