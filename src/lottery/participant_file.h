#pragma once

#include "core/core_services.h"
#include "lottery/lottery_data.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lottery {

// Reads one entry per non-empty line (GBK, or UTF-8 or UTF-16 converted to GBK), then masks;
// every mark is clear (the draw restores its own). Cuts, ignored lines, blank entries and texts
// several entries share are described in warnings (UTF-8).
void loadParticipantFile(const EventPaths& paths, ParticipantList& list, DrawOptions& options,
                         core::CoreServices& services, std::vector<std::string>& warnings);

// The entries of the file's bytes, every mark clear, not masked; fileLabel starts every
// warning.
void readParticipantText(std::string_view bytes, const std::string& fileLabel,
                         ParticipantList& list, core::CoreServices& services,
                         std::vector<std::string>& warnings);

// The raw texts that more than one entry holds, each with its number of entries, in the
// order of their first entries.
std::vector<std::pair<std::string, int>> duplicateTexts(const ParticipantList& list);

// Rebuilds every displayText from rawText with hide, hstart and hend; may clear hide.
// Masking works byte by byte; half of a double-byte character left beside an asterisk
// becomes an asterisk too, a lead byte that starts no character shows as '?', then the text is cut
// to kDisplayTextBytes. Returns the number of display texts that were cut.
int maskParticipants(ParticipantList& list, DrawOptions& options);

// One raw text's display text, masked as maskParticipants does.
std::string maskedText(std::string_view rawText, DrawOptions options);

} // namespace lottery
