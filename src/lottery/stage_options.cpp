#include "lottery/stage_options.h"

#include "lottery/lottery_data.h"

#include <algorithm>

namespace lottery {

namespace {

bool inTable(const PrizeTable& table, int index) {
    return index >= 0 && index < table.count();
}

bool listed(const StageOptions& stage, const std::string& id) {
    return std::find(stage.keyPrizeIds.begin(), stage.keyPrizeIds.end(), id) !=
           stage.keyPrizeIds.end();
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = std::min(text.find('\n', from), text.size());
        lines.push_back(text.substr(from, end - from));
        from = end + 1;
    }
    return lines;
}

} // namespace

bool isKeyPrize(const StageOptions& stage, const PrizeTable& table, int prizeIndex) {
    if (!inTable(table, prizeIndex))
        return false;
    if (!stage.keyPrizesChosen)
        return prizeIndex == 0;
    return listed(stage, table.prizes[static_cast<std::size_t>(prizeIndex)].id);
}

void setKeyPrize(StageOptions& stage, const PrizeTable& table, int prizeIndex, bool key) {
    if (!inTable(table, prizeIndex))
        return;
    if (!stage.keyPrizesChosen) {
        stage.keyPrizesChosen = true;
        stage.keyPrizeIds.clear();
        if (table.count() > 0)
            stage.keyPrizeIds.push_back(table.prizes.front().id);
    }
    const std::string& id = table.prizes[static_cast<std::size_t>(prizeIndex)].id;
    auto& ids = stage.keyPrizeIds;
    ids.erase(std::remove(ids.begin(), ids.end(), id), ids.end());
    if (key)
        ids.push_back(id);
}

void loadStageOptions(StageOptions& stage, core::CoreServices& services) {
    stage = StageOptions();
    stage.layout =
        services.settingNumber(core::Setting::Layout) == static_cast<int>(ScreenLayout::BigScreen)
            ? ScreenLayout::BigScreen
            : ScreenLayout::Classic;
    const int theme = services.settingNumber(core::Setting::Theme);
    stage.theme = theme >= 0 && theme <= static_cast<int>(StageTheme::MallPromo)
                      ? static_cast<StageTheme>(theme)
                      : StageTheme::RedGold;
    if (services.hasSetting(core::Setting::Volume))
        stage.volume = std::clamp(services.settingNumber(core::Setting::Volume), 0, 100);
    stage.keyPrizesChosen = services.hasSetting(core::Setting::KeyPrizes);
    // Ids are kept as UTF-8 in the settings, one a line: a prize's line holds no line break.
    for (const std::string& id : splitLines(services.settingText(core::Setting::KeyPrizes)))
        stage.keyPrizeIds.push_back(services.gbkFromUtf8(id));
}

void saveStageOptions(const StageOptions& stage, core::CoreServices& services) {
    services.setSetting(core::Setting::Layout, static_cast<int>(stage.layout));
    services.setSetting(core::Setting::Theme, static_cast<int>(stage.theme));
    services.setSetting(core::Setting::Volume, stage.volume);
    if (!stage.keyPrizesChosen)
        return;
    std::string ids;
    for (const std::string& id : stage.keyPrizeIds)
        ids += services.utf8FromGbk(id) + '\n';
    services.setSetting(core::Setting::KeyPrizes, ids);
}

} // namespace lottery
