#pragma once

#include "core/core_services.h"
#include "lottery/lottery_data.h"

namespace lottery {

// The persisted options: hide, print, muse, hstart, hend, fingerprint (showFingerprint) and
// the audience screen's (stage).
void loadDrawOptions(DrawOptions& options, core::CoreServices& services);
// False when the settings could not be written.
bool saveDrawOptions(const DrawOptions& options, core::CoreServices& services);

} // namespace lottery
