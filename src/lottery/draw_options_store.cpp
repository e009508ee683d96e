#include "lottery/draw_options_store.h"

namespace lottery {

void loadDrawOptions(DrawOptions& options, core::CoreServices& services) {
    options.maskEntries = services.settingNumber(core::Setting::MaskEntries);
    options.print = services.settingNumber(core::Setting::Print);
    options.muteMusic = services.settingNumber(core::Setting::MuteMusic);
    options.maskStart = services.settingNumber(core::Setting::MaskStart);
    options.maskEnd = services.settingNumber(core::Setting::MaskEnd);
    options.showFingerprint = services.settingNumber(core::Setting::Fingerprint);
    loadStageOptions(options.stage, services);
}

bool saveDrawOptions(const DrawOptions& options, core::CoreServices& services) {
    services.setSetting(core::Setting::MaskEntries, options.maskEntries);
    services.setSetting(core::Setting::Print, options.print);
    services.setSetting(core::Setting::MuteMusic, options.muteMusic);
    services.setSetting(core::Setting::MaskStart, options.maskStart);
    services.setSetting(core::Setting::MaskEnd, options.maskEnd);
    services.setSetting(core::Setting::Fingerprint, options.showFingerprint);
    saveStageOptions(options.stage, services);
    return services.flushSettings();
}

} // namespace lottery
