#pragma once

#include "core/core_services.h"
#include "lottery/lottery_data.h"

#include <filesystem>
#include <string>
#include <vector>

namespace lottery {

// Reads one entry per non-empty line (GBK, or UTF-8 converted to GBK), then masks.
// Entries whose raw text the results file records as a winner of the current draw keep
// their marks. Cuts and ignored lines are described in warnings (UTF-8).
void loadParticipantFile(const EventPaths& paths, ParticipantList& list, DrawOptions& options,
                         core::CoreServices& services, std::vector<std::string>& warnings);

// Rebuilds every displayText from rawText with hide, hstart and hend; may clear hide.
void maskParticipants(ParticipantList& list, DrawOptions& options);

} // namespace lottery
