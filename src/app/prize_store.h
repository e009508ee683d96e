#pragma once

#include "lottery/lottery_data.h"
#include "lottery/prize_file.h"

#include <filesystem>
#include <string>

namespace app {

// The event's prize file after the start-up load: it is written back only once it was read,
// and a file the load had to alter is first copied to a backup, never moved, so that a
// complete prize file is there at every instant.
class PrizeStore {
public:
    explicit PrizeStore(std::filesystem::path prizeFile) : prizeFile_(std::move(prizeFile)) {}

    // After the start-up load, with the time stamp a backup is named by. The operator's note
    // (UTF-8) when the original is to be kept; empty otherwise.
    std::string loaded(const lottery::PrizeLoadReport& report, const std::string& stamp);
    bool isLoaded() const { return loaded_; }

    // Writes the table, after the backup the load asked for. Nothing before the load. False,
    // with *problem (UTF-8), when the file was not written; the old one is then unchanged.
    bool save(const lottery::PrizeTable& table, std::string* problem);

private:
    std::filesystem::path prizeFile_;
    bool loaded_ = false;
    std::string backupStamp_; // empty once the original is kept, or when nothing is to keep
};

} // namespace app
