#include "lottery/draw_options_store.h"

namespace lottery {

void loadDrawOptions(DrawOptions& options, core::CoreServices& services) {
    options.hide = services.getConfigB("hide");
    options.print = services.getConfigB("print");
    options.muse = services.getConfigB("muse");
    options.hstart = services.getConfigInt("hstart");
    options.hend = services.getConfigInt("hend");
    options.showFingerprint = services.getConfigB("fingerprint");
    loadStageOptions(options.stage, services);
}

bool saveDrawOptions(const DrawOptions& options, core::CoreServices& services) {
    services.saveConfigB("hide", options.hide);
    services.saveConfigB("print", options.print);
    services.saveConfigB("muse", options.muse);
    services.saveConfigInt("hstart", options.hstart);
    services.saveConfigInt("hend", options.hend);
    services.saveConfigB("fingerprint", options.showFingerprint);
    saveStageOptions(options.stage, services);
    return services.flushConfig();
}

} // namespace lottery
