#include "lottery/draw_options_store.h"

namespace lottery {

void loadDrawOptions(DrawOptions& options, core::CoreServices& services) {
    options.maskEntries = services.getConfigFlag("hide");
    options.print = services.getConfigFlag("print");
    options.muteMusic = services.getConfigFlag("muse");
    options.maskStart = services.getConfigInt("hstart");
    options.maskEnd = services.getConfigInt("hend");
    options.showFingerprint = services.getConfigFlag("fingerprint");
    loadStageOptions(options.stage, services);
}

bool saveDrawOptions(const DrawOptions& options, core::CoreServices& services) {
    services.saveConfigFlag("hide", options.maskEntries);
    services.saveConfigFlag("print", options.print);
    services.saveConfigFlag("muse", options.muteMusic);
    services.saveConfigInt("hstart", options.maskStart);
    services.saveConfigInt("hend", options.maskEnd);
    services.saveConfigFlag("fingerprint", options.showFingerprint);
    saveStageOptions(options.stage, services);
    return services.flushConfig();
}

} // namespace lottery
