#pragma once

#include "core/core_services.h"

#include <string>
#include <vector>

namespace lottery {

struct PrizeTable;

// How the audience screen shows the draw.
enum class ScreenLayout : int { Classic = 0, BigScreen = 1 };
// The 大屏 look's preset: 红金, 深色科技, 商场促销.
enum class StageTheme : int { RedGold = 0, DarkTech = 1, MallPromo = 2 };

// A folder without the setting is an event made before the 大屏 look: it keeps 经典.
// Events made by the program write this one.
constexpr ScreenLayout kNewEventLayout = ScreenLayout::BigScreen;
constexpr int kDefaultVolume = 80;

// The audience screen's options, kept in the event's settings beside the prize file (whose
// line format older builds read).
struct StageOptions {
    ScreenLayout layout = ScreenLayout::Classic;
    StageTheme theme = StageTheme::RedGold;
    int volume = kDefaultVolume; // 0 .. 100
    // Ids (GBK) of the prizes marked 重点. Until the operator first marks or unmarks one, the
    // first prize in draw order is.
    bool keyPrizesChosen = false;
    std::vector<std::string> keyPrizeIds;
};

bool isKeyPrize(const StageOptions& stage, const PrizeTable& table, int prizeIndex);
// Marks or unmarks the prize at prizeIndex; the others keep what they showed.
void setKeyPrize(StageOptions& stage, const PrizeTable& table, int prizeIndex, bool key);

void loadStageOptions(StageOptions& stage, core::CoreServices& services);
// The caller flushes the settings.
void saveStageOptions(const StageOptions& stage, core::CoreServices& services);

} // namespace lottery
