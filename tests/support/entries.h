#pragma once

#include "lottery/participant_list.h"

#include <string_view>

namespace testsupport {

// An entry shown as it reads, as the loader leaves it with masking off.
inline void addEntry(lottery::ParticipantList& list, std::string_view raw) {
    list.append(raw);
    list.setDisplayText(list.count() - 1, raw);
}

} // namespace testsupport
